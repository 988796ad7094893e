// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// `name` in upper case by the full Unicode mapping, so "ß" becomes "SS" and
/// the dotless "ı" becomes "I". Bytes that are not well-formed UTF-8 are kept.
std::string upperCaseName(std::string_view name);

/// True for a folder the sort or compress worker writes into a photo tree:
/// its upper-case name is "GANJIL" or "GENAP", or begins with "GANJIL_",
/// "GENAP_" or "COMPRESSED_".
bool isSortOrCompressOutput(std::string_view folderName);

/// True for a folder the compress worker writes into a photo tree: its
/// upper-case name begins with "COMPRESSED_".
bool isCompressOutput(std::string_view folderName);

}  // namespace velmora
