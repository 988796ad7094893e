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
    const auto pathsFor = [&](std::int64_t number, const std::vector<std::size_t>& positions) {
        Names paths;
        for (const std::size_t k : positions)
            paths.push_back(folders.folderFor(number, k).path);
        return paths;
    };
    EXPECT_EQ(pathsFor(7, {0, 2, 4, 6, 7}), (Names{"/p/GANJIL_01", "/p/GANJIL_03", "/p/GANJIL_02",
                                                   "/p/GANJIL_01", "/p/GANJIL_02"}));
    EXPECT_EQ(pathsFor(0, {0, 3}), (Names{"/p/GENAP_01", "/p/GENAP_02"}));
}

}  // namespace
}  // namespace velmora
