// SPDX-License-Identifier: GPL-3.0-or-later
#include "output_folders.h"

#include "job_protocol.h"

#include <unicode/ucasemap.h>

#include <algorithm>
#include <memory>

namespace velmora {

namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return (unsigned char)c < 0x80; });
}

std::string asciiUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    }
    return upper;
}

/// True when `upper` is the sort worker's folder name `base`, alone or numbered.
bool isSortFolder(std::string_view upper, std::string_view base) {
    return upper.starts_with(base) &&
           (upper.size() == base.size() || upper[base.size()] == job::kFolderNumberSeparator);
}

std::string unicodeUpper(std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCaseMap, decltype(&ucasemap_close)> map(ucasemap_open("", 0, &status),
                                                                   &ucasemap_close);
    if (U_FAILURE(status))
        return asciiUpper(text);

    std::string upper(text.size() + 16, '\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        status = U_ZERO_ERROR;
        const int32_t length = ucasemap_utf8ToUpper(map.get(), upper.data(), int32_t(upper.size()),
                                                    text.data(), int32_t(text.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            upper.resize(std::size_t(length));
            continue;
        }
        if (U_FAILURE(status))
            break;
        upper.resize(std::size_t(length));
        return upper;
    }
    return asciiUpper(text);
}

}  // namespace

std::string upperCaseName(std::string_view name) {
    return isAscii(name) ? asciiUpper(name) : unicodeUpper(name);
}

bool isSortOrCompressOutput(std::string_view folderName) {
    const std::string upper = upperCaseName(folderName);
    return isSortFolder(upper, job::kOddFolder) || isSortFolder(upper, job::kEvenFolder) ||
           upper.starts_with(job::kCompressedPrefix);
}

bool isCompressOutput(std::string_view folderName) {
    return upperCaseName(folderName).starts_with(job::kCompressedPrefix);
}

}  // namespace velmora
