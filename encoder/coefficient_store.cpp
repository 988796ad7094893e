// SPDX-License-Identifier: GPL-3.0-or-later
#include "coefficient_store.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

#include <jerror.h>

namespace velmora {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t roundUp(std::size_t value, std::size_t step) {
    return (value + step - 1) / step * step;
}

}  // namespace

CoefficientStore::~CoefficientStore() {
    if (mapping_)
        ::munmap(mapping_, mappedBytes_);
}

void CoefficientStore::serveCodec(j_common_ptr codec) {
    codec->client_data = this;
    realizeOthers_ = codec->mem->realize_virt_arrays;
    codec->mem->request_virt_barray = request;
    codec->mem->realize_virt_arrays = realize;
    codec->mem->access_virt_barray = access;
}

void CoefficientStore::lendTo(jpeg_compress_struct& writer) {
    writer.mem->access_virt_barray = access;
}

CoefficientStore& CoefficientStore::of(j_common_ptr codec) {
    return *static_cast<CoefficientStore*>(codec->client_data);
}

// The callbacks below run inside libjpeg: they throw nothing and report
// failures through ERREXIT, after every C++ object of theirs is gone.
jvirt_barray_ptr CoefficientStore::request(j_common_ptr codec, int, boolean,
                                           JDIMENSION blocksPerRow, JDIMENSION rowCount,
                                           JDIMENSION maxAccess) {
    CoefficientStore& store = of(codec);
    Array* array = nullptr;
    if (!store.mapping_) {
        try {
            store.arrays_.push_back(std::make_unique<Array>());
            array = store.arrays_.back().get();
        } catch (const std::bad_alloc&) {
        }
    }
    if (!array)
        ERREXIT1(codec, JERR_OUT_OF_MEMORY, 0);
    array->blocksPerRow = blocksPerRow;
    array->rowCount = rowCount;
    array->maxAccess = maxAccess;
    return reinterpret_cast<jvirt_barray_ptr>(array);
}

void CoefficientStore::realize(j_common_ptr codec) {
    CoefficientStore& store = of(codec);
    store.realizeOthers_(codec);
    if (!store.mapping_ && !store.arrays_.empty() && !store.mapArrays())
        ERREXIT1(codec, JERR_OUT_OF_MEMORY, 0);
}

JBLOCKARRAY CoefficientStore::access(j_common_ptr codec, jvirt_barray_ptr handle,
                                     JDIMENSION startRow, JDIMENSION rowCount, boolean) {
    auto* array = reinterpret_cast<Array*>(handle);
    if (array->rows.empty() || rowCount > array->maxAccess ||
        std::uint64_t{startRow} + rowCount > array->rowCount)
        ERREXIT(codec, JERR_BAD_VIRTUAL_ACCESS);
    return array->rows.data() + startRow;
}

// Maps every array in one piece, starting on a huge-page boundary; fresh
// anonymous memory is zero, which covers arrays asked for pre-zeroed.
bool CoefficientStore::mapArrays() {
    std::size_t bytes = 0;
    for (const auto& array : arrays_)
        bytes += std::size_t{array->blocksPerRow} * array->rowCount * sizeof(JBLOCK);
    const std::size_t used = roundUp(bytes, kHugePage);
    mappedBytes_ = used + kHugePage;
    void* mapping =
        ::mmap(nullptr, mappedBytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
        return false;
    mapping_ = mapping;
    auto* start =
        reinterpret_cast<std::byte*>(roundUp(reinterpret_cast<std::uintptr_t>(mapping), kHugePage));
    ::madvise(start, used, MADV_HUGEPAGE);  // only a hint; 4 KiB pages work too

    try {
        auto* next = reinterpret_cast<JBLOCKROW>(start);
        for (const auto& array : arrays_) {
            array->rows.reserve(array->rowCount);
            for (JDIMENSION row = 0; row < array->rowCount; ++row) {
                array->rows.push_back(next);
                next += array->blocksPerRow;
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace velmora
