// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The job folder as the tools and the window share it: the names of its
// files, the order of the fields in each one-line file, and the folders the
// workers make inside a photo folder. Every writer and every reader takes
// these from here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

namespace velmora::job {

// Files in the job folder.

/// The work list: one absolute photo path per line, written by a scan and
/// read by the worker that follows it.
inline constexpr std::string_view kWorkList = "files.txt";
/// The sort scan's odd-numbered photos, one path per line.
inline constexpr std::string_view kOddList = "odd.txt";
/// The sort scan's even-numbered photos, one path per line.
inline constexpr std::string_view kEvenList = "even.txt";
/// The sort scan's files that are not numbered photos, one path per line.
inline constexpr std::string_view kIgnoreList = "ignore.txt";
/// The sort scan's progress line (ScanProgressField), rewritten in place.
inline constexpr std::string_view kScanProgress = "scan_status.txt";
/// A scan's summary line (SortSummaryField or CompressSummaryField),
/// replaced whole once the scan is complete.
inline constexpr std::string_view kSummary = "summary.txt";
/// A worker's status line (SortStatusField or CompressStatusField),
/// replaced whole while it runs.
inline constexpr std::string_view kStatus = "status.txt";
/// One line per photo a worker failed on: the listed path, kReasonSeparator,
/// a reason code (failure_reason.h), kReasonSeparator and the reason in a few
/// English words. Neither the code nor the words hold kReasonSeparator; the
/// path may, so readers split from the end of the line.
inline constexpr std::string_view kFailures = "failures.txt";
/// One line per folder a scan could not read: the folder's path.
inline constexpr std::string_view kUnreadable = "unreadable.txt";
/// One line per photo a scan left out because its name is not valid UTF-8
/// (and so cannot stand in the work list): its path, escaped like the ignore
/// list. Their count is the scan summary's `unreadableNames` field.
inline constexpr std::string_view kUnreadableNames = "unreadable_names.txt";
/// One line per photo a worker finished: the listed path, kReasonSeparator,
/// an OutputResult code, kReasonSeparator and the absolute path of the file
/// it left (the sorted photo, or the compress output). Paths are escaped
/// like the ignore list when they cannot stand as one line.
inline constexpr std::string_view kOutputs = "outputs.txt";
/// One line per photo the compress worker copied unchanged because the
/// encoder could not read it as an image, in the form of kFailures. These
/// photos count as done (they are in the output folder), and apart in the
/// status line's `uncompressed` field.
inline constexpr std::string_view kUncompressed = "uncompressed.txt";

/// Separates the fields of a progress, summary or status line.
inline constexpr char kFieldSeparator = '|';
/// Separates the fields of a kFailures, kUncompressed or kOutputs line.
inline constexpr char kReasonSeparator = '\t';

// Field positions of the one-line files, 0-based; `count` is the number of
// fields a writer puts on the line.

/// kScanProgress: visited|total|odd|even|ignored.
struct ScanProgressField {
    enum : std::size_t { visited, total, odd, even, ignored, count };
};

/// kSummary of the sort scan: total|odd|even|ignored|unreadableNames. The
/// photos with unreadable names are among the ignored ones.
struct SortSummaryField {
    enum : std::size_t { total, odd, even, ignored, unreadableNames, count };
};

/// kSummary of the compress scan: photos|leftAside|bytes|unreadableNames.
/// The photos with unreadable names are among those left aside.
struct CompressSummaryField {
    enum : std::size_t { photos, leftAside, bytes, unreadableNames, count };
};

/// kStatus of the sort worker: done|failed|bytes|elapsed|total.
struct SortStatusField {
    enum : std::size_t { done, failed, bytes, elapsed, total, count };
};

/// kStatus of the compress worker:
/// done|failed|outputBytes|inputBytes|elapsed|total|kept|uncompressed.
/// `kept`: finished photos whose output holds the source's own bytes, since
/// no re-encoding came out smaller. `uncompressed`: photos copied unchanged
/// because the encoder could not read them (kUncompressed). Both are among
/// the done and not among the failed; readers of older lines, which end at
/// `total`, take both as 0.
struct CompressStatusField {
    enum : std::size_t {
        done,
        failed,
        outputBytes,
        inputBytes,
        elapsed,
        total,
        kept,
        uncompressed,
        count
    };
};

/// What a kOutputs line says was done with a photo.
namespace output_result {
inline constexpr std::string_view kMoved = "moved";
inline constexpr std::string_view kCopied = "copied";
/// Re-encoded at the run's quality.
inline constexpr std::string_view kCompressed = "compressed";
/// Rewritten without loss (the source was at or below the run's quality).
inline constexpr std::string_view kRewritten = "rewritten";
/// The source's own bytes: nothing came out smaller.
inline constexpr std::string_view kKept = "kept";
/// Copied unchanged: not a readable image.
inline constexpr std::string_view kUncompressed = "uncompressed";
}  // namespace output_result

/// One line of a one-line file, filled by field position: `Field` is one of
/// the position lists above, so the order of the fields is given there only.
template <typename Field>
class FieldLine {
  public:
    /// Puts `text` at `position`.
    FieldLine& set(std::size_t position, std::string text) {
        fields_[position] = std::move(text);
        return *this;
    }
    /// Puts the decimal form of `value` at `position`.
    FieldLine& set(std::size_t position, std::int64_t value) {
        return set(position, std::to_string(value));
    }
    /// The fields in their order, joined by kFieldSeparator, without a line feed.
    std::string text() const {
        std::string line = fields_[0];
        for (std::size_t i = 1; i < fields_.size(); ++i)
            line += kFieldSeparator + fields_[i];
        return line;
    }

  private:
    std::array<std::string, Field::count> fields_;
};

// Folders the workers make inside the photo folder.

/// Base name of the sort worker's folders for odd numbers.
inline constexpr std::string_view kOddFolder = "GANJIL";
/// Base name of the sort worker's folders for even numbers.
inline constexpr std::string_view kEvenFolder = "GENAP";
/// Joins kOddFolder or kEvenFolder to the number of one of several folders.
inline constexpr char kFolderNumberSeparator = '_';
/// What every compress output folder's name begins with.
inline constexpr std::string_view kCompressedPrefix = "COMPRESSED_";

/// The name of destination folder `index` (0-based) of a parity (0 even,
/// anything else odd) that has `count` folders: "GENAP" or "GANJIL" alone
/// when count is 1, else with kFolderNumberSeparator and index + 1 in at
/// least two digits ("GANJIL_01" to "GANJIL_08").
inline std::string folderName(int parity, std::int64_t index, std::int64_t count) {
    std::string name(parity == 0 ? kEvenFolder : kOddFolder);
    if (count == 1)
        return name;
    char number[24];
    std::snprintf(number, sizeof number, "%02lld", static_cast<long long>(index + 1));
    return name + kFolderNumberSeparator + number;
}

/// The compress worker's output folder for `quality`: "COMPRESSED_50".
inline std::string compressedFolderName(int quality) {
    return std::string(kCompressedPrefix) + std::to_string(quality);
}

}  // namespace velmora::job
