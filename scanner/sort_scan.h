// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "scan_output.h"
#include "tree_walk.h"

namespace velmora {

/// The sort scan's view of the walk: prunes the sort and compress output
/// folders and sorts every regular file into the lists of `output` as it is
/// met, rewriting the progress line after each 1000th file examined when that
/// file is a numbered photo.
class SortScan final : public WalkVisitor {
  public:
    explicit SortScan(ScanOutput& output) : output_(output) {}

    const ScanCounts& counts() const { return counts_; }

    bool enterFolder(const WalkEntry& folder) override;
    void visitFile(const WalkEntry& file) override;

  private:
    void ignore(std::string_view line);

    ScanOutput& output_;
    ScanCounts counts_;
};

}  // namespace velmora
