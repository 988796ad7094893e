// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace velmora {

/// A fresh random (version 4) UUID in canonical upper-case text form:
/// 32 hexadecimal digits in groups 8-4-4-4-12 joined by "-".
std::string randomUuidText();

}  // namespace velmora
