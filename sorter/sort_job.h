#pragma once

#include <string_view>
#include <vector>

namespace velmora {

/// How a sort run ends.
enum class SortExit {
    Finished = 0,            ///< every listed photo was attempted, however many failed
    WrongArgumentCount = 2,  ///< nothing was touched
    WorkListUnreadable = 3,  ///< "files.txt" missing, unreadable or not UTF-8; nothing touched
};

/// Runs a whole sort for the command line SOURCE TMP MODE WORKERS ODD EVEN:
/// reads the work list, creates the destination folders, transfers every
/// listed photo with at most WORKERS in flight, and keeps "status.txt" in
/// TMP up to date.
SortExit runSort(const std::vector<std::string_view>& args);

}  // namespace velmora
