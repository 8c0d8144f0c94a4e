#include "duplicates/DuplicateFinder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "ListRows.h"
#include "filelist/ColumnSort.h"
#include "filelist/EConvertError.h"
#include "support/FaultyFileSystem.h"
#include "support/RecordingSink.h"
#include "support/TempTree.h"
#include "support/ThrowsMessage.h"

namespace folivar {
namespace {

using Texts = std::vector<std::string>;
using test::marks;

class DuplicateFinderTest : public testing::Test {
protected:
    // Files named as given, each with its contents, listed in this order.
    void list(const std::vector<std::pair<std::string, std::string>>& files) {
        for (const auto& [name, contents] : files) {
            test::addRow(table, tree.file(name, contents));
        }
    }
    void listPath(const std::string& path) { test::addRow(table, path); }

    DuplicateFinder::SearchOutcome search() { return finder.search(table, sink); }
    DuplicateFinder::DeleteOutcome remove() { return finder.deleteDuplicates(table, sink); }

    test::TempTree tree;
    FileTable table;
    DuplicateFinder finder;
    test::RecordingSink sink;
    std::vector<int>& positions = sink.percents;
    Texts& statuses = sink.statuses;
};

TEST_F(DuplicateFinderTest, ThreeIdenticalAndOneDifferentOfTheSameSize) {
    list({{"small", "ab"}, {"one", "same"}, {"diff", "dif!"}, {"two", "same"}, {"three", "same"}});
    const auto outcome = search();
    EXPECT_EQ(marks(table), (Texts{"one 1 Orig", "two 1 Dupl", "three 1 Dupl"}));
    EXPECT_EQ(outcome.duplicatesFound, 2);
    EXPECT_TRUE(outcome.deleteMode);
    EXPECT_FALSE(outcome.buttons.rename.has_value());
    EXPECT_FALSE(outcome.buttons.findDupl.has_value());
    EXPECT_EQ(statuses.back(), "3 files in list; 2 duplicates are found");
}

TEST_F(DuplicateFinderTest, InterleavedPairsKeepTheirOrderAndNumbers) {
    list({{"B", "bbbb"},
          {"small", "s"},
          {"A", "aaaa"},
          {"B2", "bbbb"},
          {"A2", "aaaa"},
          {"C2", "cc"},
          {"C", "cc"}});
    search();
    EXPECT_EQ(marks(table),
              (Texts{"C2 1 Orig", "C 1 Dupl", "B 2 Orig", "A 3 Orig", "B2 2 Dupl", "A2 3 Dupl"}));
}

TEST_F(DuplicateFinderTest, NothingFoundEmptiesTheListAndDisablesTheButtons) {
    list({{"c", "q"}, {"a", "xy"}, {"b", "xz"}});
    const auto outcome = search();
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(statuses,
              (Texts{"67% are completed. Please wait...", "100% are completed. Please wait...",
                     "0 duplicates are found. Please wait...",
                     "0 files in list; 0 duplicates are found"}));
    EXPECT_EQ(positions, (std::vector<int>{0, 67, 100}));
    EXPECT_FALSE(outcome.deleteMode);
    EXPECT_EQ(outcome.buttons.rename, false);
    EXPECT_EQ(outcome.buttons.findDupl, false);
}

TEST_F(DuplicateFinderTest, SizeThatIsNoNumberStopsTheSearchBeforeAnyChange) {
    list({{"a", "x"}, {"b", "x"}});
    table[1].Size = "1x";
    const FileTable before = table;
    EXPECT_THROW_MSG(search(), EConvertError, "'1x' is not a valid integer value");
    EXPECT_EQ(marks(table), marks(before));
}

TEST_F(DuplicateFinderTest, EmptyFilesAreDuplicatesButAFifoIsNot) {
    ASSERT_EQ(::mkfifo(tree.at("fifo").c_str(), 0600), 0);
    listPath(tree.at("fifo"));
    list({{"e1", ""}, {"e2", ""}});
    search();
    EXPECT_EQ(marks(table), (Texts{"e1 1 Orig", "e2 1 Dupl"}));
}

TEST_F(DuplicateFinderTest, OnePhysicalFileIsNeverItsOwnDuplicate) {
    list({{"file", "content"}});
    ASSERT_EQ(::link(tree.at("file").c_str(), tree.at("hard").c_str()), 0);
    listPath(tree.at("hard"));
    listPath(tree.symlink(tree.at("file"), "soft"));
    listPath(tree.at("file"));
    list({{"copy", "content"}});
    EXPECT_EQ(search().duplicatesFound, 1);
    EXPECT_EQ(marks(table), (Texts{"file 1 Orig", "copy 1 Dupl"}));

    table.clear();
    listPath(tree.at("copy"));
    listPath(tree.at("soft"));
    listPath(tree.at("hard"));
    search();
    EXPECT_EQ(marks(table), (Texts{"copy 1 Orig", "soft 1 Dupl", "hard 1 Dupl"}));
    EXPECT_EQ(remove().deleted, 2);
    EXPECT_TRUE(platform::fileSystem().fileExists(tree.at("file")));  // the content stays
}

TEST_F(DuplicateFinderTest, UnreadableFileJoinsNoGroup) {
    test::FaultyFileSystem fs;
    list({{"a", "same"}, {"b", "same"}, {"c", "same"}});
    fs.failRead(tree.at("a"));
    search();
    EXPECT_EQ(marks(table), (Texts{"b 1 Orig", "c 1 Dupl"}));
}

TEST_F(DuplicateFinderTest, SizesOf2GiBAndMoreSortAndCompareAsWholeNumbers) {
    // The Size cells are what the search sorts and splits into runs by.
    list({{"big1", "ab"}, {"big2", "ab"}, {"tiny", "q"}, {"tiny2", "q"}});
    table[0].Size = table[1].Size = "4294967297";
    table[2].Size = table[3].Size = "1";
    search();
    EXPECT_EQ(marks(table), (Texts{"tiny 1 Orig", "tiny2 1 Dupl", "big1 2 Orig", "big2 2 Dupl"}));
}

TEST_F(DuplicateFinderTest, DeletionRetriesReadOnlyFilesAndCountsWhatRemains) {
    test::FaultyFileSystem fs;
    list({{"orig", "same"}, {"readonly", "same"}, {"held", "same"}});
    search();
    fs.failRemoveUntilWritable(tree.at("readonly"));
    fs.failRemove(tree.at("held"));
    const auto outcome = remove();
    EXPECT_EQ(statuses.back(), "2 files in list; Deleted - 1; Remained - 1");
    EXPECT_EQ(marks(table), (Texts{"orig 1 Orig", "held 1 Dupl"}));
    EXPECT_FALSE(outcome.buttons.findDupl.has_value());
    EXPECT_FALSE(platform::fileSystem().fileExists(tree.at("readonly")));

    table.removeRows({1});
    const auto again = remove();
    EXPECT_EQ(statuses.back(), "1 files in list; Deleted - 0");
    EXPECT_EQ(again.buttons.findDupl, false);
    EXPECT_FALSE(again.buttons.rename.has_value());
}

TEST_F(DuplicateFinderTest, DeletesOnlyFilesStillAsTheyWereCompared) {
    list({{"o1", "11"},
          {"d1", "11"},
          {"o2", "2222"},
          {"d2", "2222"},
          {"o3", "333"},
          {"d3", "333"},
          {"d3b", "333"}});
    search();
    // Sorting and removing rows between search and deletion changes nothing.
    sortRows(table, fcFileName, true);
    table.removeRows({0});  // o3's row: its file is still there
    ::unlink(tree.at("o1").c_str());
    ::unlink(tree.at("d2").c_str());
    tree.file("d2", "2222");  // another file in its place
    table.append({"stray", tree.path() + "/", "3", "", "1.1.2024", "9", "-"});
    tree.file("stray", "333");

    const auto outcome = remove();
    EXPECT_EQ(outcome.deleted, 2);
    EXPECT_EQ(outcome.remained, 3);
    for (const char* kept : {"d1", "d2", "stray", "o2"}) {
        EXPECT_TRUE(platform::fileSystem().fileExists(tree.at(kept))) << kept;
    }
    for (const char* gone : {"d3", "d3b"}) {
        EXPECT_FALSE(platform::fileSystem().fileExists(tree.at(gone))) << gone;
    }
}

TEST_F(DuplicateFinderTest, DeletionWithoutASearchDeletesNothing) {
    list({{"a", "x"}, {"b", "x"}});
    EXPECT_EQ(remove().remained, 2);
    EXPECT_EQ(table.size(), 2u);
}

}  // namespace
}  // namespace folivar
