// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

#include <optional>

namespace velmora {

/// The stretches of one run during which its backend was stopped, on a clock
/// that starts when the run is launched. The backend's own clock goes on
/// while it is stopped, so its elapsed seconds count those stretches too. It
/// starts later, once the backend has set up its job, and status lines tell
/// how much later.
class PauseLog {
  public:
    /// The backend was stopped `seconds` after the launch.
    void paused(double seconds);
    /// The backend was continued `seconds` after the launch; nothing unless
    /// it was stopped.
    void resumed(double seconds);

    /// A status line read `readAt` seconds after the launch said that the
    /// backend's own clock stood at `seconds`: that clock started
    /// `readAt - seconds` after the launch at the latest. True when that
    /// moved the start known so far earlier.
    bool observe(double seconds, double readAt);

    /// The time the backend really worked up to `seconds` of its own clock:
    /// `seconds` less the part of every ended stop that lies before them on
    /// that clock; a stop before the clock started counts for nothing. A
    /// status line written before a stop is thereby left as it is (also when
    /// it is read during or after the stop), one written after a stop loses
    /// the whole stop. Never below 0.
    double activeSeconds(double seconds) const;

  private:
    struct Stop {
        double from;
        double to;
    };
    QList<Stop> stops_;
    std::optional<double> stoppedAt_;
    std::optional<double> backendClockStart_;  ///< on the launch's clock, once observed
};

}  // namespace velmora
