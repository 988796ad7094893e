#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace velmora {

/// The number at the end of a file's base name: the whole run of ASCII digits
/// that ends right before the last "." of `name`, provided at least one
/// character follows that dot. Leading zeros are allowed ("000.png" gives 0).
/// None when there is no such run or when its value does not fit a signed
/// 64-bit integer. Same result as the first match of the pattern
/// "([0-9]+)(?=\.[^.]+$)" on `name`.
std::optional<std::int64_t> numberFromFilename(std::string_view name);

/// True when the text after the last "." of `name`, in lower case, is one of
/// the photo extensions "jpg", "jpeg", "png", "heic", "tif", "tiff", "webp".
bool hasPhotoExtension(std::string_view name);

}  // namespace velmora
