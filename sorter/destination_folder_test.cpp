#include "destination_folder.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace velmora {
namespace {

using Names = std::vector<std::string>;

TEST(DestinationFolder, NamesFoldersByParityAndCount) {
    EXPECT_EQ(folderName(1, 0, 1), "GANJIL");
    EXPECT_EQ(folderName(0, 0, 1), "GENAP");
    EXPECT_EQ(folderName(1, 0, 3), "GANJIL_01");
    EXPECT_EQ(folderName(0, 7, 8), "GENAP_08");
    EXPECT_EQ(folderName(5, 1, 2), "GANJIL_02");
}

TEST(DestinationFolder, ChoosesByPositionInTheWholeList) {
    SortSettings settings;
    settings.source = "/p";
    settings.oddFolderCount = 3;
    settings.evenFolderCount = 2;
    Names odd;
    for (std::size_t k : {0, 2, 4, 6, 7})
        odd.push_back(DestinationFolders(settings).folderFor(7, k).path);
    EXPECT_EQ(odd, (Names{"/p/GANJIL_01", "/p/GANJIL_03", "/p/GANJIL_02", "/p/GANJIL_01",
                          "/p/GANJIL_02"}));
    EXPECT_EQ(DestinationFolders(settings).folderFor(0, 0).path, "/p/GENAP_01");
    EXPECT_EQ(DestinationFolders(settings).folderFor(0, 3).path, "/p/GENAP_02");

    settings.oddFolderCount = 2;
    Names five;
    for (std::size_t k = 0; k < 5; ++k)
        five.push_back(DestinationFolders(settings).folderFor(1, k).path);
    EXPECT_EQ(five, (Names{"/p/GANJIL_01", "/p/GANJIL_02", "/p/GANJIL_01", "/p/GANJIL_02",
                           "/p/GANJIL_01"}));
}

TEST(DestinationFolder, CreatesEveryFolderWithParents) {
    testing::TempDir dir;
    SortSettings settings;
    settings.source = dir / "new" / "photos";
    settings.oddFolderCount = 1;
    settings.evenFolderCount = 3;
    DestinationFolders(settings).create();
    DestinationFolders(settings).create();  // existing folders are fine
    EXPECT_EQ(testing::listTree(settings.source),
              (Names{"GANJIL/", "GENAP_01/", "GENAP_02/", "GENAP_03/"}));
}

}  // namespace
}  // namespace velmora
