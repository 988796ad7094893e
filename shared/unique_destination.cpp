#include "unique_destination.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <string>

#include "uuid.h"

namespace velmora {

namespace fs = std::filesystem;

namespace {

constexpr int kLastNumber = 999999;
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
    for (int number = 1; number <= kLastNumber; ++number) {
        std::string candidate = numberedName(parts, number);
        if (!somethingExistsAt(AT_FDCWD, candidate))
            return candidate;
    }
    return randomName(parts);
}

std::optional<std::string> claimFreeName(
    int folder, const std::string& wanted,
    const std::function<ClaimResult(const std::string&)>& attempt) {
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
    for (int number = 1; number <= kLastNumber; ++number) {
        const std::string candidate = numberedName(parts, number);
        if (!somethingExistsAt(folder, candidate) && endsAt(candidate))
            return claimed;
    }
    for (int tries = 0; tries < kRandomAttempts; ++tries) {
        if (endsAt(randomName(parts)))
            return claimed;
    }
    return std::nullopt;
}

}  // namespace velmora
