// SPDX-License-Identifier: GPL-3.0-or-later
#include "output_name.h"

namespace velmora {

namespace {

bool isJpegExtension(std::string_view extension) {
    std::string lower(extension);
    for (char& c : lower)
        c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    return lower == "jpg" || lower == "jpeg";
}

}  // namespace

std::string encodedOutputName(std::string_view sourceName) {
    const std::size_t dot = sourceName.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return std::string(sourceName) + ".jpg";
    if (isJpegExtension(sourceName.substr(dot + 1)))
        return std::string(sourceName);
    return std::string(sourceName.substr(0, dot)) + ".jpg";
}

}  // namespace velmora
