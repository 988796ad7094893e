#include "output_folders.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(OutputFolders, SortScanPrunesByTheUpperCaseName) {
    for (const char* name :
         {"GANJIL", "ganjil", "Genap", "GANJIL_01", "Genap_03", "genap_", "compressed_2024",
          "COMPRESSED_80", "ganjıl", "compreßed_x", "compreſſed_1", "GANJIL_\xff"}) {
        EXPECT_TRUE(isSortOrCompressOutput(name)) << name;
    }
    for (const char* name : {"GANJIL 2", "GENAPX", "MyCOMPRESSED_", "GANJIL-1", "COMPRESSED",
                             "xGENAP", "GANJİL", "genap\xff"}) {
        EXPECT_FALSE(isSortOrCompressOutput(name)) << name;
    }
}

TEST(OutputFolders, CompressScanPrunesOnlyCompressOutputs) {
    EXPECT_TRUE(isCompressOutput("compressed_80"));
    EXPECT_TRUE(isCompressOutput("CompreßED_old"));
    EXPECT_FALSE(isCompressOutput("GANJIL"));
    EXPECT_FALSE(isCompressOutput("GENAP_01"));
    EXPECT_FALSE(isCompressOutput("COMPRESSED"));
}

TEST(OutputFolders, UpperCaseKeepsBytesThatAreNotUtf8) {
    EXPECT_EQ(upperCaseName("gan\xff"
                            "jil_é"),
              "GAN\xff"
              "JIL_É");
    EXPECT_EQ(upperCaseName("straße"), "STRASSE");
}

}  // namespace
}  // namespace velmora
