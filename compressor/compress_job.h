#pragma once

#include <optional>
#include <span>
#include <string>

#include "image_tool.h"

namespace velmora {

/// Exit statuses of Moskel.
enum class MoskelExit : int {
    Done = 0,                ///< every listed file was attempted
    Usage = 2,               ///< not exactly four arguments
    WorkListUnreadable = 3,  ///< TMP/files.txt missing or not UTF-8
};

/// Moskel's whole run for `args` = SOURCE TMP QUALITY WORKERS (without the
/// program name): reads TMP/files.txt, creates SOURCE/COMPRESSED_<quality>,
/// compresses every listed photo there with `tool` on up to WORKERS
/// threads, and keeps TMP/status.txt up to date. Without a tool every file
/// fails and nothing is written to the output folder.
MoskelExit runMoskel(std::span<const std::string> args, const std::optional<ImageTool>& tool);

}  // namespace velmora
