// SPDX-License-Identifier: GPL-3.0-or-later
#include "interrupt_watch.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace velmora::cli {

namespace {

/// The pipe from the signal handler to the event loop: a handler may only
/// do async-signal-safe work, and write() is.
int pipeEnds[2] = {-1, -1};

void onSignal(int signal) {
    const auto number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const auto written = write(pipeEnds[1], &number, 1);
}

void handle(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

}  // namespace

InterruptWatch::InterruptWatch() {
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;  // no pipe: the signals keep their default action
    }
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &InterruptWatch::collectPending);
    // A closed terminal sends SIGHUP: the job ends as on Ctrl-C.
    handle(SIGINT, onSignal);
    handle(SIGTERM, onSignal);
    handle(SIGHUP, onSignal);
}

InterruptWatch::~InterruptWatch() {
    if (!notifier_) {
        return;
    }
    handle(SIGINT, SIG_DFL);
    handle(SIGTERM, SIG_DFL);
    handle(SIGHUP, SIG_DFL);
    notifier_.reset();
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void InterruptWatch::collectPending() {
    if (!notifier_) {
        return;
    }
    unsigned char number = 0;
    while (read(pipeEnds[0], &number, 1) == 1) {
        const bool repeated = firstSignal_ != 0;
        if (!repeated) {
            firstSignal_ = number;
        }
        emit interrupted(number, repeated);
    }
}

}  // namespace velmora::cli
