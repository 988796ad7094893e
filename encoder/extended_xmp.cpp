// SPDX-License-Identifier: GPL-3.0-or-later
#include "extended_xmp.h"

#include <glib.h>

#include <cstdint>
#include <memory>

namespace velmora {

namespace {

using namespace std::string_view_literals;

constexpr auto kStandardHeader = "http://ns.adobe.com/xap/1.0/\0"sv;
constexpr auto kExtendedHeader = "http://ns.adobe.com/xmp/extension/\0"sv;
// A segment's length field counts itself; 65535 is the most it can say.
constexpr std::size_t kMostSegmentData = 65535 - 2;
// The header, the 32-digit GUID, the full length and the offset.
constexpr std::size_t kExtendedChunk = kMostSegmentData - kExtendedHeader.size() - 32 - 4 - 4;

void appendBigEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

std::string app1(std::string_view header, std::string_view data) {
    std::string segment = "\xFF\xE1";
    appendBigEndian(segment, static_cast<std::uint32_t>(2 + header.size() + data.size()), 2);
    segment += header;
    segment += data;
    return segment;
}

/// The packet without the xpacket processing instructions around it: the
/// form extended XMP is stored in.
std::string_view withoutWrapper(std::string_view xmp) {
    if (const std::size_t begin = xmp.find("<?xpacket begin"); begin != std::string_view::npos) {
        if (const std::size_t end = xmp.find("?>", begin); end != std::string_view::npos)
            xmp.remove_prefix(end + 2);
    }
    if (const std::size_t end = xmp.rfind("<?xpacket end"); end != std::string_view::npos)
        xmp = xmp.substr(0, end);
    const std::size_t first = xmp.find_first_not_of(" \t\r\n");
    const std::size_t last = xmp.find_last_not_of(" \t\r\n");
    return first == std::string_view::npos ? xmp.substr(0, 0) : xmp.substr(first, last - first + 1);
}

/// The MD5 digest of `data` in 32 upper-case hexadecimal digits.
std::string md5Guid(std::string_view data) {
    const std::unique_ptr<gchar, decltype(&g_free)> digest(
        g_compute_checksum_for_data(G_CHECKSUM_MD5, reinterpret_cast<const guchar*>(data.data()),
                                    data.size()),
        &g_free);
    std::string guid(digest.get());
    for (char& c : guid)
        c = g_ascii_toupper(c);
    return guid;
}

std::string xmpSegments(std::string_view xmp) {
    if (xmp.size() <= kStandardXmpLimit)
        return app1(kStandardHeader, xmp);
    const std::string_view extended = withoutWrapper(xmp);
    const std::string guid = md5Guid(extended);
    std::string segments =
        app1(kStandardHeader,
             "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>"
             "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">"
             "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
             "<rdf:Description rdf:about=\"\" xmlns:xmpNote=\"http://ns.adobe.com/xmp/note/\" "
             "xmpNote:HasExtendedXMP=\"" +
                 guid + "\"/></rdf:RDF></x:xmpmeta><?xpacket end=\"w\"?>");
    for (std::size_t offset = 0; offset < extended.size(); offset += kExtendedChunk) {
        std::string chunk = guid;
        appendBigEndian(chunk, static_cast<std::uint32_t>(extended.size()), 4);
        appendBigEndian(chunk, static_cast<std::uint32_t>(offset), 4);
        chunk += extended.substr(offset, kExtendedChunk);
        segments += app1(kExtendedHeader, chunk);
    }
    return segments;
}

/// Where the segments after SOI and the application segments begin.
std::size_t afterApplicationSegments(std::string_view jpeg) {
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF &&
           (static_cast<unsigned char>(jpeg[at + 1]) & 0xF0) == 0xE0) {
        at += 2 + (static_cast<unsigned char>(jpeg[at + 2]) << 8 |
                   static_cast<unsigned char>(jpeg[at + 3]));
    }
    return std::min(at, jpeg.size());
}

}  // namespace

std::string withXmp(std::string jpeg, std::string_view xmp) {
    if (xmp.empty() || jpeg.size() < 2)
        return jpeg;
    jpeg.insert(afterApplicationSegments(jpeg), xmpSegments(xmp));
    return jpeg;
}

}  // namespace velmora
