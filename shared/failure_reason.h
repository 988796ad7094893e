// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Why a worker could not handle a photo: a stable code, which the window
// turns into its own language, and a few English words for the command line
// and the failure list.

#include <string>
#include <string_view>

namespace velmora {

/// The reason codes of the failure list. Their texts (failureCodeName) are
/// part of the job folder's format: never rename one.
enum class FailureCode {
    NoNumber,         ///< "no-number": the name ends in no number
    NulInPath,        ///< "nul-in-path": the listed path holds a NUL byte
    NotRegularFile,   ///< "not-regular": a folder, link, FIFO or device
    Missing,          ///< "missing": the photo is no longer where it was listed
    Changed,          ///< "changed": the photo changed, or vanished, while it was copied
    CopyMismatch,     ///< "copy-mismatch": the copy read back differs from the photo
    DiskFull,         ///< "disk-full": no space left (or over quota) where it was written
    IoError,          ///< "io-error": the medium reported an input/output error
    MediumGone,       ///< "medium-gone": the card or drive went away (pulled out, driver gone)
    ReadOnly,         ///< "read-only": the file system takes no writes
    Permission,       ///< "permission": the system refused access
    NameRefused,      ///< "name-refused": the file system does not accept the name
    NameTooLong,      ///< "name-too-long": the name is longer than the file system allows
    FolderIsLink,     ///< "folder-link": the destination or output folder is a link
    FolderNotFolder,  ///< "folder-not-folder": the destination or output folder is a file
    NoEncoder,        ///< "no-encoder": no image tool on this machine
    EncoderFailed,    ///< "encoder-failed": the image tool failed, and so did the copy
    NotAnImage,       ///< "not-image": not a readable image; copied unchanged (kUncompressed)
    OutOfMemory,      ///< "out-of-memory"
    Other,            ///< "other": any other system error; the words say which
};

/// The code's text in the failure list: "disk-full", "io-error", …
std::string_view failureCodeName(FailureCode code);

/// A photo's failure: its code and the English words shown with it.
struct Failure {
    FailureCode code = FailureCode::Other;
    std::string text;
};

/// The failure with `code` and its usual English words ("disk full").
Failure failureOf(FailureCode code);

/// The failure a system error `error` (an errno value) stands for: disk
/// full, I/O error, read-only, permission and too-long names have codes of
/// their own; any other error is FailureCode::Other with the system's words.
Failure failureFromErrno(int error);

/// The failure of a system error `error` met while reaching a listed photo:
/// ENOENT is FailureCode::Missing, anything else as failureFromErrno.
Failure sourceFailureFromErrno(int error);

/// True for the errors of a file system that has no room left: ENOSPC and
/// EDQUOT.
bool isDiskFullError(int error);

}  // namespace velmora
