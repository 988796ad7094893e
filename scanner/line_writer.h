// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace velmora {

/// Appends "\n" to `text` and writes the line at the current position of the
/// open file `fd` with one write call, unbuffered, so other processes see it
/// as soon as this returns. A line lands whole or not at all: should a write
/// stop part-way (disk full), the file is cut back to where the line began.
/// Failures are not reported; the line is then lost.
void writeLine(int fd, std::string_view text);

}  // namespace velmora
