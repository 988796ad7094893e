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

/// The folder, base and extension of a wanted path, split at the last "."
/// of its last component.
struct NameParts {
    fs::path folder;
    std::string base;
    std::string extension;
};

NameParts split(const fs::path& wanted) {
    const std::string name = wanted.filename().string();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return {wanted.parent_path(), name, {}};
    return {wanted.parent_path(), name.substr(0, dot), name.substr(dot + 1)};
}

std::string withExtension(std::string stem, const std::string& extension) {
    if (!extension.empty())
        stem += "." + extension;
    return stem;
}

fs::path numberedName(const NameParts& parts, int number) {
    return parts.folder /
           withExtension(parts.base + " (" + std::to_string(number) + ")", parts.extension);
}

fs::path randomName(const NameParts& parts) {
    return parts.folder / withExtension(randomUuidText(), parts.extension);
}

/// True when `path` (inside `folder`, or itself for AT_FDCWD) resolves to
/// an existing item.
bool somethingExistsAt(int folder, const fs::path& path) {
    struct stat info;
    return ::fstatat(folder, path.c_str(), &info, 0) == 0;
}

}  // namespace

fs::path uniqueDestination(const fs::path& wanted) {
    if (!somethingExistsAt(AT_FDCWD, wanted))
        return wanted;
    const NameParts parts = split(wanted);
    for (int number = 1; number <= kLastNumber; ++number) {
        fs::path candidate = numberedName(parts, number);
        if (!somethingExistsAt(AT_FDCWD, candidate))
            return candidate;
    }
    return randomName(parts);
}

std::optional<fs::path> claimFreeName(const fs::path& wanted,
                                      const std::function<ClaimResult(const fs::path&)>& attempt) {
    return claimFreeName(AT_FDCWD, wanted, attempt);
}

std::optional<fs::path> claimFreeName(int folder, const fs::path& wanted,
                                      const std::function<ClaimResult(const fs::path&)>& attempt) {
    std::optional<fs::path> claimed;
    // True when the search ends at `candidate`: claimed, or failed for good.
    const auto endsAt = [&](const fs::path& candidate) {
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
        const fs::path candidate = numberedName(parts, number);
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
