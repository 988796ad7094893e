// SPDX-License-Identifier: GPL-3.0-or-later
// The plain output folder names are checked on real trees by the Tallix and
// compress-scan tests; these are the case-mapping edges.
#include "output_folders.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(OutputFolders, MatchesTheFullUnicodeUpperCaseAndKeepsStrayBytes) {
    for (const char* name : {"Genap_03", "genap_", "compreſſed_1", "GANJIL_\xff"})
        EXPECT_TRUE(isSortOrCompressOutput(name)) << name;
    for (const char* name : {"GANJIL-1", "COMPRESSED", "xGENAP", "GANJİL", "genap\xff"})
        EXPECT_FALSE(isSortOrCompressOutput(name)) << name;
    EXPECT_TRUE(isCompressOutput("CompreßED_old"));
    EXPECT_FALSE(isCompressOutput("GANJIL"));
    EXPECT_FALSE(isCompressOutput("COMPRESSED"));
    EXPECT_EQ(upperCaseName("gan\xff"
                            "jil_é"),
              "GAN\xff"
              "JIL_É");
    EXPECT_EQ(upperCaseName("straße"), "STRASSE");
}

}  // namespace
}  // namespace velmora
