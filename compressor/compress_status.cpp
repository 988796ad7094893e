#include "compress_status.h"

#include <algorithm>

#include "decimal.h"

namespace velmora {

namespace {

constexpr std::int64_t kStatusEvery = 4;
constexpr double kMinimumElapsed = 0.001;

}  // namespace

std::string compressStatusLine(const CompressCounters& counters, double elapsedSeconds,
                               std::int64_t total) {
    return std::to_string(counters.done) + "|" + std::to_string(counters.failed) + "|" +
           std::to_string(counters.outputBytes) + "|" + std::to_string(counters.inputBytes) + "|" +
           formatSeconds(std::max(kMinimumElapsed, elapsedSeconds)) + "|" + std::to_string(total) +
           "\n";
}

bool statusDueAfter(std::int64_t done, std::int64_t total) {
    return done % kStatusEvery == 0 || done == total;
}

}  // namespace velmora
