// Moves into folders by date taken, with the side files of each photo: the
// run, its preview and its undo agree, the undo takes away only the folders
// the batch made and only while empty, and nothing is ever replaced or
// written through a link.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "JournaledBatches.h"
#include "renaming/NamePreview.h"
#include "support/TreeSnapshot.h"

namespace folivar {
namespace {

using testing::ElementsAre;

const NamingScheme kDated{"", FileStructure::Counter, 4, 1};
constexpr const char* kTarget = "t/{yyyy}/{MM}";

class Dated : public test::JournaledBatches {
protected:
    // Two photos dated by name, one by its modification time, with side files.
    void addPhotos() {
        tree.file("t/2023/keep.txt", "the user's");  // a date folder there before
        tree.file("a/IMG_20230415_123456.xmp", "side of the first");
        tree.file("a/IMG_20230415_123456.jpg.json", "side of the first");
        tree.file("b/PXL_20220101_101010123.pp3", "side of the second");
        addFile("a/IMG_20230415_123456.jpg");
        addFile("b/PXL_20220101_101010123.jpg");
        addFile("c/x.jpg");
        tree.setTimes("c/x.jpg", test::localTime(2021, 6, 1), test::localTime(2021, 6, 1));
    }
};

TEST_F(Dated, EachFileGoesIntoTheFolderOfItsDateWithItsSideFiles) {
    addPhotos();
    const test::TreeSnapshot before = test::snapshotOf(tree.path());

    EXPECT_EQ(run(RenameKind::RenameAndMove, kDated, kTarget), 3u);
    EXPECT_THAT(column(fcStatus), ElementsAre("Moved", "Moved", "Moved"));
    EXPECT_EQ(test::readFile(tree.at("t/2023/04/0001.xmp")), "side of the first");
    EXPECT_EQ(test::readFile(tree.at("t/2023/04/0001.jpg.json")), "side of the first");
    EXPECT_EQ(test::readFile(tree.at("t/2022/01/0002.pp3")), "side of the second");
    EXPECT_EQ(test::readFile(tree.at("t/2021/06/0003.jpg")), "contents of c/x.jpg");
    EXPECT_EQ(test::readFile(tree.at("t/2023/keep.txt")), "the user's");

    const UndoOutcome outcome = undo();
    EXPECT_EQ(outcome.restored, 3u);
    // Every file back, the folders made gone, the one there before kept.
    EXPECT_EQ(test::snapshotOf(tree.path()), before);
}

TEST_F(Dated, ASideFileWhoseNameIsTakenStaysAndTheUndoKeepsIt) {
    addPhotos();
    tree.file("t/2023/04/0001.xmp", "someone else's");
    const test::TreeSnapshot before = test::snapshotOf(tree.path());

    run(RenameKind::RenameAndMove, kDated, kTarget);
    EXPECT_EQ(table[0].Status, kMovedSideStays);
    EXPECT_EQ(test::readFile(tree.at("t/2023/04/0001.xmp")), "someone else's");
    EXPECT_EQ(test::readFile(tree.at("a/IMG_20230415_123456.xmp")), "side of the first");
    EXPECT_EQ(test::readFile(tree.at("t/2023/04/0001.jpg.json")), "side of the first");

    undo();
    EXPECT_EQ(test::snapshotOf(tree.path()), before);
}

TEST_F(Dated, AFolderTheUserFilledMeanwhileStays) {
    addPhotos();
    run(RenameKind::RenameAndMove, kDated, kTarget);
    tree.file("t/2021/06/new.txt", "put there after the batch");

    undo();
    EXPECT_EQ(test::readFile(tree.at("c/x.jpg")), "contents of c/x.jpg");
    EXPECT_EQ(test::readFile(tree.at("t/2021/06/new.txt")), "put there after the batch");
    EXPECT_FALSE(test::snapshotOf(tree.path()).contains("t/2022"));
}

TEST_F(Dated, AKilledBatchIsTakenBackWithItsFoldersAndSideFiles) {
    addPhotos();
    const test::TreeSnapshot before = test::snapshotOf(tree.path());
    run(RenameKind::RenameAndMove, kDated, kTarget);
    // Killed after the last move, before the end was written.
    const std::string journal = test::readFile(newestJournal());
    cutJournal(journal.rfind("end\n"));

    undo();
    EXPECT_EQ(test::snapshotOf(tree.path()), before);
}

TEST_F(Dated, ALinkInTheWayOfADateFolderIsNeverFollowed) {
    test::TempTree elsewhere;
    tree.symlink(elsewhere.path(), "t/2021");
    addPhotos();

    run(RenameKind::Move, kDated, kTarget);
    EXPECT_THAT(column(fcStatus), ElementsAre("Moved", "Moved", "Error"));
    EXPECT_EQ(test::readFile(tree.at("c/x.jpg")), "contents of c/x.jpg");
    EXPECT_TRUE(test::snapshotOf(elsewhere.path()).empty());
}

TEST_F(Dated, ThePreviewTellsTheFoldersMadeAndTheSideFiles) {
    addPhotos();
    tree.file("t/2022/01/0002.pp3", "someone else's");
    const test::TreeSnapshot before = test::snapshotOf(tree.path());
    const std::vector<PreviewRow> rows =
        previewRows(table, RenameSettings{RenameKind::RenameAndMove, kDated, tree.at(kTarget)});
    EXPECT_EQ(test::snapshotOf(tree.path()), before);

    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].note(), "makes " + tree.at("t/2023/04/") +
                                  "; with IMG_20230415_123456.jpg.json as 0001.jpg.json, "
                                  "IMG_20230415_123456.xmp as 0001.xmp");
    EXPECT_EQ(rows[1].status, std::string(kMovedSideStays));
    EXPECT_TRUE(rows[1].problem());
    EXPECT_EQ(rows[1].note(), "PXL_20220101_101010123.pp3 stays (a file of that name is there)");
    EXPECT_EQ(rows[2].note(), "makes " + tree.at("t/2021/") + ", " + tree.at("t/2021/06/"));
}

}  // namespace
}  // namespace folivar
