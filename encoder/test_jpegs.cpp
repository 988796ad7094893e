// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_jpegs.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstdlib>

#include <jerror.h>
#include <jpeglib.h>

namespace velmora::testkit {

const QuantTable kAnnexKLuma = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99,
};

const QuantTable kAnnexKChroma = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
};

namespace {

struct Trap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    bool damaged = false;
};

[[noreturn]] void jumpOut(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Trap*>(info->err)->jump, 1);
}

void noteWarning(j_common_ptr info, int level) {
    if (level < 0)
        reinterpret_cast<Trap*>(info->err)->damaged = true;
}

void install(Trap& trap) {
    jpeg_std_error(&trap.manager);
    trap.manager.error_exit = jumpOut;
    trap.manager.emit_message = noteWarning;
}

// Colour ramps with grain from a fixed pseudo-random sequence.
std::string pictureRows(const JpegRecipe& recipe) {
    std::string rows(std::size_t(recipe.width) * recipe.height * recipe.components, '\0');
    std::uint32_t seed = 12345;
    std::size_t at = 0;
    for (int y = 0; y < recipe.height; ++y) {
        for (int x = 0; x < recipe.width; ++x) {
            const int ramps[4] = {40 + x * 150 / recipe.width, 30 + y * 180 / recipe.height,
                                  200 - (x + y) * 120 / (recipe.width + recipe.height),
                                  60 + (x * y) % 90};
            for (int c = 0; c < recipe.components; ++c) {
                seed = seed * 1664525u + 1013904223u;
                const int grain = int(seed >> 27) - 16;
                rows[at++] = char(std::clamp(ramps[c] + grain, 0, 255));
            }
        }
    }
    return rows;
}

bool compress(const JpegRecipe& recipe, const std::string& rows, jpeg_compress_struct& out,
              Trap& trap, unsigned char** buffer, unsigned long* size) {
    if (setjmp(trap.jump) != 0)
        return false;
    jpeg_create_compress(&out);
    jpeg_mem_dest(&out, buffer, size);
    out.image_width = JDIMENSION(recipe.width);
    out.image_height = JDIMENSION(recipe.height);
    out.input_components = recipe.components;
    out.in_color_space = recipe.components == 4   ? JCS_CMYK
                         : recipe.components == 3 ? JCS_RGB
                                                  : JCS_GRAYSCALE;
    jpeg_set_defaults(&out);
    if (recipe.storedRgb)
        jpeg_set_colorspace(&out, JCS_RGB);
    jpeg_set_quality(&out, recipe.quality, TRUE);
    if (recipe.lumaEntry >= 0)
        out.quant_tbl_ptrs[0]->quantval[recipe.lumaEntry] = UINT16(recipe.lumaEntryValue);
    out.comp_info[0].h_samp_factor = recipe.lumaH;
    out.comp_info[0].v_samp_factor = recipe.lumaV;
    out.optimize_coding = recipe.optimizeCoding ? TRUE : FALSE;
    out.restart_in_rows = recipe.restartRows;
    if (recipe.progressive)
        jpeg_simple_progression(&out);
    jpeg_start_compress(&out, TRUE);
    for (const auto& [code, bytes] : recipe.markers) {
        jpeg_write_marker(&out, code, reinterpret_cast<const JOCTET*>(bytes.data()),
                          unsigned(bytes.size()));
    }
    const std::size_t stride = std::size_t(recipe.width) * recipe.components;
    while (out.next_scanline < out.image_height) {
        auto* row =
            reinterpret_cast<JSAMPLE*>(const_cast<char*>(rows.data())) + out.next_scanline * stride;
        jpeg_write_scanlines(&out, &row, 1);
    }
    jpeg_finish_compress(&out);
    return true;
}

bool decompress(const std::string& jpeg, jpeg_decompress_struct& in, Trap& trap,
                DecodedJpeg& decoded) {
    if (setjmp(trap.jump) != 0)
        return false;
    jpeg_create_decompress(&in);
    jpeg_mem_src(&in, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
    jpeg_save_markers(&in, JPEG_COM, 0xFFFF);
    for (int n = 0; n < 16; ++n)
        jpeg_save_markers(&in, JPEG_APP0 + n, 0xFFFF);
    jpeg_read_header(&in, TRUE);
    jpeg_start_decompress(&in);
    decoded.width = int(in.output_width);
    decoded.height = int(in.output_height);
    decoded.components = in.output_components;
    decoded.progressive = in.progressive_mode;
    const std::size_t stride = std::size_t(in.output_width) * in.output_components;
    decoded.pixels.assign(stride * in.output_height, '\0');
    while (in.output_scanline < in.output_height) {
        auto* row = reinterpret_cast<JSAMPLE*>(decoded.pixels.data()) + in.output_scanline * stride;
        jpeg_read_scanlines(&in, &row, 1);
    }
    for (int c = 0; c < in.num_components; ++c) {
        const jpeg_component_info& component = in.comp_info[c];
        decoded.samplingH.push_back(component.h_samp_factor);
        decoded.samplingV.push_back(component.v_samp_factor);
        QuantTable table{};
        if (component.quant_table) {
            for (int k = 0; k < DCTSIZE2; ++k)
                table[std::size_t(k)] = component.quant_table->quantval[k];
        }
        decoded.tables.push_back(table);
    }
    for (jpeg_saved_marker_ptr marker = in.marker_list; marker; marker = marker->next) {
        decoded.markers.emplace_back(
            marker->marker,
            std::string(reinterpret_cast<const char*>(marker->data), marker->data_length));
    }
    jpeg_finish_decompress(&in);
    return true;
}

}  // namespace

std::string makeJpeg(const JpegRecipe& recipe) {
    const std::string rows = pictureRows(recipe);
    Trap trap;
    install(trap);
    jpeg_compress_struct out{};
    out.err = &trap.manager;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = compress(recipe, rows, out, trap, &buffer, &size);
    jpeg_destroy_compress(&out);
    std::string jpeg;
    if (ok && buffer)
        jpeg.assign(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return jpeg;
}

DecodedJpeg decodeJpeg(const std::string& jpeg) {
    DecodedJpeg decoded;
    Trap trap;
    install(trap);
    jpeg_decompress_struct in{};
    in.err = &trap.manager;
    const bool ok = decompress(jpeg, in, trap, decoded);
    jpeg_destroy_decompress(&in);
    decoded.ok = ok && !trap.damaged;
    return decoded;
}

}  // namespace velmora::testkit
