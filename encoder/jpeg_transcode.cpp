#include "jpeg_transcode.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstring>
#include <functional>
#include <thread>

#include <jerror.h>
#include <jpeglib.h>

#include "coefficient_store.h"
#include "encode_request.h"
#include "row_pipe.h"

namespace velmora {

namespace {

using namespace std::string_view_literals;

// libjpeg reports fatal errors through error_exit, which must not return.
// It jumps back to the latest setjmp on the trap of the failing codec; the
// frames it skips hold only plain C data.
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool damaged = false;

    jpeg_error_mgr* install();
};

[[noreturn]] void leaveOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

// Warnings that mean the decoded pixels are not the picture: such a stream is
// better kept unchanged by the caller than re-encoded with grey bands.
void noteWarning(j_common_ptr info, int level) {
    if (level >= 0)
        return;
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    switch (info->err->msg_code) {
        case JWRN_JPEG_EOF:
        case JWRN_HIT_MARKER:
        case JWRN_MUST_RESYNC:
        case JWRN_HUFF_BAD_CODE:
            trap->damaged = true;
            break;
        default:
            break;
    }
    ++info->err->num_warnings;
}

jpeg_error_mgr* ErrorTrap::install() {
    jpeg_std_error(&manager);
    manager.error_exit = leaveOnError;
    manager.emit_message = noteWarning;
    return &manager;
}

// Collects the compressed stream in a std::string owned by the caller.
struct StringDestination {
    jpeg_destination_mgr manager;
    std::string* target;
    JOCTET chunk[1 << 16];
};

void startChunk(j_compress_ptr info) {
    auto* dest = reinterpret_cast<StringDestination*>(info->dest);
    dest->manager.next_output_byte = dest->chunk;
    dest->manager.free_in_buffer = sizeof dest->chunk;
}

void appendChunk(j_compress_ptr info, std::size_t length) {
    auto* dest = reinterpret_cast<StringDestination*>(info->dest);
    try {
        dest->target->append(reinterpret_cast<const char*>(dest->chunk), length);
    } catch (...) {
        ERREXIT(info, JERR_OUT_OF_MEMORY);
    }
}

boolean flushFullChunk(j_compress_ptr info) {
    appendChunk(info, sizeof reinterpret_cast<StringDestination*>(info->dest)->chunk);
    startChunk(info);
    return TRUE;
}

void flushLastChunk(j_compress_ptr info) {
    auto* dest = reinterpret_cast<StringDestination*>(info->dest);
    appendChunk(info, sizeof dest->chunk - dest->manager.free_in_buffer);
}

bool startsWith(const jpeg_marker_struct& marker, std::string_view prefix) {
    return marker.data_length >= prefix.size() &&
           std::memcmp(marker.data, prefix.data(), prefix.size()) == 0;
}

// EXIF, XMP (standard and extended), ICC profile chunks and IPTC. Other
// application markers, such as multi-picture indexes that point at byte
// offsets of the old file, would be wrong in the new one.
bool isKeptMetadata(const jpeg_marker_struct& marker) {
    switch (marker.marker) {
        case JPEG_APP0 + 1:
            return startsWith(marker, "Exif\0\0"sv) ||
                   startsWith(marker, "http://ns.adobe.com/xap/1.0/\0"sv) ||
                   startsWith(marker, "http://ns.adobe.com/xmp/extension/\0"sv);
        case JPEG_APP0 + 2:
            return startsWith(marker, "ICC_PROFILE\0"sv);
        case JPEG_APP0 + 13:
            return startsWith(marker, "Photoshop 3.0\0"sv);
        default:
            return false;
    }
}

// The colour model rows travel in between the codecs. YCbCr travels as RGB,
// as libvips and jpegoptim decode it: libjpeg-turbo converts between the two
// with SIMD code but hands YCbCr through with a plain loop, and the clamping
// to RGB trims chroma that no display shows, which makes the output smaller.
J_COLOR_SPACE rowSpace(J_COLOR_SPACE stored) {
    switch (stored) {
        case JCS_YCbCr:
        case JCS_RGB:
            return JCS_RGB;
        case JCS_GRAYSCALE:
            return JCS_GRAYSCALE;
        default:
            return JCS_UNKNOWN;
    }
}

/// How setting the codecs up ended.
enum class Start { Ready, NeedsFullDecoder, TooLarge };

// Reads the header and starts both codecs, up to the first row. libjpeg
// errors jump back over this frame, which holds plain C data only.
Start startTranscode(jpeg_decompress_struct& in, jpeg_compress_struct& out, std::string_view source,
                     int quality) {
    jpeg_mem_src(&in, reinterpret_cast<const unsigned char*>(source.data()), source.size());
    jpeg_save_markers(&in, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&in, JPEG_APP0 + 2, 0xFFFF);
    jpeg_save_markers(&in, JPEG_APP0 + 13, 0xFFFF);
    jpeg_read_header(&in, TRUE);

    const J_COLOR_SPACE space = rowSpace(in.jpeg_color_space);
    if (space == JCS_UNKNOWN)
        return Start::NeedsFullDecoder;
    if (std::int64_t{in.image_width} * in.image_height > kMaxEncodePixels)
        return Start::TooLarge;
    in.out_color_space = space;
    jpeg_start_decompress(&in);

    out.image_width = in.output_width;
    out.image_height = in.output_height;
    out.input_components = in.output_components;
    out.in_color_space = space;
    jpeg_set_defaults(&out);
    jpeg_set_quality(&out, quality, TRUE);
    // Huffman tables made for this image: the same coefficients in fewer
    // bytes, at the price of a second pass over them in jpeg_finish_compress.
    out.optimize_coding = TRUE;
    if (quality >= 90 && out.num_components == 3) {
        out.comp_info[0].h_samp_factor = 1;
        out.comp_info[0].v_samp_factor = 1;
    }
    if (in.saw_JFIF_marker) {
        out.density_unit = in.density_unit;
        out.X_density = in.X_density;
        out.Y_density = in.Y_density;
    }
    jpeg_start_compress(&out, TRUE);
    for (jpeg_saved_marker_ptr marker = in.marker_list; marker; marker = marker->next) {
        if (isKeptMetadata(*marker)) {
            jpeg_write_marker(&out, marker->marker, marker->data, marker->data_length);
        }
    }
    return Start::Ready;
}

constexpr std::size_t kStripRows = 16;
constexpr std::size_t kStrips = 4;

// The decoding thread: reads every row of `in` into the pipe. libjpeg errors
// jump back here, over libjpeg's own frames only.
void decodeRows(jpeg_decompress_struct& in, ErrorTrap& trap, RowPipe& pipe) {
    if (setjmp(trap.jump) != 0) {
        pipe.close(false);
        return;
    }
    while (in.output_scanline < in.output_height) {
        RowStrip* strip = pipe.takeEmpty();
        if (!strip)
            return;  // the encoder gave up
        strip->filled = 0;
        while (strip->filled < kStripRows && in.output_scanline < in.output_height) {
            strip->filled += jpeg_read_scanlines(&in, strip->rows.data() + strip->filled,
                                                 kStripRows - strip->filled);
        }
        pipe.pass(strip);
    }
    jpeg_finish_decompress(&in);
    pipe.close(!trap.damaged);
}

// The encoding side, on the calling thread: writes every strip the pipe
// brings. libjpeg errors jump back here, over libjpeg's own frames only.
JpegTranscode encodeRows(jpeg_compress_struct& out, ErrorTrap& trap, RowPipe& pipe) {
    if (setjmp(trap.jump) != 0) {
        pipe.stop();
        return JpegTranscode::Failed;
    }
    while (RowStrip* strip = pipe.takeFull()) {
        jpeg_write_scanlines(&out, strip->rows.data(), static_cast<JDIMENSION>(strip->filled));
        pipe.giveBack(strip);
    }
    if (!pipe.complete())
        return JpegTranscode::Failed;
    jpeg_finish_compress(&out);
    return JpegTranscode::Encoded;
}

// Decodes on a second thread while this one encodes, as libvips does. Each
// codec reports to its own trap from here on.
JpegTranscode pipeRows(jpeg_decompress_struct& in, ErrorTrap& decodeTrap, jpeg_compress_struct& out,
                       ErrorTrap& encodeTrap) {
    in.err = decodeTrap.install();
    out.err = encodeTrap.install();
    try {
        RowPipe pipe(std::size_t{in.output_width} * in.output_components, kStripRows, kStrips);
        std::thread decoder(decodeRows, std::ref(in), std::ref(decodeTrap), std::ref(pipe));
        const JpegTranscode result = encodeRows(out, encodeTrap, pipe);
        decoder.join();
        return result;
    } catch (const std::exception&) {
        return JpegTranscode::Failed;  // no memory or no thread for the pipe
    }
}

// Both codecs of one transcoding and the traps they report to.
struct Codecs {
    ErrorTrap setupTrap;
    ErrorTrap decodeTrap;
    ErrorTrap encodeTrap;
    jpeg_decompress_struct in{};
    jpeg_compress_struct out{};
    StringDestination destination{};
};

// Creates both codecs, sets them up and runs them; the caller destroys them
// whatever happens. libjpeg errors while setting up jump back here, over
// libjpeg's own frames only.
JpegTranscode createAndRun(Codecs& codecs, CoefficientStore& coefficients, std::string_view source,
                           int quality) {
    if (setjmp(codecs.setupTrap.jump) != 0)
        return JpegTranscode::Failed;
    jpeg_create_decompress(&codecs.in);
    jpeg_create_compress(&codecs.out);
    coefficients.serve(codecs.out);
    codecs.out.dest = &codecs.destination.manager;
    switch (startTranscode(codecs.in, codecs.out, source, quality)) {
        case Start::Ready:
            if (codecs.setupTrap.damaged)
                return JpegTranscode::Failed;
            return pipeRows(codecs.in, codecs.decodeTrap, codecs.out, codecs.encodeTrap);
        case Start::NeedsFullDecoder:
            return JpegTranscode::NeedsFullDecoder;
        case Start::TooLarge:
            break;
    }
    return JpegTranscode::Failed;
}

}  // namespace

JpegTranscode transcodeJpeg(std::string_view source, int quality, std::string& jpeg) {
    jpeg.clear();
    jpeg.reserve(source.size());

    Codecs codecs;
    CoefficientStore coefficients;
    codecs.destination.target = &jpeg;
    codecs.destination.manager.init_destination = startChunk;
    codecs.destination.manager.empty_output_buffer = flushFullChunk;
    codecs.destination.manager.term_destination = flushLastChunk;
    codecs.in.err = codecs.setupTrap.install();
    codecs.out.err = codecs.in.err;

    const JpegTranscode result = createAndRun(codecs, coefficients, source, quality);
    jpeg_destroy_compress(&codecs.out);
    jpeg_destroy_decompress(&codecs.in);
    return result;
}

}  // namespace velmora
