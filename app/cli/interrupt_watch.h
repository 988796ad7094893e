// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace velmora::cli {

/// Catches SIGINT, SIGTERM and SIGHUP while it exists and reports each on the main
/// thread's event loop, so that a subcommand can end its job in order
/// instead of dying at once. One may exist at a time; destroying it gives
/// both signals back their default action.
class InterruptWatch : public QObject {
    Q_OBJECT

  public:
    InterruptWatch();
    ~InterruptWatch() override;

    /// The first signal caught, 0 while none has come. Signals caught but
    /// not yet reported count only after collectPending().
    int firstSignal() const { return firstSignal_; }

    /// Reports at once the signals caught and not yet reported: a signal to
    /// the whole process group can end a backend, and the end can reach
    /// the event loop before the signal's own report does.
    void collectPending();

  signals:
    /// `signal` has come; `repeated` when one had come before.
    void interrupted(int signal, bool repeated);

  private:
    int firstSignal_ = 0;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace velmora::cli
