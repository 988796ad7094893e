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

double PauseLog::activeSeconds(double seconds) const {
    double stopped = 0.0;
    for (const Stop& stop : stops_) {
        stopped += std::max(0.0, std::min(seconds, stop.to) - stop.from);
    }
    return std::max(0.0, seconds - stopped);
}

}  // namespace velmora
