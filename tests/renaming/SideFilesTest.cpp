// The side files of a row are found by name beside its file, each belongs to
// one row only, and they take the row's new name.
#include "renaming/SideFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/TempTree.h"

namespace folivar {
namespace {

using testing::ElementsAre;

class Sides : public testing::Test {
protected:
    void row(const std::string& relative) {
        const std::string full = tree.file(relative, "row");
        const auto slash = full.rfind('/');
        table.append(FileRow{full.substr(slash + 1), full.substr(0, slash + 1), "1", "", "1.1.2001",
                             "0", "-"});
    }

    // The side files of row as "name>new name" for a row named renamed.
    std::vector<std::string> of(const SideFiles& sides, std::size_t row, const char* renamed) {
        std::vector<std::string> found;
        const auto [first, last] = sides.of(row);
        for (std::size_t k = first; k < last; ++k) {
            found.push_back(sides[k].name + ">" + sides.newName(k, renamed));
        }
        return found;
    }

    test::TempTree tree;
    FileTable table;
};

TEST_F(Sides, FoundByNameAndRenamedAlong) {
    for (const char* other :
         {"a/IMG_1.xmp", "a/IMG_1.XMP", "a/IMG_1.thm", "a/IMG_1.JPG.json", "a/IMG_1.JPG.xmp",
          "a/IMG_1.JPG.aae", "a/IMG_10.xmp", "a/IMG_1.txt", "a/img_1.xmp", "b/IMG_1.xmp"}) {
        tree.file(other, "side");
    }
    tree.dir("a/IMG_1.dop");
    tree.symlink("IMG_1.txt", "a/IMG_1.pp3");
    row("a/IMG_1.JPG");
    row("a/IMG_1.CR2");  // shares IMG_1.xmp by name: the first row has it
    row("a/IMG_1.thm");  // a row itself is no side file

    const SideFiles sides = SideFiles::of(table);
    EXPECT_THAT(of(sides, 0, "0001.jpg"),
                ElementsAre("IMG_1.JPG.json>0001.jpg.json", "IMG_1.JPG.xmp>0001.jpg.xmp",
                            "IMG_1.XMP>0001.XMP", "IMG_1.xmp>0001.xmp"));
    EXPECT_THAT(of(sides, 1, "0002.cr2"), ElementsAre());
    EXPECT_THAT(of(sides, 2, "0003.thm"), ElementsAre());
}

TEST_F(Sides, NoneWithoutFilesOfTheirNames) {
    tree.file("a/notes.txt", "not a side file");
    row("a/IMG_1.JPG");
    row("a/README");
    EXPECT_EQ(SideFiles::of(table).size(), 0u);
}

}  // namespace
}  // namespace folivar
