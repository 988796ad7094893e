// SPDX-License-Identifier: GPL-3.0-or-later
// brevin_test names and creates the folders, with missing parents, on real trees.
#include "destination_folder.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using Names = std::vector<std::string>;

TEST(DestinationFolder, ChoosesByPositionInTheWholeList) {
    SortSettings settings;
    settings.source = "/p";
    settings.oddFolderCount = 3;
    settings.evenFolderCount = 2;
    const DestinationFolders folders(settings);
    const auto namesFor = [&](std::int64_t number, const std::vector<std::size_t>& positions) {
        Names names;
        for (const std::size_t k : positions)
            names.push_back(folders.folderFor(number, k).name);
        return names;
    };
    EXPECT_EQ(namesFor(7, {0, 2, 4, 6, 7}),
              (Names{"GANJIL_01", "GANJIL_03", "GANJIL_02", "GANJIL_01", "GANJIL_02"}));
    EXPECT_EQ(namesFor(0, {0, 3}), (Names{"GENAP_01", "GENAP_02"}));
}

}  // namespace
}  // namespace velmora
