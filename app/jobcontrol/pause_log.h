#pragma once

#include <QList>

#include <optional>

namespace velmora {

/// The stretches of one run during which its backend was stopped, on a clock
/// that starts when the run is launched. The backend's own clock goes on
/// while it is stopped, so its elapsed seconds count those stretches too.
class PauseLog {
  public:
    /// The backend was stopped `seconds` after the launch.
    void paused(double seconds);
    /// The backend was continued `seconds` after the launch; nothing unless
    /// it was stopped.
    void resumed(double seconds);

    /// The time the backend really worked up to `seconds` of its own clock:
    /// `seconds` less the part of every ended stop that lies before them. A
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
};

}  // namespace velmora
