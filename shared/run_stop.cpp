// SPDX-License-Identifier: GPL-3.0-or-later
#include "run_stop.h"

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace velmora {

namespace {

std::atomic<bool> stopped{false};
std::atomic<int> stoppingSignal{0};

constexpr int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

void onStopSignal(int signal) {
    int none = 0;
    stoppingSignal.compare_exchange_strong(none, signal);
    stopped.store(true);
}

}  // namespace

void watchStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : kStopSignals)
        ::sigaction(signal, &action, nullptr);
}

void endWithLauncher() {
    const char* launcher = std::getenv(kLauncherVariable);
    if (launcher == nullptr)
        return;
    const std::string pid = launcher;
    ::unsetenv(kLauncherVariable);
    // Set before the parent is looked at: a launcher that dies in between
    // is then still seen to be gone.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (std::to_string(::getppid()) != pid)
        ::raise(SIGTERM);
}

bool isStopSignal(int signal) {
    for (const int stop : kStopSignals) {
        if (signal == stop)
            return true;
    }
    return false;
}

const std::atomic<bool>& stopFlag() {
    return stopped;
}

void requestStop() {
    stopped.store(true);
}

int stopSignal() {
    return stoppingSignal.load();
}

void endByStopSignal() {
    const int signal = stoppingSignal.load();
    if (signal == 0)
        return;
    ::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);  // not reached: the signal ends the process
}

}  // namespace velmora
