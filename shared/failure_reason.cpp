// SPDX-License-Identifier: GPL-3.0-or-later
#include "failure_reason.h"

#include <cerrno>
#include <cstring>

namespace velmora {

namespace {

struct CodeEntry {
    std::string_view name;
    std::string_view words;
};

CodeEntry entryOf(FailureCode code) {
    switch (code) {
        case FailureCode::NoNumber:
            return {"no-number", "no number at the end of the name"};
        case FailureCode::NulInPath:
            return {"nul-in-path", "the path holds a NUL byte"};
        case FailureCode::NotRegularFile:
            return {"not-regular", "not a regular file"};
        case FailureCode::Missing:
            return {"missing", "the photo is no longer there"};
        case FailureCode::Changed:
            return {"changed", "the photo changed while it was copied"};
        case FailureCode::CopyMismatch:
            return {"copy-mismatch", "the copy does not match the photo"};
        case FailureCode::DiskFull:
            return {"disk-full", "disk full"};
        case FailureCode::IoError:
            return {"io-error", "input/output error: the medium may be failing"};
        case FailureCode::MediumGone:
            return {"medium-gone", "the card or drive is no longer there"};
        case FailureCode::ReadOnly:
            return {"read-only", "the file system is read-only"};
        case FailureCode::Permission:
            return {"permission", "permission denied"};
        case FailureCode::NameRefused:
            return {"name-refused", "the file system does not accept this name"};
        case FailureCode::NameTooLong:
            return {"name-too-long", "the name is too long for the file system"};
        case FailureCode::FolderIsLink:
            return {"folder-link", "destination folder is a link"};
        case FailureCode::FolderNotFolder:
            return {"folder-not-folder", "destination folder is not a folder"};
        case FailureCode::NoEncoder:
            return {"no-encoder", "no encoder on this machine"};
        case FailureCode::EncoderFailed:
            return {"encoder-failed", "the encoder failed"};
        case FailureCode::NotAnImage:
            return {"not-image", "not a readable image; copied unchanged"};
        case FailureCode::OutOfMemory:
            return {"out-of-memory", "out of memory"};
        case FailureCode::Other:
            break;
    }
    return {"other", "failed"};
}

}  // namespace

std::string_view failureCodeName(FailureCode code) {
    return entryOf(code).name;
}

Failure failureOf(FailureCode code) {
    return {code, std::string(entryOf(code).words)};
}

Failure sourceFailureFromErrno(int error) {
    return error == ENOENT ? failureOf(FailureCode::Missing) : failureFromErrno(error);
}

bool isDiskFullError(int error) {
    return error == ENOSPC || error == EDQUOT;
}

Failure failureFromErrno(int error) {
    if (isDiskFullError(error))
        return failureOf(FailureCode::DiskFull);
    switch (error) {
        case EIO:
            return failureOf(FailureCode::IoError);
        case ENODEV:
        case ENXIO:
        case ENOTCONN:  // a FUSE driver that has gone away
        case ESHUTDOWN:
            return failureOf(FailureCode::MediumGone);
        case EROFS:
            return failureOf(FailureCode::ReadOnly);
        case EACCES:
        case EPERM:
            return failureOf(FailureCode::Permission);
        case ENAMETOOLONG:
            return failureOf(FailureCode::NameTooLong);
        case ENOMEM:
            return failureOf(FailureCode::OutOfMemory);
        default:
            return {FailureCode::Other, std::strerror(error)};
    }
}

}  // namespace velmora
