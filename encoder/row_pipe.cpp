// SPDX-License-Identifier: GPL-3.0-or-later
#include "row_pipe.h"

namespace velmora {

RowPipe::RowPipe(std::size_t rowBytes, std::size_t rowsPerStrip, std::size_t strips)
    : strips_(strips) {
    for (RowStrip& strip : strips_) {
        strip.pixels.resize(rowBytes * rowsPerStrip);
        for (std::size_t row = 0; row < rowsPerStrip; ++row) {
            strip.rows.push_back(strip.pixels.data() + row * rowBytes);
        }
        empty_.push_back(&strip);
    }
}

RowStrip* RowPipe::takeEmpty() {
    std::unique_lock guard(lock_);
    changed_.wait(guard, [this] { return stopped_ || !empty_.empty(); });
    if (stopped_)
        return nullptr;
    RowStrip* strip = empty_.front();
    empty_.pop_front();
    return strip;
}

void RowPipe::pass(RowStrip* strip) {
    {
        std::lock_guard guard(lock_);
        full_.push_back(strip);
    }
    changed_.notify_all();
}

void RowPipe::close(bool complete) {
    {
        std::lock_guard guard(lock_);
        closed_ = true;
        complete_ = complete;
    }
    changed_.notify_all();
}

RowStrip* RowPipe::takeFull() {
    std::unique_lock guard(lock_);
    changed_.wait(guard, [this] { return closed_ || !full_.empty(); });
    if (full_.empty())
        return nullptr;
    RowStrip* strip = full_.front();
    full_.pop_front();
    return strip;
}

void RowPipe::giveBack(RowStrip* strip) {
    {
        std::lock_guard guard(lock_);
        empty_.push_back(strip);
    }
    changed_.notify_all();
}

void RowPipe::stop() {
    {
        std::lock_guard guard(lock_);
        stopped_ = true;
    }
    changed_.notify_all();
}

bool RowPipe::complete() {
    std::lock_guard guard(lock_);
    return complete_;
}

}  // namespace velmora
