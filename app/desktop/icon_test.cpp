// SPDX-License-Identifier: GPL-3.0-or-later
// The application's two icons as the build tree installs them, drawn with
// the same SVG renderer as the 256 px icon (libvips, through librsvg):
//   - the full-colour icon, drawn on a 128 px canvas, keeps its drawn content
//     within the app icon grid: at least 8 px free on every side;
//   - the symbolic icon is a 16x16 drawing in one colour, #bebebe, which the
//     desktop recolours to its text colour.
// Both drawings are saved into the screenshot folder to be looked at.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <vips/vips8>

using vips::VImage;

namespace {

const std::filesystem::path iconDir = VELMORA_BUILT_ICON_DIR;
const std::filesystem::path screenshotDir = VELMORA_SCREENSHOT_DIR;
const std::string appId = VELMORA_APP_ID;

constexpr int gridSize = 128;
constexpr int gridMargin = 8;

std::filesystem::path appIcon() {
    return iconDir / "scalable/apps" / (appId + ".svg");
}
std::filesystem::path symbolicIcon() {
    return iconDir / "symbolic/apps" / (appId + "-symbolic.svg");
}

std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The SVG drawn at SCALE times its own size, as 8-bit RGBA.
VImage drawn(const std::filesystem::path& file, double scale) {
    VImage image = VImage::svgload(file.c_str(), VImage::option()->set("scale", scale));
    image = image.colourspace(VIPS_INTERPRETATION_sRGB).cast(VIPS_FORMAT_UCHAR);
    if (!image.has_alpha())
        image = image.bandjoin_const({255});
    return image;
}

void save(const VImage& image, const std::string& name) {
    std::filesystem::create_directories(screenshotDir);
    image.write_to_file((screenshotDir / name).c_str());
}

struct Box {
    int left = -1, top = -1, right = -1, bottom = -1;  // right and bottom exclusive
    bool empty() const { return left < 0; }
};

// The smallest box holding every pixel the drawing covers at all.
Box coveredBox(const VImage& rgba) {
    const VImage alpha = rgba[3];
    const int width = alpha.width();
    const int height = alpha.height();
    size_t size = 0;
    auto* pixels = static_cast<unsigned char*>(alpha.write_to_memory(&size));
    Box box;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (pixels[static_cast<size_t>(y) * width + x] != 0) {
                if (box.empty()) {
                    box = {x, y, x + 1, y + 1};
                } else {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x + 1);
                    box.bottom = std::max(box.bottom, y + 1);
                }
            }
    g_free(pixels);
    return box;
}

// Every colour the SVG text names for a fill, a stroke or a gradient stop,
// in attributes or in style properties; "none" left out.
std::set<std::string> namedColours(const std::string& svg) {
    static const std::regex colour(
        R"re((?:fill|stroke|stop-color|color)\s*[=:]\s*["']?\s*([#a-zA-Z0-9()., ]+?)\s*["';)\s/>])re");
    std::set<std::string> colours;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), colour);
         it != std::sregex_iterator(); ++it) {
        std::string value = (*it)[1];
        std::transform(value.begin(), value.end(), value.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        if (value != "none" && value.rfind("url(", 0) != 0)
            colours.insert(value);
    }
    return colours;
}

class Icons : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_EQ(VIPS_INIT("icon_test"), 0); }
};

TEST_F(Icons, AppIconIsAnSvgOnTheSquareIconGrid) {
    ASSERT_TRUE(std::filesystem::is_regular_file(appIcon())) << appIcon();
    const VImage own = drawn(appIcon(), 1.0);
    ASSERT_EQ(own.width(), own.height()) << "an app icon's canvas is square";
    const VImage grid = drawn(appIcon(), double(gridSize) / own.width());
    ASSERT_EQ(grid.width(), gridSize);
    ASSERT_EQ(grid.height(), gridSize);
    save(grid, "icon-app-128.png");
}

TEST_F(Icons, AppIconContentKeepsTheGridMargin) {
    const VImage own = drawn(appIcon(), 1.0);
    const VImage grid = drawn(appIcon(), double(gridSize) / own.width());
    const Box box = coveredBox(grid);
    ASSERT_FALSE(box.empty()) << "the icon draws nothing";
    EXPECT_GE(box.left, gridMargin) << "drawn from x=" << box.left;
    EXPECT_GE(box.top, gridMargin) << "drawn from y=" << box.top;
    EXPECT_LE(box.right, gridSize - gridMargin) << "drawn up to x=" << box.right;
    EXPECT_LE(box.bottom, gridSize - gridMargin) << "drawn up to y=" << box.bottom;
    // Not a speck in the middle either: the content fills most of the grid.
    EXPECT_GE(box.right - box.left, gridSize / 2);
    EXPECT_GE(box.bottom - box.top, gridSize / 2);
}

TEST_F(Icons, SymbolicIconIsSixteenPixelsSquare) {
    ASSERT_TRUE(std::filesystem::is_regular_file(symbolicIcon())) << symbolicIcon();
    const VImage own = drawn(symbolicIcon(), 1.0);
    EXPECT_EQ(own.width(), 16);
    EXPECT_EQ(own.height(), 16);
    save(own, "icon-symbolic-16.png");
    save(drawn(symbolicIcon(), 8.0), "icon-symbolic-128.png");
    const Box box = coveredBox(own);
    ASSERT_FALSE(box.empty()) << "the icon draws nothing";
}

TEST_F(Icons, SymbolicIconUsesOneColour) {
    const std::set<std::string> colours = namedColours(readText(symbolicIcon()));
    ASSERT_EQ(colours.size(), 1u) << "colours named: " << testing::PrintToString(colours);
    EXPECT_EQ(*colours.begin(), "#bebebe");
    EXPECT_EQ(readText(symbolicIcon()).find("Gradient"), std::string::npos);

    // Drawn large, every pixel it covers well is that grey; only the
    // anti-aliased edges, nearly transparent, may round a little off it.
    const VImage big = drawn(symbolicIcon(), 8.0);
    size_t size = 0;
    auto* pixels = static_cast<unsigned char*>(big.write_to_memory(&size));
    int covered = 0;
    int offColour = 0;
    for (size_t i = 0; i + 3 < size; i += 4) {
        if (pixels[i + 3] < 64)
            continue;
        ++covered;
        for (int band = 0; band < 3; ++band)
            if (std::abs(int(pixels[i + band]) - 0xbe) > 2) {
                ++offColour;
                break;
            }
    }
    g_free(pixels);
    EXPECT_GT(covered, 0);
    EXPECT_EQ(offColour, 0) << offColour << " of " << covered << " covered pixels not #bebebe";
}

}  // namespace
