// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdio>  // jpeglib.h needs FILE
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace velmora {

/// Holds the whole-image coefficient arrays of one libjpeg codec: an
/// encoder that makes its own Huffman tables fills them in its first pass
/// and reads them again in its second; a decoder reading a stream's
/// coefficients whole keeps them there for an encoder to write. They live in
/// one mapping meant for transparent huge pages, so that the kernel faults
/// in, zeroes and frees those tens of megabytes in 2 MiB pages rather than
/// thousands of 4 KiB ones: in a process that lives for one photo, the small
/// pages cost about a tenth of its processor time, and more than half of a
/// lossless rewrite's.
class CoefficientStore {
  public:
    CoefficientStore() = default;
    ~CoefficientStore();
    CoefficientStore(const CoefficientStore&) = delete;
    CoefficientStore& operator=(const CoefficientStore&) = delete;

    /// Has `codec` keep its whole-image coefficient arrays here; call after
    /// creating it and before starting it (jpeg_start_compress,
    /// jpeg_read_coefficients). Takes the codec's client_data. The store
    /// must outlive the codec's last pass and every reader of its arrays;
    /// it serves one image.
    void serve(jpeg_compress_struct& codec) { serveCodec(reinterpret_cast<j_common_ptr>(&codec)); }
    void serve(jpeg_decompress_struct& codec) {
        serveCodec(reinterpret_cast<j_common_ptr>(&codec));
    }

    /// Lets `writer`, an encoder writing a served decoder's coefficients
    /// (jpeg_write_coefficients), reach them: libjpeg reads those arrays
    /// through the encoder's own access method.
    static void lendTo(jpeg_compress_struct& writer);

  private:
    struct Array {
        JDIMENSION blocksPerRow = 0;
        JDIMENSION rowCount = 0;
        JDIMENSION maxAccess = 0;
        std::vector<JBLOCKROW> rows;  ///< start of each block row, once realized
    };

    void serveCodec(j_common_ptr codec);
    static CoefficientStore& of(j_common_ptr codec);
    static jvirt_barray_ptr request(j_common_ptr codec, int pool, boolean preZero,
                                    JDIMENSION blocksPerRow, JDIMENSION rowCount,
                                    JDIMENSION maxAccess);
    static void realize(j_common_ptr codec);
    static JBLOCKARRAY access(j_common_ptr codec, jvirt_barray_ptr handle, JDIMENSION startRow,
                              JDIMENSION rowCount, boolean writable);

    bool mapArrays();

    std::vector<std::unique_ptr<Array>> arrays_;
    void (*realizeOthers_)(j_common_ptr) = nullptr;
    void* mapping_ = nullptr;
    std::size_t mappedBytes_ = 0;
};

}  // namespace velmora
