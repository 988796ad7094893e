// SPDX-License-Identifier: GPL-3.0-or-later
#include "compress_status.h"

#include <algorithm>

#include "decimal.h"
#include "job_protocol.h"

namespace velmora {

namespace {

constexpr std::int64_t kStatusEvery = 4;
constexpr double kMinimumElapsed = 0.001;

}  // namespace

std::string compressStatusLine(const CompressCounters& counters, double elapsedSeconds,
                               std::int64_t total) {
    using Field = job::CompressStatusField;
    return job::FieldLine<Field>()
               .set(Field::done, counters.done)
               .set(Field::failed, counters.failed)
               .set(Field::outputBytes, counters.outputBytes)
               .set(Field::inputBytes, counters.inputBytes)
               .set(Field::elapsed, formatSeconds(std::max(kMinimumElapsed, elapsedSeconds)))
               .set(Field::total, total)
               .set(Field::kept, counters.kept)
               .set(Field::uncompressed, counters.uncompressed)
               .text() +
           '\n';
}

bool statusDueAfter(std::int64_t done, std::int64_t total) {
    return done % kStatusEvery == 0 || done == total;
}

}  // namespace velmora
