// SPDX-License-Identifier: GPL-3.0-or-later
#include "unique_destination.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "uuid.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

// After every numbered name, random names are tried; a clash of random
// UUIDs means something is deeply wrong, so give up after a few.
constexpr int kRandomAttempts = 16;

/// A wanted name split at the last "/" (the folder part keeps that "/")
/// and at the last "." after it.
struct NameParts {
    std::string folder;
    std::string base;
    std::string extension;
};

NameParts split(const std::string& wanted) {
    const std::size_t slash = wanted.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = wanted.rfind('.');
    if (dot == std::string::npos || dot < nameStart)
        return {wanted.substr(0, nameStart), wanted.substr(nameStart), {}};
    return {wanted.substr(0, nameStart), wanted.substr(nameStart, dot - nameStart),
            wanted.substr(dot + 1)};
}

std::string withExtension(std::string stem, const std::string& extension) {
    if (!extension.empty())
        stem += "." + extension;
    return stem;
}

std::string numberedName(const NameParts& parts, int number) {
    return parts.folder +
           withExtension(parts.base + " (" + std::to_string(number) + ")", parts.extension);
}

/// `text` cut to at most `length` bytes, never inside a UTF-8 character.
std::string_view cutAtCharacter(std::string_view text, std::size_t length) {
    if (text.size() <= length)
        return text;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return text.substr(0, length);
}

/// numberedName, with the base shortened so that the name takes at most
/// `nameMax` bytes; the number and the extension stay whole. Nothing when
/// even an empty base does not fit.
std::optional<std::string> numberedNameWithin(const NameParts& parts, int number,
                                              std::size_t nameMax) {
    const std::string suffix = withExtension(" (" + std::to_string(number) + ")", parts.extension);
    if (suffix.size() >= nameMax)
        return std::nullopt;
    const std::string_view base = cutAtCharacter(parts.base, nameMax - suffix.size());
    if (base.empty() && !parts.base.empty())
        return std::nullopt;
    return parts.folder + std::string(base) + suffix;
}

/// The longest name, in bytes, that the folder of `wanted` in `folder` takes.
std::size_t longestName(int folder, const NameParts& parts) {
    long longest = -1;
    if (parts.folder.empty()) {
        longest =
            folder == AT_FDCWD ? ::pathconf(".", _PC_NAME_MAX) : ::fpathconf(folder, _PC_NAME_MAX);
    } else if (folder == AT_FDCWD || parts.folder.front() == '/') {
        longest = ::pathconf(parts.folder.c_str(), _PC_NAME_MAX);
    }
    return longest > 0 ? std::size_t(longest) : std::size_t(255);
}

std::string randomName(const NameParts& parts) {
    return parts.folder + withExtension(randomUuidText(), parts.extension);
}

/// True when `path` (inside `folder`, or itself for AT_FDCWD) resolves to
/// an existing item.
bool somethingExistsAt(int folder, const std::string& path) {
    struct stat info;
    return ::fstatat(folder, path.c_str(), &info, 0) == 0;
}

}  // namespace

fs::path uniqueDestination(const fs::path& wanted) {
    if (!somethingExistsAt(AT_FDCWD, wanted))
        return wanted;
    const NameParts parts = split(wanted);
    for (int number = 1; number <= kLastFreeNumber; ++number) {
        std::string candidate = numberedName(parts, number);
        if (!somethingExistsAt(AT_FDCWD, candidate))
            return candidate;
    }
    return randomName(parts);
}

std::optional<std::string> claimFreeName(
    int folder, const std::string& wanted,
    const std::function<ClaimResult(const std::string&)>& attempt, int lastNumber) {
    std::optional<std::string> claimed;
    // True when the search ends at `candidate`: claimed, or failed for good.
    const auto endsAt = [&](const std::string& candidate) {
        const ClaimResult result = attempt(candidate);
        if (result == ClaimResult::Claimed)
            claimed = candidate;
        return result != ClaimResult::Taken;
    };
    // The wanted name is usually free, and an attempt never replaces
    // anything, so it is tried at once, without an existence test.
    if (endsAt(wanted))
        return claimed;
    const NameParts parts = split(wanted);
    std::size_t nameMax = longestName(folder, parts);
    for (int number = 1; number <= lastNumber; ++number) {
        const auto candidate = numberedNameWithin(parts, number, nameMax);
        if (!candidate) {
            errno = ENAMETOOLONG;
            return std::nullopt;
        }
        if (somethingExistsAt(folder, *candidate))
            continue;
        const ClaimResult result = attempt(*candidate);
        if (result == ClaimResult::Claimed)
            return *candidate;
        if (result == ClaimResult::Failed && errno == ENAMETOOLONG) {
            // The file system counts a name's length its own way (exFAT in
            // UTF-16 units): cut the base further and try this number again.
            nameMax = candidate->size() - parts.folder.size() - 1;
            --number;
            continue;
        }
        if (result == ClaimResult::Failed)
            return std::nullopt;
    }
    for (int tries = 0; tries < kRandomAttempts; ++tries) {
        if (endsAt(randomName(parts)))
            return claimed;
    }
    return std::nullopt;
}

std::optional<std::string> findTakenName(int folder, const std::string& wanted,
                                         const std::function<bool(const std::string&)>& visit) {
    if (!somethingExistsAt(folder, wanted))
        return std::nullopt;
    if (visit(wanted))
        return wanted;
    const NameParts parts = split(wanted);
    const std::size_t nameMax = longestName(folder, parts);
    for (int number = 1; number <= kLastFreeNumber; ++number) {
        const auto candidate = numberedNameWithin(parts, number, nameMax);
        if (!candidate || !somethingExistsAt(folder, *candidate))
            return std::nullopt;
        if (visit(*candidate))
            return candidate;
    }
    return std::nullopt;
}

}  // namespace velmora
