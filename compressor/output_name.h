// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// The name the JPEG re-encoding of the photo named `sourceName` is given in
/// the output folder: the name itself for a JPEG source (".jpg" or ".jpeg" in
/// any letter case), else its stem with ".jpg" in place of its extension
/// ("foto-1.heic" gives "foto-1.jpg", "scan" gives "scan.jpg"), so that other
/// programs read the content by its name. A leading "." starts no extension.
std::string encodedOutputName(std::string_view sourceName);

}  // namespace velmora
