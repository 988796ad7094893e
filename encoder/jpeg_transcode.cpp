// SPDX-License-Identifier: GPL-3.0-or-later
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
enum class Start { Ready, Rewrite, NeedsFullDecoder, TooLarge };

// The quantization table of each component of `in`, as given by `tableOf`,
// is at least as coarse, entry by entry, as the table `out` uses for that
// component's kind (luma or chroma) at the quality it is set to. Only YCbCr
// and grey streams are compared: the components of other colour models are
// not the ones the encoder quantizes.
template <typename TableOf>
bool atOrBelowTarget(const jpeg_decompress_struct& in, const jpeg_compress_struct& out,
                     TableOf tableOf) {
    const bool comparable = (in.jpeg_color_space == JCS_YCbCr && in.num_components == 3) ||
                            (in.jpeg_color_space == JCS_GRAYSCALE && in.num_components == 1);
    if (!comparable)
        return false;
    for (int c = 0; c < in.num_components; ++c) {
        const JQUANT_TBL* source = tableOf(in.comp_info[c]);
        const JQUANT_TBL* target = out.quant_tbl_ptrs[c == 0 ? 0 : 1];
        if (!source || !target)
            return false;
        for (int k = 0; k < DCTSIZE2; ++k) {
            if (source->quantval[k] < target->quantval[k])
                return false;
        }
    }
    return true;
}

// Reads the header of `source` into `in` and tells how to go on: a stream
// already at or below `quality` (when `mayRewrite`) is rewritten from its
// coefficients. `out` is left with the tables of `quality`, still to be set
// up. libjpeg errors jump back over this frame, which holds plain C data only.
Start readHeader(jpeg_decompress_struct& in, jpeg_compress_struct& out, std::string_view source,
                 int quality, bool mayRewrite) {
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
    // The tables the encoder would quantize with, made by libjpeg itself.
    out.in_color_space = space;
    jpeg_set_defaults(&out);
    jpeg_set_quality(&out, quality, TRUE);
    const auto headerTable = [&in](const jpeg_component_info& component) {
        return component.quant_tbl_no >= 0 && component.quant_tbl_no < NUM_QUANT_TBLS
                   ? in.quant_tbl_ptrs[component.quant_tbl_no]
                   : nullptr;
    };
    if (mayRewrite && atOrBelowTarget(in, out, headerTable))
        return Start::Rewrite;
    return Start::Ready;
}

void writeKeptMetadata(const jpeg_decompress_struct& in, jpeg_compress_struct& out) {
    for (jpeg_saved_marker_ptr marker = in.marker_list; marker; marker = marker->next) {
        if (isKeptMetadata(*marker)) {
            jpeg_write_marker(&out, marker->marker, marker->data, marker->data_length);
        }
    }
}

// Starts both codecs of a re-encoding, up to the first row. libjpeg errors
// jump back over this frame, which holds plain C data only.
void startCodecs(jpeg_decompress_struct& in, jpeg_compress_struct& out, int quality) {
    const J_COLOR_SPACE space = rowSpace(in.jpeg_color_space);
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
    writeKeptMetadata(in, out);
}

// Writes the coefficients of `in`, whose header is read, into `out` as they
// are, with Huffman tables made for them: the same pixels, no generation
// lost. The stream comes out sequential, without restart markers, with the
// metadata the re-encoding keeps. Fails on damaged image data, and when a
// component's table at its first scan is not the one its header promised
// at or below `out`'s quality. libjpeg errors jump back over this frame,
// which holds plain C data only.
JpegTranscode rewriteCoefficients(jpeg_decompress_struct& in, jpeg_compress_struct& out,
                                  const ErrorTrap& trap) {
    jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&in);
    const auto latchedTable = [](const jpeg_component_info& component) {
        return static_cast<const JQUANT_TBL*>(component.quant_table);
    };
    if (!coefficients || trap.damaged || !atOrBelowTarget(in, out, latchedTable))
        return JpegTranscode::Failed;
    jpeg_copy_critical_parameters(&in, &out);
    out.optimize_coding = TRUE;
    jpeg_write_coefficients(&out, coefficients);
    writeKeptMetadata(in, out);
    jpeg_finish_compress(&out);
    jpeg_finish_decompress(&in);
    return trap.damaged ? JpegTranscode::Failed : JpegTranscode::Rewritten;
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
    bool rewriting = false;  ///< the source's coefficients are being rewritten
};

// Creates both codecs, sets them up and runs them; the caller destroys them
// whatever happens. libjpeg errors while setting up or rewriting jump back
// here, over libjpeg's own frames only.
JpegTranscode createAndRun(Codecs& codecs, CoefficientStore& coefficients, std::string_view source,
                           int quality, bool mayRewrite) {
    if (setjmp(codecs.setupTrap.jump) != 0)
        return JpegTranscode::Failed;
    jpeg_create_decompress(&codecs.in);
    jpeg_create_compress(&codecs.out);
    codecs.out.dest = &codecs.destination.manager;
    switch (readHeader(codecs.in, codecs.out, source, quality, mayRewrite)) {
        case Start::Rewrite:
            // The coefficient arrays are the decoder's; the encoder reads them.
            codecs.rewriting = true;
            coefficients.serve(codecs.in);
            CoefficientStore::lendTo(codecs.out);
            return rewriteCoefficients(codecs.in, codecs.out, codecs.setupTrap);
        case Start::Ready:
            coefficients.serve(codecs.out);
            startCodecs(codecs.in, codecs.out, quality);
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

// One go at `source` with fresh codecs. Sets `rewrote` when it took the
// lossless rewrite.
JpegTranscode runOnce(std::string_view source, int quality, bool mayRewrite, std::string& jpeg,
                      bool& rewrote) {
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

    const JpegTranscode result = createAndRun(codecs, coefficients, source, quality, mayRewrite);
    jpeg_destroy_compress(&codecs.out);
    jpeg_destroy_decompress(&codecs.in);
    rewrote = codecs.rewriting;
    return result;
}

}  // namespace

JpegTranscode transcodeJpeg(std::string_view source, int quality, std::string& jpeg,
                            BelowTarget below) {
    bool rewrote = false;
    const JpegTranscode result =
        runOnce(source, quality, below == BelowTarget::Rewrite, jpeg, rewrote);
    if (result != JpegTranscode::Failed || !rewrote)
        return result;
    // The rewrite could not be made (damaged data, tables changed between
    // scans): what re-encoding makes of the stream, as for any other.
    return runOnce(source, quality, false, jpeg, rewrote);
}

}  // namespace velmora
