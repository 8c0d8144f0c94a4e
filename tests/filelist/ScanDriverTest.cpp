#include "filelist/ScanDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SteppingClock.h"
#include "filelist/EConvertError.h"
#include "search/Masks.h"
#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

using Texts = std::vector<std::string>;

// Records what the scan shows, as the window would.
struct Screen {
    Texts statuses;
    std::vector<Texts> pathLists;
    int begun = 0;
    int ended = 0;

    ScanDriver::Events events() {
        return {[this](const std::string& text) { statuses.push_back(text); },
                [this](const Texts& paths) { pathLists.push_back(paths); }, [this] { ++begun; },
                [this] { ++ended; }};
    }
};

class ScanDriverTest : public testing::Test {
protected:
    ScanDriverTest() : driver(search, table) {
        table.append({"old", "/", "1", "", "1.1.2001", "3", "Dupl"});
    }

    ScanDriver::Outcome scan(const Texts& folders, const Texts& masks = {"*"},
                             ScanSettings settings = {}) {
        for (const std::string& folder : folders) {
            settings.Paths.push_back(tree.at(folder));
        }
        settings.IncludeMasks = masks;
        return driver.scan(settings, screen.events());
    }

    // Row names in list order, or sorted where the walk's order is the platform's.
    Texts names(bool sorted = false) const {
        Texts out;
        for (const FileRow& row : table) {
            out.push_back(row.FileName);
        }
        if (sorted) {
            std::sort(out.begin(), out.end());
        }
        return out;
    }

    test::SteppingClock clock{5};  // every walk takes 5 ms
    test::TempTree tree;
    TEasyFileSearch search;
    FileTable table;
    ScanDriver driver;
    Screen screen;
};

TEST_F(ScanDriverTest, RefusesWithoutPathOrMask) {
    ScanSettings settings;
    settings.SizeText = "not a number";  // never reached
    EXPECT_EQ(driver.scan(settings, screen.events()).result, ScanDriver::Result::NoPath);
    EXPECT_EQ(scan({"."}, {}, settings).result, ScanDriver::Result::NoMask);
    EXPECT_EQ(screen.statuses, (Texts{"You must enter a pathname!", "You must enter a mask!"}));
    EXPECT_TRUE(screen.pathLists.empty());
    EXPECT_EQ(screen.begun, 0);
    EXPECT_EQ(names(), Texts{"old"});
}

TEST_F(ScanDriverTest, OnlyAMissingFolderEmptiesTheList) {
    const ScanDriver::Outcome outcome = scan({"gone"});
    EXPECT_EQ(outcome.result, ScanDriver::Result::Completed);
    EXPECT_EQ(screen.pathLists, std::vector<Texts>{Texts{}});
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(screen.statuses, Texts{"0 files in 0 folders. Time spent - 0 msec"});
    EXPECT_FALSE(outcome.renameEnabled);
    EXPECT_FALSE(outcome.findDuplEnabled);
    EXPECT_EQ(screen.ended, 1);
}

TEST_F(ScanDriverTest, RowsHoldTheFileTexts) {
    tree.file("Pics/Holiday.Photo.JPG", std::string(1234, 'x'));
    tree.setTimes("Pics/Holiday.Photo.JPG", 0, test::localTime(2004, 7, 9));
    tree.sparse("Pics/disk", 5368709120LL);
    tree.setTimes("Pics/disk", 0, test::localTime(2003, 12, 25));
    scan({"Pics"});
    ASSERT_EQ(names(true), (Texts{"Holiday.Photo.JPG", "disk"}));
    const bool photoFirst = table[0].FileName == "Holiday.Photo.JPG";
    const FileRow& photo = table[photoFirst ? 0 : 1];
    const FileRow& disk = table[photoFirst ? 1 : 0];
    const std::string folder = tree.at("Pics/");
    EXPECT_EQ(photo, (FileRow{"Holiday.Photo.JPG", folder, "1234", "JPG", "9.7.2004", "0", "-"}));
    EXPECT_EQ(disk, (FileRow{"disk", folder, "5368709120", "", "25.12.2003", "0", "-"}));
}

TEST_F(ScanDriverTest, SummaryCountsFoldersWithAcceptedFiles) {
    tree.file("a/x.txt");
    tree.file("a/b/y.txt");
    tree.file("c/d/z.tmp");  // c holds only a folder, d only a rejected file
    tree.dir("e");
    const ScanDriver::Outcome outcome = scan({"a", "c", "e"}, {"*.txt"});
    EXPECT_EQ(screen.statuses, (Texts{tree.at("a"), tree.at("a/b"), tree.at("c"), tree.at("c/d"),
                                      tree.at("e"), "2 files in 2 folders. Time spent - 15 msec"}));
    EXPECT_TRUE(outcome.renameEnabled);
    EXPECT_TRUE(outcome.findDuplEnabled);
}

TEST_F(ScanDriverTest, OneFileAndNoFolderRows) {
    tree.file("a/x.txt");
    tree.dir("a/sub.d");
    tree.dir("a/plain");
    ScanSettings settings;
    settings.IncludeSubfolders = false;
    const ScanDriver::Outcome outcome = scan({"a"}, {"*.*", "*"}, settings);
    EXPECT_EQ(names(), Texts{"x.txt"});
    EXPECT_TRUE(outcome.renameEnabled);
    EXPECT_FALSE(outcome.findDuplEnabled);
}

TEST_F(ScanDriverTest, PrunedListIsShownAndWalkedOnce) {
    tree.file("a/x.txt");
    tree.file("a/b/y.txt");
    tree.dir("a/bb");
    scan({"a/b", "a/bb", "gone", "a", "a/b/"});
    EXPECT_EQ(screen.pathLists, std::vector<Texts>{Texts{tree.at("a")}});
    EXPECT_EQ(names(true), (Texts{"x.txt", "y.txt"}));
}

TEST_F(ScanDriverTest, WithoutSubfoldersEachListedFolderIsWalked) {
    tree.file("a/x.txt");
    tree.file("a/b/y.txt");
    ScanSettings settings;
    settings.IncludeSubfolders = false;
    scan({"a", "a/b"}, {"*"}, settings);
    EXPECT_EQ(screen.pathLists, std::vector<Texts>{(Texts{tree.at("a"), tree.at("a/b")})});
    EXPECT_EQ(names(), (Texts{"x.txt", "y.txt"}));
}

TEST_F(ScanDriverTest, UnreadableFoldersAreReported) {
    test::FaultyFileSystem fs;
    tree.file("a/x.txt");
    tree.file("a/b/y.txt");
    tree.file("a/c/z.txt");
    tree.file("d/w.txt");
    fs.failOpenDirectory(tree.at("a/b"));
    fs.failOpenDirectory(tree.at("a/c"));
    scan({"a", "d"});
    EXPECT_EQ(names(true), (Texts{"w.txt", "x.txt"}));
    ASSERT_EQ(screen.statuses.size(), 6u);
    EXPECT_EQ(screen.statuses[3], "Error during the search operation!");
    EXPECT_EQ(screen.statuses[4], tree.at("d"));
    EXPECT_EQ(screen.statuses[5],
              "2 files in 2 folders. Time spent - 10 msec; Unreadable folders - 2");
}

TEST_F(ScanDriverTest, ShortNamesOnly) {
    tree.file("s/12345678.jpg");
    tree.file("s/123456789.jpg");
    tree.file("s/abcdefghijklmnop");
    ScanSettings settings;
    settings.ShortNamesOnly = true;
    scan({"s"}, {"*"}, settings);
    EXPECT_EQ(names(true), (Texts{"12345678.jpg", "abcdefghijklmnop"}));
}

TEST_F(ScanDriverTest, InvalidMaskKeepsRowsAndClosesTheUpdate) {
    tree.file("a/x.txt");
    tree.file("b/y.dat");  // the first name to reach the second mask
    try {
        scan({"a", "b"}, {"*.txt", "[abc"});
        FAIL() << "no error";
    } catch (const EMaskException& e) {
        EXPECT_STREQ(e.what(), "'[abc' is an invalid mask at (5)");
    }
    EXPECT_EQ(names(), Texts{"x.txt"});
    EXPECT_EQ(screen.begun, 1);
    EXPECT_EQ(screen.ended, 1);
    EXPECT_EQ(screen.statuses, (Texts{tree.at("a"), tree.at("b")}));  // no summary
}

TEST_F(ScanDriverTest, SizeTextErrorOnlyPrunesThePathList) {
    tree.dir("a/b");
    ScanSettings settings;
    settings.SizeText = "abc";
    try {
        scan({"a/b", "a"}, {"*"}, settings);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
    }
    EXPECT_EQ(screen.pathLists, std::vector<Texts>{Texts{tree.at("a")}});
    EXPECT_EQ(names(), Texts{"old"});
    EXPECT_TRUE(screen.statuses.empty());
    EXPECT_EQ(screen.begun, 0);
}

}  // namespace
}  // namespace folivar
