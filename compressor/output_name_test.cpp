// SPDX-License-Identifier: GPL-3.0-or-later
// Moskel's tests check the names on real outputs; these are the edges.
#include "output_name.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(EncodedOutputName, JpegKeepsItsNameEverythingElseBecomesJpg) {
    const std::pair<const char*, const char*> rows[] = {
        {"IMG_1.jpg", "IMG_1.jpg"},
        {"IMG_1.JPEG", "IMG_1.JPEG"},
        {"foto-1.heic", "foto-1.jpg"},
        {"scan.2.PNG", "scan.2.jpg"},
        {"a.tiff", "a.jpg"},
        {"b.webp", "b.jpg"},
        {"README", "README.jpg"},
        {".png", ".png.jpg"},
        {"photo.jpg.png", "photo.jpg.jpg"},
        {"x.Jpg", "x.Jpg"},
    };
    for (const auto& [source, output] : rows)
        EXPECT_EQ(encodedOutputName(source), output) << source;
}

}  // namespace
}  // namespace velmora
