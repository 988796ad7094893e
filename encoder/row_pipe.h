// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

namespace velmora {

/// A strip of image rows on its way from one thread to another.
struct RowStrip {
    std::vector<unsigned char> pixels;
    std::vector<unsigned char*> rows;  ///< start of each row in `pixels`
    std::size_t filled = 0;            ///< rows holding data
};

/// Hands strips of rows from a producing thread to a consuming one through
/// a fixed set of buffers, so that decoding and encoding overlap.
class RowPipe {
  public:
    RowPipe(std::size_t rowBytes, std::size_t rowsPerStrip, std::size_t strips);
    RowPipe(const RowPipe&) = delete;
    RowPipe& operator=(const RowPipe&) = delete;

    /// Producer: an empty strip to fill; waits for one. Nothing once the
    /// consumer has stopped.
    RowStrip* takeEmpty();
    /// Producer: hands a filled strip on.
    void pass(RowStrip* strip);
    /// Producer: no more strips will come; `complete` tells whether every
    /// row was produced.
    void close(bool complete);

    /// Consumer: the next filled strip, in order; waits for one. Nothing
    /// once the producer has closed and every strip was taken.
    RowStrip* takeFull();
    /// Consumer: returns a strip whose rows were used.
    void giveBack(RowStrip* strip);
    /// Consumer: gives up; the producer's next takeEmpty gives nothing.
    void stop();
    /// Consumer, after takeFull gave nothing: whether every row came.
    bool complete();

  private:
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<RowStrip> strips_;
    std::deque<RowStrip*> empty_;
    std::deque<RowStrip*> full_;
    bool closed_ = false;
    bool complete_ = false;
    bool stopped_ = false;
};

}  // namespace velmora
