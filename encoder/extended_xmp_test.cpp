// SPDX-License-Identifier: GPL-3.0-or-later
// Large XMP packets survive the re-encoding as extended XMP.
#include "extended_xmp.h"

#include <glib.h>

#include <gtest/gtest.h>

#include <vips/vips8>

#include "test_images.h"
#include "test_support.h"

namespace velmora::testkit {
namespace {

namespace fs = std::filesystem;
using namespace std::string_view_literals;

constexpr auto kStandard = "http://ns.adobe.com/xap/1.0/\0"sv;
constexpr auto kExtended = "http://ns.adobe.com/xmp/extension/\0"sv;

/// The XMP a reader finds in `jpeg`: the standard packet, and the extended
/// one put together from its chunks at their offsets.
struct FoundXmp {
    std::string standard;
    std::string guid;
    std::string extended;
    int chunks = 0;
};

FoundXmp xmpIn(std::string_view jpeg) {
    FoundXmp found;
    for (std::size_t at = 2;
         at + 4 <= jpeg.size() && jpeg[at] == '\xFF' && jpeg[at + 1] != '\xDA';) {
        const std::size_t length =
            std::size_t((unsigned char)jpeg[at + 2]) << 8 | (unsigned char)jpeg[at + 3];
        const std::string_view data = jpeg.substr(at + 4, length - 2);
        if (jpeg[at + 1] == '\xE1' && data.starts_with(kStandard)) {
            found.standard = data.substr(kStandard.size());
        } else if (jpeg[at + 1] == '\xE1' && data.starts_with(kExtended)) {
            const std::string_view chunk = data.substr(kExtended.size());
            const auto word = [&](std::size_t i) {
                std::uint32_t value = 0;
                for (std::size_t k = 0; k < 4; ++k)
                    value = value << 8 | (unsigned char)chunk[32 + i + k];
                return value;
            };
            found.guid = chunk.substr(0, 32);
            found.extended.resize(word(0));
            const std::string_view part = chunk.substr(40);
            found.extended.replace(word(4), part.size(), part);
            ++found.chunks;
        }
        at += 2 + length;
    }
    return found;
}

std::string md5(std::string_view data) {
    gchar* digest = g_compute_checksum_for_data(
        G_CHECKSUM_MD5, reinterpret_cast<const guchar*>(data.data()), data.size());
    gchar* upper = g_ascii_strup(digest, -1);
    std::string text = upper;
    g_free(upper);
    g_free(digest);
    return text;
}

/// An XMP packet of about `size` bytes, in its xpacket wrapper.
std::string xmpPacket(std::size_t size) {
    std::string body =
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
        "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description rdf:about=\"\" "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:description>";
    for (std::size_t k = 0; body.size() < size; ++k)
        body += "word" + std::to_string(k) + ' ';
    body += "</dc:description></rdf:Description></rdf:RDF></x:xmpmeta>";
    return "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n" + body +
           "\n<?xpacket end=\"w\"?>";
}

TEST(ExtendedXmp, SmallPacketsStayStandardLargeOnesGoWholeIntoExtendedXmp) {
    startVips();
    TempDir dir;
    const std::string packet = xmpPacket(200 * 1024);
    vips::VImage image =
        vips::VImage::black(48, 32, vips::VImage::option()->set("bands", 3)).copy();
    image.set(VIPS_META_XMP_NAME, nullptr, const_cast<char*>(packet.data()), packet.size());
    image.pngsave((dir / "tagged.png").c_str());
    ASSERT_EQ(
        run(ENCODER_PATH, {"-s", "format", "jpeg", "-s", "formatOptions", "80",
                           (dir / "tagged.png").string(), "--out", (dir / "tagged.jpg").string()})
            .exitCode,
        0);
    const std::string output = readFile(dir / "tagged.jpg");
    const FoundXmp found = xmpIn(output);
    EXPECT_EQ(found.chunks, 4);
    EXPECT_EQ(found.guid, md5(found.extended));
    EXPECT_NE(found.standard.find("xmpNote:HasExtendedXMP=\"" + found.guid + "\""),
              std::string::npos);
    const std::size_t start = packet.find("<x:xmpmeta");
    EXPECT_EQ(found.extended, packet.substr(start, packet.rfind("</x:xmpmeta>") + 12 - start));
    // Still one readable JPEG of the same picture.
    EXPECT_EQ(vips::VImage::new_from_buffer(output.data(), output.size(), "").width(), 48);

    const std::string jpeg = jpegBytes(32, 32);
    const std::string small = xmpPacket(1000);
    const FoundXmp kept = xmpIn(withXmp(jpeg, small));
    EXPECT_EQ(kept.standard, small);
    EXPECT_EQ(kept.chunks, 0);
    EXPECT_EQ(withXmp(jpeg, ""), jpeg);
}

}  // namespace
}  // namespace velmora::testkit
