// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace velmora {

/// Why a photo failed, in the window's language: the text for the reason
/// `code` of the failure list ("disk-full"), or the list's own English
/// `words` for a code the window does not know, for "other" (whose words
/// name the system's error) and for a line without a code.
QString failureReasonText(const QString& code, const QString& words);

}  // namespace velmora
