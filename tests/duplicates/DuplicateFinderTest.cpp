#include "duplicates/DuplicateFinder.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ListRows.h"
#include "filelist/ColumnSort.h"
#include "filelist/EConvertError.h"
#include "support/FaultyFileSystem.h"
#include "support/FileEdits.h"
#include "support/RecordingSink.h"
#include "support/ScopedTmpfs.h"
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

TEST_F(DuplicateFinderTest, DeletionRetriesOnceAndCountsWhatRemains) {
    test::FaultyFileSystem fs;
    list({{"orig", "same"}, {"readonly", "same"}, {"held", "same"}});
    search();
    fs.failRemoveOnce(tree.at("readonly"));
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

TEST_F(DuplicateFinderTest, AnOriginalEditedInPlaceWithItsTimeSetBackKeepsItsDuplicate) {
    list({{"orig", "the only copy of this"}, {"dupl", "the only copy of this"}});
    search();
    test::editInPlaceKeepingTheTime(tree.at("orig"), "THE ONLY");
    const auto outcome = remove();
    EXPECT_EQ(outcome.deleted, 0);
    EXPECT_EQ(outcome.remained, 1);
    EXPECT_TRUE(platform::fileSystem().fileExists(tree.at("dupl")));
}

// One file listed twice, once through a second mount of its file system: the
// same size and times on another device, and the same inode, or one with the
// layer in its high bits (an overlay with xino).
TEST_F(DuplicateFinderTest, OneFileSeenThroughTwoMountsIsNotItsOwnDuplicate) {
    for (const std::uint64_t layerBits : {std::uint64_t{0}, std::uint64_t{1} << 63}) {
        SCOPED_TRACE(layerBits == 0 ? "a second mount" : "an overlay with xino");
        test::TempTree files;
        FileTable rows;
        test::FaultyFileSystem fs;
        test::addRow(rows, files.file("lower/photo.jpg", "pixels"));
        test::addRow(rows, files.file("copy.jpg", "pixels"));
        files.dir("merged");
        ASSERT_EQ(::link(files.at("lower/photo.jpg").c_str(), files.at("merged/photo.jpg").c_str()),
                  0);
        test::addRow(rows, files.at("merged/photo.jpg"));
        fs.seeOnDevice(files.at("merged/"), 4242, layerBits);
        DuplicateFinder search;
        search.search(rows, sink);
        // The real copy pairs with the first of the two views only.
        EXPECT_EQ(marks(rows), (Texts{"photo.jpg 1 Orig", "copy.jpg 1 Dupl"}));
        EXPECT_EQ(rows[0].Path, files.at("lower/"));
        search.deleteDuplicates(rows, sink);
        EXPECT_TRUE(platform::fileSystem().fileExists(files.at("merged/photo.jpg")));
    }
}

// For real: an overlay over a lower folder of the same file system, and one
// with xino over a lower folder of another (its merged inodes then carry the
// layer in their high bits). DEL DUPL there once removed the only copy.
TEST_F(DuplicateFinderTest, AnOverlayAndItsLowerFolderHoldOneFileNotTwo) {
    for (const bool xino : {false, true}) {
        SCOPED_TRACE(xino ? "xino, lower on a tmpfs" : "one file system");
        test::TempTree files;
        FileTable rows;
        std::optional<test::ScopedTmpfs> lower;
        if (xino) {
            lower.emplace(files.dir("lower"), "1m");
            if (!lower->mounted()) {
                GTEST_SKIP() << "cannot mount a tmpfs here (needs the right to mount)";
            }
        }
        files.file("lower/photo.jpg", "pixels");
        for (const char* folder : {"upper", "work", "merged"}) {
            files.dir(folder);
        }
        const std::string options = "lowerdir=" + files.at("lower") +
                                    ",upperdir=" + files.at("upper") +
                                    ",workdir=" + files.at("work") + (xino ? ",xino=on" : "");
        if (::mount("overlay", files.at("merged").c_str(), "overlay", 0, options.c_str()) != 0) {
            GTEST_SKIP() << "cannot mount an overlay here (needs the right to mount)";
        }
        test::addRow(rows, files.at("lower/photo.jpg"));
        test::addRow(rows, files.at("merged/photo.jpg"));
        DuplicateFinder search;
        const auto outcome = search.search(rows, sink);
        search.deleteDuplicates(rows, sink);
        ::umount2(files.at("merged").c_str(), MNT_DETACH);
        EXPECT_EQ(outcome.duplicatesFound, 0);
        EXPECT_EQ(test::contentsOf(files.at("lower/photo.jpg")), "pixels");
    }
}

// Files of proc report size 0 and are made up as they are read; many hold the
// same text without being copies of anything.
TEST_F(DuplicateFinderTest, FilesOfPseudoFileSystemsAreIdenticalToNothing) {
    std::map<std::string, std::vector<std::string>> byContents;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/sys/kernel", error)) {
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        if (in && !text.str().empty() && entry.is_regular_file(error)) {
            byContents[text.str()].push_back(entry.path().string());
        }
    }
    std::vector<std::string> same;
    for (const auto& [contents, paths] : byContents) {
        if (paths.size() > same.size()) {
            same = paths;
        }
    }
    if (same.size() < 2) {
        GTEST_SKIP() << "no two files of /proc/sys/kernel hold the same text here";
    }
    for (const std::string& path : same) {
        listPath(path);
    }
    const auto outcome = search();
    EXPECT_EQ(outcome.duplicatesFound, 0) << same.size() << " files such as " << same[0];
    EXPECT_TRUE(table.empty());
}

// Running out of descriptors, by the process's own limit or because others
// hold them for a while, hides no duplicate: the search waits and goes on.
TEST_F(DuplicateFinderTest, ShortOfDescriptorsTheSearchStillFindsEveryDuplicate) {
    struct Case {
        const char* what;
        int openAtOnce;  // -1: no limit
        int refusedInARow;
    };
    const Case cases[] = {
        {"at most 10 open at once", 10, 0},
        {"at most 2 open at once", 2, 0},
        {"the first 8 opens refused", -1, 8},
    };
    for (const Case& c : cases) {
        // Longer than the first block read, so readers stay open between passes.
        const std::string contents(5000, 'x');
        table = FileTable();
        for (int i = 0; i < 120; ++i) {
            list({{"same" + std::to_string(i), contents}});
        }
        list({{"other", contents + "!"}});
        test::FaultyFileSystem fs;
        fs.limitOpenReaders(c.openAtOnce);
        fs.runOutOfDescriptors(c.refusedInARow);
        const auto outcome = search();
        EXPECT_EQ(outcome.duplicatesFound, 119) << c.what;
        EXPECT_GT(fs.descriptorRefusals(), 0) << c.what;
        if (c.openAtOnce >= 0) {
            EXPECT_LE(fs.peakOpenReaders(), c.openAtOnce) << c.what;
        }
    }
}

TEST_F(DuplicateFinderTest, ALowDescriptorLimitHidesNoDuplicate) {
    const std::string contents(5000, 'x');  // kept open between passes
    for (int i = 0; i < 120; ++i) {
        list({{"same" + std::to_string(i), contents}});
    }
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    struct rlimit low = saved;
    low.rlim_cur = 40;  // as under ulimit -n 40
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    const auto outcome = search();
    ::setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(outcome.duplicatesFound, 119);
}

}  // namespace
}  // namespace folivar
