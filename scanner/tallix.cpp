// SPDX-License-Identifier: GPL-3.0-or-later
#include "tallix.h"

#include "scan_job.h"
#include "scan_output.h"
#include "sort_scan.h"

namespace velmora {

namespace {

class TallixJob final : public ScanJob {
  public:
    bool open(const std::string& tmp) override { return output_.open(tmp); }
    WalkVisitor& visitor() override { return scan_; }
    std::string finish() override {
        output_.writeProgress(scan_.counts());
        return summaryLine(scan_.counts());
    }
    void close() override { output_.close(); }

  private:
    ScanOutput output_;
    SortScan scan_{output_};
};

}  // namespace

ToolExit runTallix(ToolArguments args) {
    TallixJob job;
    return runScan("Tallix", args, job);
}

}  // namespace velmora
