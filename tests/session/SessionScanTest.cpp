#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RowsLog.h"
#include "session/FileListSession.h"
#include "support/RecordingSink.h"
#include "support/ScriptedClock.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

using Texts = std::vector<std::string>;
using Result = ScanOutcome::Result;

const Texts kRowsChange{"rows about to change", "rows changed"};

class SessionScanTest : public testing::Test {
protected:
    SessionScanTest() {
        session.replaceRows({{"old", "/", "1", "", "1.1.2001", "3", "Dupl"}});
        session.setObserver(&rows);
    }

    ScanOutcome scan(const Texts& folders, const Texts& masks = {"*"}, ScanSettings settings = {}) {
        for (const std::string& folder : folders) {
            settings.folders.push_back(tree.at(folder));
        }
        settings.includeMasks = masks;
        return session.scan(settings, sink);
    }

    Texts names() const {
        Texts out;
        for (const FileRow& row : session.rows()) {
            out.push_back(row.FileName);
        }
        return out;
    }

    test::ScriptedClock clock;  // the tick stands still unless a test moves it
    test::TempTree tree;
    FileListSession session;
    test::RecordingSink sink;
    test::RowsLog rows;
};

TEST_F(SessionScanTest, RefusesWithoutPathOrMask) {
    ScanSettings settings;
    settings.sizeText = "not a number";  // never reached
    EXPECT_EQ(session.scan(settings, sink).result, Result::NoPath);
    const ScanOutcome noMask = scan({"."}, {}, settings);
    EXPECT_EQ(noMask.result, Result::NoMask);
    EXPECT_FALSE(noMask.folders.has_value());
    EXPECT_EQ(sink.statuses, (Texts{"You must enter a pathname!", "You must enter a mask!"}));
    EXPECT_TRUE(rows.heard.empty());
    EXPECT_EQ(names(), Texts{"old"});
}

TEST_F(SessionScanTest, OnlyAMissingFolderEmptiesTheList) {
    const ScanOutcome outcome = scan({"gone"});
    EXPECT_EQ(outcome.result, Result::Completed);
    EXPECT_EQ(outcome.folders, Texts{});
    EXPECT_TRUE(session.rows().empty());
    EXPECT_EQ(sink.statuses, Texts{"0 files in 0 folders. Time spent - 0 msec"});
    EXPECT_EQ(outcome.buttons, (ActionButtons{false, false}));
    EXPECT_EQ(rows.heard, kRowsChange);
}

TEST_F(SessionScanTest, TheButtonsFollowTheRowsFound) {
    tree.file("a/x.txt");
    tree.file("a/b/y.txt");
    tree.file("c/d/z.tmp");
    EXPECT_EQ(scan({"a", "c"}, {"*.txt"}).buttons, (ActionButtons{true, true}));
    EXPECT_EQ(scan({"a"}, {"x*"}).buttons, (ActionButtons{true, false}));
    EXPECT_EQ(scan({"c"}, {"*.txt"}).buttons, (ActionButtons{false, false}));
}

TEST_F(SessionScanTest, PrunedListIsGivenBackAndWalkedOnce) {
    tree.file("a/x.txt");
    tree.file("a/b/y.txt");
    tree.dir("a/bb");
    const ScanOutcome outcome = scan({"a/b", "a/bb", "gone", "a", "a/b/"});
    EXPECT_EQ(outcome.folders, Texts{tree.at("a")});
    EXPECT_EQ(session.rows().size(), 2u);
}

TEST_F(SessionScanTest, WithoutSubfoldersNestedFoldersStay) {
    tree.file("a/x.txt");
    tree.file("a/b/y.txt");
    ScanSettings settings;
    settings.options.erase(okIncludeSubfolder);
    const ScanOutcome outcome = scan({"a", "a/b"}, {"*"}, settings);
    EXPECT_EQ(outcome.folders, (Texts{tree.at("a"), tree.at("a/b")}));
    EXPECT_EQ(names(), (Texts{"x.txt", "y.txt"}));
}

// The window stays alive through a scan: at every file found and every folder
// entered, the scan says it is still working.
TEST_F(SessionScanTest, SaysItIsStillWorkingAtEveryFileAndFolder) {
    tree.file("a/x.txt");
    tree.file("a/y.txt");
    tree.file("a/b/z.txt");
    ASSERT_EQ(scan({"a"}).result, Result::Completed);
    EXPECT_EQ(names().size(), 3u);
    EXPECT_EQ(sink.workingCalls, 3 + 2);
}

// The user's settings stop a scan with a message, never with an escaping error.
TEST_F(SessionScanTest, ASizeThatIsNoNumberOnlyPrunesThePathList) {
    tree.dir("a/b");
    ScanSettings settings;
    settings.sizeText = "abc";
    const ScanOutcome outcome = scan({"a/b", "a"}, {"*"}, settings);
    EXPECT_EQ(outcome.result, Result::Stopped);
    EXPECT_EQ(outcome.error, "'abc' is not a valid integer value");
    EXPECT_EQ(outcome.folders, Texts{tree.at("a")});
    EXPECT_EQ(names(), Texts{"old"});
    EXPECT_TRUE(sink.statuses.empty());
    EXPECT_TRUE(rows.heard.empty());
}

TEST_F(SessionScanTest, AnInvalidMaskKeepsTheRowsAndClosesTheChange) {
    tree.file("a/x.txt");
    tree.file("b/y.dat");   // the first name to reach the second mask
    clock.stepTicks(1000);  // every folder is shown
    const ScanOutcome outcome = scan({"a", "b"}, {"*.txt", "[abc"});
    EXPECT_EQ(outcome.result, Result::Stopped);
    EXPECT_EQ(outcome.error, "'[abc' is an invalid mask at (5)");
    EXPECT_EQ(names(), Texts{"x.txt"});
    EXPECT_EQ(rows.heard, kRowsChange);
    EXPECT_EQ(sink.statuses, (Texts{tree.at("a"), tree.at("b")}));  // no summary
}

// The folders entered pass a few times a second; the last one entered before
// a mask error shows, and the summary replaces whatever was held back.
TEST_F(SessionScanTest, FoldersEnteredAreThinnedOut) {
    tree.file("a/x.txt");
    tree.file("a/b.txt/y.txt");  // folders the first mask lets through
    tree.file("a/c.txt/z.txt");
    tree.file("d/w.dat");  // the first name to reach the second mask
    scan({"a"});
    EXPECT_EQ(sink.statuses.size(), 2u);
    EXPECT_EQ(sink.statuses[0], tree.at("a"));
    EXPECT_EQ(sink.statuses[1], "3 files in 3 folders. Time spent - 0 msec");

    sink.statuses.clear();
    scan({"a", "d"}, {"*.txt", "[d"});
    EXPECT_EQ(sink.statuses, (Texts{tree.at("a"), tree.at("d")}));
}

TEST_F(SessionScanTest, TheComponentsEventsReachTheSession) {
    tree.file("a/x.txt");
    // Bound once, by the session's own scan: nobody else needs to.
    const TEasyFileSearch& search = session.search();
    EXPECT_TRUE(search.OnFileFound && search.OnAcceptFile && search.OnChangeFolder &&
                search.OnStatistics);
    scan({"a"});
    EXPECT_EQ(names(), Texts{"x.txt"});
}

}  // namespace
}  // namespace folivar
