// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "encode_request.h"

namespace velmora {

/// Name of the libvips encoder program, which lives beside the fast one.
inline constexpr const char* kVipsEncoderName = "velmora-encode-vips";

/// Carries out `request` without libvips when the source is a JPEG stream in
/// YCbCr, grey or RGB: re-encodes it with libjpeg, or rewrites its
/// coefficients when it is already at or below the quality (transcodeJpeg),
/// and places the result at the output path in one rename. Any other source
/// is handed over to the libvips encoder beside this program by replacing
/// this process with it, passing `argv` unchanged; that only returns when the
/// hand-over fails. A source that is not a regular file fails. Nothing is
/// left at the output path unless the result is Encoded.
EncodeExit encodeOrHandOver(const EncodeRequest& request, char* const argv[]);

/// Places the finished `jpeg` at `output` in one rename, replacing what is
/// there. Gives Failed, with nothing left behind, when that cannot be done.
EncodeExit publishJpeg(const std::filesystem::path& output, std::string_view jpeg);

}  // namespace velmora
