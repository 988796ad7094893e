// SPDX-License-Identifier: GPL-3.0-or-later
#include "pause_log.h"

#include <algorithm>

namespace velmora {

void PauseLog::paused(double seconds) {
    if (!stoppedAt_) {
        stoppedAt_ = seconds;
    }
}

void PauseLog::resumed(double seconds) {
    if (stoppedAt_) {
        stops_.append({*stoppedAt_, std::max(*stoppedAt_, seconds)});
        stoppedAt_.reset();
    }
}

bool PauseLog::observe(double seconds, double readAt) {
    const double start = std::max(0.0, readAt - seconds);
    if (backendClockStart_ && *backendClockStart_ <= start) {
        return false;
    }
    backendClockStart_ = start;
    return true;
}

double PauseLog::activeSeconds(double seconds) const {
    const double shift = backendClockStart_.value_or(0.0);
    double stopped = 0.0;
    for (const Stop& stop : stops_) {
        const double from = std::max(0.0, stop.from - shift);
        const double to = std::max(0.0, stop.to - shift);
        stopped += std::max(0.0, std::min(seconds, to) - from);
    }
    return std::max(0.0, seconds - stopped);
}

}  // namespace velmora
