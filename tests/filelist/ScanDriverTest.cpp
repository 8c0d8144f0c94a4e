#include "filelist/ScanDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "search/Masks.h"
#include "support/FaultyFileSystem.h"
#include "support/RecordingSink.h"
#include "support/ScriptedClock.h"
#include "support/TempTree.h"
#include "support/ThrowsMessage.h"

namespace folivar {
namespace {

using Texts = std::vector<std::string>;

// The walk as a scan runs it, every folder shown, and the summary after it.
class ScanDriverTest : public testing::Test {
protected:
    ScanDriverTest() : driver(search, table) {
        clock.stepTicks(5);  // every walk takes 5 ms
        table.append({"old", "/", "1", "", "1.1.2001", "3", "Dupl"});
    }

    void scan(const Texts& folders, const Texts& masks = {"*"}, ScanSettings settings = {}) {
        settings.includeMasks = masks;
        driver.prepare(settings);
        Texts paths;
        for (const std::string& folder : folders) {
            paths.push_back(tree.at(folder));
        }
        ProgressReporter report(sink, 0, 0);
        const ScanDriver::Totals totals = driver.walk(paths, report);
        report.status(scanSummary(table.size(), totals));
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

    test::ScriptedClock clock;
    test::TempTree tree;
    TEasyFileSearch search;
    FileTable table;
    ScanDriver driver;
    test::RecordingSink sink;
    Texts& statuses = sink.statuses;
};

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
    scan({"a", "c", "e"}, {"*.txt"});
    EXPECT_EQ(statuses, (Texts{tree.at("a"), tree.at("a/b"), tree.at("c"), tree.at("c/d"),
                               tree.at("e"), "2 files in 2 folders. Time spent - 15 msec"}));
}

TEST_F(ScanDriverTest, OneFileAndNoFolderRows) {
    tree.file("a/x.txt");
    tree.dir("a/sub.d");
    tree.dir("a/plain");
    ScanSettings settings;
    settings.options.erase(okIncludeSubfolder);
    scan({"a"}, {"*.*", "*"}, settings);
    EXPECT_EQ(names(), Texts{"x.txt"});
}

TEST_F(ScanDriverTest, WithoutSubfoldersEachListedFolderIsWalked) {
    tree.file("a/x.txt");
    tree.file("a/b/y.txt");
    ScanSettings settings;
    settings.options.erase(okIncludeSubfolder);
    scan({"a", "a/b"}, {"*"}, settings);
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
    ASSERT_EQ(statuses.size(), 6u);
    EXPECT_EQ(statuses[3], "Error during the search operation!");
    EXPECT_EQ(statuses[4], tree.at("d"));
    EXPECT_EQ(statuses[5], "2 files in 2 folders. Time spent - 10 msec; Unreadable folders - 2");
}

TEST_F(ScanDriverTest, ShortNamesOnly) {
    tree.file("s/12345678.jpg");
    tree.file("s/123456789.jpg");
    tree.file("s/abcdefghijklmnop");
    ScanSettings settings;
    settings.shortNamesOnly = true;
    scan({"s"}, {"*"}, settings);
    EXPECT_EQ(names(true), (Texts{"12345678.jpg", "abcdefghijklmnop"}));
}

TEST_F(ScanDriverTest, InvalidMaskKeepsTheRowsFoundSoFar) {
    tree.file("a/x.txt");
    tree.file("b/y.dat");  // the first name to reach the second mask
    EXPECT_THROW_MSG(scan({"a", "b"}, {"*.txt", "[abc"}), EMaskException,
                     "'[abc' is an invalid mask at (5)");
    EXPECT_EQ(names(), Texts{"x.txt"});
    EXPECT_EQ(statuses, (Texts{tree.at("a"), tree.at("b")}));  // no summary
}

// Outside a walk the component's events change nothing: the table changes
// only while the session tells its observer so.
TEST_F(ScanDriverTest, EventsOutsideAWalkAreIgnored) {
    tree.file("a/x.txt");
    scan({"a"});
    statuses.clear();
    TFileInformations file;
    file.Name = "late.txt";
    file.Path = "/";
    driver.fileFound(file);
    driver.changeFolder("/late");
    EXPECT_EQ(names(), Texts{"x.txt"});
    EXPECT_TRUE(statuses.empty());
}

}  // namespace
}  // namespace folivar
