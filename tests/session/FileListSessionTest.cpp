#include "session/FileListSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "RowsLog.h"
#include "filelist/EConvertError.h"
#include "platform/FileSystem.h"
#include "support/FileEdits.h"
#include "support/RecordingSink.h"
#include "support/ScopedTmpfs.h"
#include "support/TempTree.h"
#include "support/ThrowsMessage.h"

namespace folivar {
namespace {

using Texts = std::vector<std::string>;

const Texts kRowsChange{"rows about to change", "rows changed"};
const Texts kCellsChange{"cells changed"};

class FileListSessionTest : public testing::Test {
protected:
    // Files a.jpg, b.jpg, c.jpg in the list, a and c of the same contents.
    FileListSessionTest() {
        std::vector<FileRow> list;
        for (const auto& [name, contents] :
             {std::pair{"a.jpg", "same"}, std::pair{"b.jpg", "diff!"},
              std::pair{"c.jpg", "same"}}) {
            tree.file(name, contents);
            list.push_back({name, tree.path() + "/", std::to_string(std::string(contents).size()),
                            "jpg", "1.1.2004", "0", "-"});
        }
        session.replaceRows(list);
        session.setObserver(&rows);
    }

    Texts column(TFileColumn c) const {
        Texts texts;
        for (const FileRow& row : session.rows()) {
            texts.push_back(row.cell(c));
        }
        return texts;
    }

    test::TempTree tree;
    FileListSession session;
    test::RecordingSink sink;
    test::RowsLog rows;
};

// Whoever runs a command never tells the view: the session does, once per
// command, rows or cells as the command changes them.
TEST_F(FileListSessionTest, EachCommandTellsTheObserverWhatItChanged) {
    const auto none = [](const FileListSession& s) { return RowSelection(s.rows().size(), false); };
    const struct {
        const char* label;
        std::function<void(FileListSession&, ProgressSink&)> run;
        Texts heard;
    } cases[] = {
        {"sort", [](auto& s, auto&) { s.sortByColumn(fcSize); }, kRowsChange},
        {"shuffle", [](auto& s, auto&) { s.shuffle(); }, kRowsChange},
        {"delete items", [&](auto& s, auto& p) { s.deleteItems(none(s), p); }, kRowsChange},
        {"delete files", [&](auto& s, auto& p) { s.deleteFiles(none(s), p); }, kRowsChange},
        {"sum", [&](auto& s, auto& p) { s.sumSizes(none(s), p); }, {}},
        {"open", [&](auto& s, auto&) { s.filesToOpen(none(s)); }, {}},
        {"export", [](auto& s, auto& p) { s.exportList(p); }, {}},
        {"rename", [](auto& s, auto& p) { s.rename(RenameKind::Rename, {}, p); }, kCellsChange},
        {"set a cell", [](auto& s, auto&) { s.setCell(1, fcStatus, "x"); }, kCellsChange},
        {"find duplicates", [](auto& s, auto& p) { s.findDuplicates(p); }, kRowsChange},
        {"delete duplicates", [](auto& s, auto& p) { s.deleteDuplicates(p); }, kRowsChange},
        {"keep this copy", [&](auto& s, auto&) { s.keepThisCopy(none(s)); }, kCellsChange},
        {"link duplicates", [](auto& s, auto& p) { s.linkDuplicates(p, false); }, kCellsChange},
        {"replace rows", [](auto& s, auto&) { s.replaceRows({}); }, kRowsChange},
    };
    for (const auto& c : cases) {
        rows.heard.clear();
        c.run(session, sink);
        EXPECT_EQ(rows.heard, c.heard) << c.label;
    }
}

TEST_F(FileListSessionTest, ASortThatStopsStillClosesTheChangeAndMovesNoRow) {
    session.setCell(1, fcSize, "5x");
    rows.heard.clear();
    EXPECT_THROW_MSG(session.sortByColumn(fcSize), EConvertError,
                     "'5x' is not a valid integer value");
    EXPECT_EQ(rows.heard, kRowsChange);
    EXPECT_EQ(column(fcFileName), (Texts{"a.jpg", "b.jpg", "c.jpg"}));
}

// The session keeps the last sorted column from one click to the next, and
// tells which order the rows stand in until another order replaces it.
TEST_F(FileListSessionTest, ASecondClickOnAColumnSortsItDescending) {
    using Sorted = FileListSession::SortedColumn;
    EXPECT_EQ(session.sortedBy(), std::nullopt);
    session.sortByColumn(fcSize);
    EXPECT_EQ(column(fcFileName), (Texts{"a.jpg", "c.jpg", "b.jpg"}));
    EXPECT_EQ(session.sortedBy(), (Sorted{fcSize, false}));
    const std::vector<std::size_t> order = session.sortByColumn(fcSize);
    EXPECT_EQ(column(fcFileName), (Texts{"b.jpg", "a.jpg", "c.jpg"}));
    EXPECT_EQ(order, (std::vector<std::size_t>{2, 0, 1}));
    EXPECT_EQ(session.sortedBy(), (Sorted{fcSize, true}));
    session.sortByColumn(fcSize);
    EXPECT_EQ(column(fcFileName), (Texts{"a.jpg", "c.jpg", "b.jpg"}));
    session.setCell(0, fcSize, "x");
    EXPECT_THROW(session.sortByColumn(fcSize), EConvertError);  // no row moved
    EXPECT_EQ(session.sortedBy(), (Sorted{fcSize, false}));
    session.shuffle();
    EXPECT_EQ(session.sortedBy(), std::nullopt);
}

// A search and then its deletion, between which the list may be sorted.
TEST_F(FileListSessionTest, TheDeletionDeletesWhatTheSearchFound) {
    const auto found = session.findDuplicates(sink);
    EXPECT_EQ(found.duplicatesFound, 1);
    EXPECT_TRUE(found.deleteMode);
    EXPECT_EQ(column(fcStatus), (Texts{"Orig", "Dupl"}));
    session.sortByColumn(fcFileName);
    session.sortByColumn(fcFileName);  // c.jpg first
    const auto deleted = session.deleteDuplicates(sink);
    EXPECT_EQ(deleted.deleted, 1);
    EXPECT_EQ(deleted.buttons, (ActionButtons{std::nullopt, false}));
    EXPECT_EQ(sink.lastStatus(), "1 files in list; Deleted - 1");
    EXPECT_TRUE(platform::fileSystem().fileExists(tree.at("a.jpg")));
    EXPECT_FALSE(platform::fileSystem().fileExists(tree.at("c.jpg")));
}

TEST_F(FileListSessionTest, AMoveWithoutATargetFolderTouchesNoRow) {
    for (const RenameKind kind : {RenameKind::Move, RenameKind::RenameAndMove}) {
        rows.heard.clear();
        EXPECT_EQ(session.rename(kind, {}, sink), 0u);
        EXPECT_EQ(sink.lastStatus(), "3 files in list");
        EXPECT_TRUE(rows.heard.empty());
        EXPECT_EQ(column(fcStatus), (Texts{"-", "-", "-"}));
    }
    // Refused before any date is read, and the preview refuses the same way.
    const NamingScheme byDate{"", FileStructure::DateOldName, 4, 1};
    sink.statuses.clear();
    EXPECT_EQ(session.rename(RenameKind::RenameAndMove, byDate, sink), 0u);
    EXPECT_FALSE(session.preview(RenameKind::RenameAndMove, byDate, sink));
    EXPECT_EQ(sink.statuses, (Texts{"3 files in list", "3 files in list"}));
    EXPECT_EQ(session.datesTaken().find(tree.at("a.jpg")), nullptr);
}

// The preview, and the window's own work over the list, say they work, then
// sum up.
TEST_F(FileListSessionTest, APreviewAndTheWindowsWorkSayTheyWorkThenSumUp) {
    const auto preview = session.preview(RenameKind::Rename, {}, sink);
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->size(), 3u);
    EXPECT_EQ(sink.statuses, (Texts{"Please wait...", "3 files in list"}));

    sink.statuses.clear();
    session.workOverList(sink, [this] { sink.statuses.push_back("working"); });
    EXPECT_EQ(sink.statuses, (Texts{"Please wait...", "working", "3 files in list"}));
}

// Where the duplicate search and deletion put the rows, for the selection
// to follow them.
TEST_F(FileListSessionTest, TheDuplicateCommandsTellWhereTheRowsWent) {
    std::vector<std::size_t> order;
    session.findDuplicates(sink, &order);
    EXPECT_EQ(column(fcFileName), (Texts{"a.jpg", "c.jpg"}));
    EXPECT_EQ(order, (std::vector<std::size_t>{0, 2}));
    session.sortByColumn(fcFileName);
    session.sortByColumn(fcFileName);  // c.jpg first
    session.deleteDuplicates(sink, &order);
    EXPECT_EQ(column(fcFileName), Texts{"a.jpg"});  // the copy went
    EXPECT_EQ(order, std::vector<std::size_t>{1});
}

TEST_F(FileListSessionTest, MovesGoIntoTheMoveTargetFolder) {
    session.setMoveTarget(tree.dir("out"));
    EXPECT_EQ(session.moveTarget(), tree.at("out"));
    EXPECT_EQ(session.rename(RenameKind::RenameAndMove, {}, sink), 3u);
    EXPECT_EQ(column(fcPath), Texts(3, tree.at("out/")));
    EXPECT_EQ(column(fcFileName), (Texts{"pic0001.jpg", "pic0002.jpg", "pic0003.jpg"}));
    EXPECT_EQ(sink.lastStatus(), "3 files from 3 are moved");
    EXPECT_EQ(rows.heard, kCellsChange);
}

// Names made of dates taken: every date is read before the first file moves,
// and each goes with its file, renamed and back.
TEST_F(FileListSessionTest, DatesTakenAreReadFirstAndFollowTheirFiles) {
    int year = 2021;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
        const std::time_t written = test::localTime(year++, 5, 6, 7, 8, 9);
        tree.setTimes(name, written, written);
    }
    NamingScheme scheme{"", FileStructure::DateOldName, 4, 1};
    scheme.dateFormat = "yyMMdd_";
    EXPECT_EQ(session.rename(RenameKind::Rename, scheme, sink), 3u);
    EXPECT_EQ(column(fcFileName), (Texts{"210506_a.jpg", "220506_b.jpg", "230506_c.jpg"}));
    const auto source = [this](const std::string& name) {
        const DateTaken* taken = session.datesTaken().find(tree.at(name));
        return taken == nullptr ? std::string("unread")
                                : std::to_string(static_cast<int>(taken->source));
    };
    const std::string modified = std::to_string(static_cast<int>(DateSource::Modification));
    EXPECT_EQ(source("220506_b.jpg"), modified);
    EXPECT_EQ(source("b.jpg"), "unread");
    session.undoLastBatch(sink);
    EXPECT_EQ(column(fcFileName), (Texts{"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(source("b.jpg"), modified);
    EXPECT_EQ(source("220506_b.jpg"), "unread");
}

// A batch whose journal cannot be written (here: a read-only state folder)
// runs only once agreed to, and the undo then stops short of the batch before.
TEST_F(FileListSessionTest, ABatchWithoutJournalRunsOnlyAgreedAndTheUndoStopsAtIt) {
    test::TempTree state;
    test::ScopedTmpfs disk(state.path(), "256k");
    if (!disk.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    session.setJournalFolder(state.at("folivar"));
    session.rename(RenameKind::Rename, {}, sink);
    ASSERT_TRUE(disk.remountReadOnly());
    const NamingScheme prefix{"x", FileStructure::PrefixOldName, 4, 1};
    for (const bool agreed : {false, true}) {
        BatchStart batch = session.prepareRename(RenameKind::Rename, prefix);
        ASSERT_EQ(batch.state(), BatchStart::State::Unjournaled);
        if (agreed) {
            batch.runWithoutUndo();
        }
        session.rename(std::move(batch), sink);
    }
    EXPECT_EQ(column(fcFileName), (Texts{"xpic0001.jpg", "xpic0002.jpg", "xpic0003.jpg"}));
    session.undoLastBatch(sink);
    EXPECT_EQ(sink.lastStatus(), kNothingToUndo);
    EXPECT_EQ(column(fcFileName), (Texts{"xpic0001.jpg", "xpic0002.jpg", "xpic0003.jpg"}));
}

// LINK DUPL where data cannot be shared (a tmpfs): asked once, names linked
// only where the journal is written, a copy changed since the search stays,
// and the status line tells it all.
// The undo takes the newest batch back whatever its kind: the links first
// (each name its own file again), then the rename before them, which moves
// back only the very files it moved: the names given their own data again
// hold new files, and stay.
TEST_F(FileListSessionTest, LinkDuplicatesTellsItsCountsAndIsTheNewestBatchToUndo) {
    test::TempTree disk;
    test::ScopedTmpfs tmpfs(disk.path(), "1m");
    if (!tmpfs.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    const std::string a(2000, 'a');
    const std::string b(1500, 'b');
    std::vector<FileRow> list;
    for (const auto& [name, contents] :
         {std::pair{"a1.jpg", a}, std::pair{"a2.jpg", a}, std::pair{"a3.jpg", a},
          std::pair{"b1.jpg", b}, std::pair{"b2.jpg", b}, std::pair{"c.jpg", b + "c"}}) {
        disk.file(name, contents);
        list.push_back({name, disk.path() + "/", std::to_string(contents.size()), "jpg", "1.1.2004",
                        "0", "-"});
    }
    session.replaceRows(list);
    session.rename(RenameKind::Rename, {"x", FileStructure::PrefixOldName, 4, 1}, sink);
    session.findDuplicates(sink);
    test::editInPlaceKeepingTheTime(disk.at("xb2.jpg"), "B");
    int asked = 0;
    const auto ask = [&asked] { return ++asked > 0; };
    // Without a journal no link could be taken back: none is made, and the
    // user is not asked.
    const std::string journal = session.journalFolder();
    session.setJournalFolder("");
    EXPECT_EQ(session.linkDuplicates(sink, ask).linked, 0);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(sink.lastStatus(),
              "5 files in list; Shared - 0; Linked - 0; Remained - 3; "
              "Reclaimed - 0 bytes; nothing linked without the undo "
              "journal: there is no state folder to keep it in");
    session.setJournalFolder(journal);
    rows.heard.clear();
    const auto outcome = session.linkDuplicates(sink, ask);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(outcome.linked, 2);
    EXPECT_EQ(sink.lastStatus(),
              "5 files in list; Shared - 0; Linked - 2; Remained - 1; "
              "Reclaimed - 3,9 Kb");
    EXPECT_EQ(rows.heard, kCellsChange);
    const auto inode = [&disk](const char* name) {
        platform::FileStatus status;
        EXPECT_TRUE(platform::fileSystem().status(disk.at(name), false, status)) << name;
        return status.inode;
    };
    EXPECT_EQ(inode("xa2.jpg"), inode("xa1.jpg"));
    EXPECT_EQ(inode("xa3.jpg"), inode("xa1.jpg"));
    const auto names = [this] {
        Texts sorted = column(fcFileName);
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    };

    session.undoLastBatch(sink);
    EXPECT_EQ(sink.lastStatus(), "2 files from 2 are restored");
    EXPECT_NE(inode("xa2.jpg"), inode("xa1.jpg"));
    EXPECT_NE(inode("xa3.jpg"), inode("xa2.jpg"));
    for (const char* name : {"xa1.jpg", "xa2.jpg", "xa3.jpg"}) {
        EXPECT_EQ(test::contentsOf(disk.at(name)), a) << name;
    }
    const Texts statuses = column(fcStatus);
    EXPECT_EQ(std::count(statuses.begin(), statuses.end(), kRestored), 2);

    session.undoLastBatch(sink);
    EXPECT_EQ(names(), (Texts{"a1.jpg", "b1.jpg", "b2.jpg", "xa2.jpg", "xa3.jpg"}));
    EXPECT_EQ(sink.lastStatus(), "4 files from 6 are restored");
}

TEST_F(FileListSessionTest, ListCommandsOverTheSelection) {
    const RowSelection ac{true, false, true};
    EXPECT_EQ(session.filesToOpen(ac),
              (std::vector<OpenRequest>{{tree.at("a.jpg"), tree.path() + "/"},
                                        {tree.at("c.jpg"), tree.path() + "/"}}));
    EXPECT_EQ(session.folderToOpen(ac), (OpenRequest{tree.path() + "/", tree.path() + "/"}));
    EXPECT_EQ(session.shellFolder(ac), tree.path() + "/");
    EXPECT_EQ(session.sumSizes(ac, sink), "8 bytes in 2 files (average size - 4 bytes)");
    EXPECT_EQ(session.filesInList(), "3 files in list");
    EXPECT_EQ(session.deleteItems(ac, sink), (ActionButtons{std::nullopt, false}));
    EXPECT_EQ(column(fcFileName), Texts{"b.jpg"});
}

// So the window can stay alive, each long command says it is still working
// at every row it gets through (the duplicate search: at every run of equal
// sizes, of which this list has one).
TEST_F(FileListSessionTest, LongCommandsSayTheyAreStillWorkingAtEveryRow) {
    const auto heard = [this](const std::function<void()>& run) {
        sink.workingCalls = 0;
        run();
        return sink.workingCalls;
    };
    EXPECT_EQ(heard([&] { session.rename(RenameKind::Rename, {}, sink); }), 3);
    EXPECT_EQ(heard([&] { session.findDuplicates(sink); }), 1);
    EXPECT_EQ(heard([&] { session.deleteDuplicates(sink); }), 1);  // the one "Dupl"
    EXPECT_EQ(heard([&] { session.deleteFiles(RowSelection{true}, sink); }), 1);
    EXPECT_TRUE(session.rows().empty());
}

TEST_F(FileListSessionTest, WithoutASpreadsheetApplicationTheExportOnlyWarns) {
    const SpreadsheetExport::Outcome outcome = session.exportList(sink);
    EXPECT_EQ(outcome.result, SpreadsheetExport::Result::NoApplication);
    EXPECT_EQ(outcome.warning, "You need to first install Microsoft Excel!");
    EXPECT_TRUE(sink.log.empty());
}

}  // namespace
}  // namespace folivar
