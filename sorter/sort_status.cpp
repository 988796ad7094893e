// SPDX-License-Identifier: GPL-3.0-or-later
#include "sort_status.h"

#include <algorithm>
#include <memory>

#include "decimal.h"
#include "job_protocol.h"
#include "status_file.h"

namespace velmora {

std::string sortStatusLine(std::int64_t done, std::int64_t failed, std::int64_t bytes,
                           double elapsedSeconds, std::int64_t total) {
    using Field = job::SortStatusField;
    return job::FieldLine<Field>()
               .set(Field::done, done)
               .set(Field::failed, failed)
               .set(Field::bytes, bytes)
               .set(Field::elapsed, formatSeconds(elapsedSeconds))
               .set(Field::total, total)
               .text() +
           '\n';
}

SortStatus::SortStatus(const std::filesystem::path& statusFile, std::int64_t total,
                       SpaceReserve* reserve)
    : SortStatus([file = std::make_shared<StatusFile>(statusFile, reserve)](
                     std::string_view line) { return file->write(line); },
                 total) {}

SortStatus::SortStatus(Publish publish, std::int64_t total)
    : publish(std::move(publish)), total(total), start(std::chrono::steady_clock::now()) {}

void SortStatus::begin() {
    start = std::chrono::steady_clock::now();
    writeStatus();
}

void SortStatus::recordOutcome(bool succeeded, std::int64_t size) {
    std::lock_guard guard(lock);
    ++done;
    if (succeeded) {
        bytes += size;
    } else {
        ++failed;
    }
    if (done % statusEvery == 0 || done == total)
        writeStatus();
}

bool SortStatus::finish() {
    std::lock_guard guard(lock);
    return writeStatus();
}

bool SortStatus::writeStatus() {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return publish(sortStatusLine(done, failed, bytes, std::max(0.001, elapsed.count()), total));
}

}  // namespace velmora
