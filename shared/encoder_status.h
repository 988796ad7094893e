// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The exit statuses of Velmora's own encoders (velmora-encode and
// velmora-encode-vips), which tell the compress worker why a run failed. The
// image tool's contract needs only 0 for a written JPEG and anything else for
// a failure; these further statuses let the worker keep a photo's original
// only when the encoder could not read the image, and count a failed write as
// a failure of that photo.

namespace velmora::encoder_status {

/// The complete JPEG is at the output path.
inline constexpr int kWritten = 0;
/// The source is not an image the encoder can read (not an image at all,
/// cut short, an unknown format, over the size limit): nothing was written.
inline constexpr int kUnreadableImage = 1;
/// The command line is wrong.
inline constexpr int kUsage = 2;
/// The output could not be written: no space left on its file system (or
/// over quota). Nothing was left at the output path.
inline constexpr int kDiskFull = 3;
/// The output could not be written: an input/output error, or another write
/// error. Nothing was left at the output path.
inline constexpr int kWriteError = 4;

}  // namespace velmora::encoder_status
