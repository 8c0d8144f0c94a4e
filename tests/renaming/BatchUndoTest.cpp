// A journaled batch taken back: every path and every byte as before, across
// file systems too; never over a file that took an old name meanwhile; files
// changed or gone since stay; and the same from a journal whose last records
// were lost when the batch was killed.
#include "renaming/BatchUndo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/FileSystem.h"
#include "renaming/BatchJournal.h"
#include "renaming/BatchRecord.h"
#include "support/FileEdits.h"
#include "support/RecordingSink.h"
#include "support/ScopedTmpfs.h"
#include "support/ScriptedClock.h"
#include "support/TempTree.h"
#include "support/TreeSnapshot.h"

namespace folivar {
namespace {

using testing::ElementsAre;

const NamingScheme kCounter{"", FileStructure::Counter, 4, 1};

class Undo : public testing::Test {
protected:
    Undo() { clock.setLocalNow(platform::LocalTime{2026, 12, 2, 8, 14, 5, 9, 123}); }

    void addFile(const std::string& relative) {
        const std::string full = tree.file(relative, "contents of " + relative);
        const auto slash = full.rfind('/');
        table.append(FileRow{full.substr(slash + 1), full.substr(0, slash + 1), "1", "", "1.1.2001",
                             "0", "-"});
    }
    // The batch as the session runs it: journaled, then marked ended.
    std::size_t run(RenameKind kind, const NamingScheme& scheme = kCounter,
                    const std::string& target = "") {
        settings = RenameSettings{kind, scheme, target.empty() ? "" : tree.at(target)};
        std::string why;
        std::unique_ptr<BatchJournal> journal =
            BatchJournal::begin(journalFolder(), table, settings, why);
        EXPECT_TRUE(journal) << why;
        if (!journal) {
            return 0;
        }
        const std::size_t done = renameRows(table, settings, ProgressSink::silent(), *journal);
        journal->end();
        return done;
    }
    UndoOutcome undo() {
        test::RecordingSink sink;
        const UndoOutcome outcome = undoBatch(journalFolder(), table, sink);
        summary = sink.lastStatus();
        return outcome;
    }
    std::string journalFolder() const { return state.path() + "/folivar"; }
    std::string journalPath() const { return journalFolder() + "/journal"; }
    std::vector<std::string> column(TFileColumn c) const {
        std::vector<std::string> texts;
        for (const FileRow& row : table) {
            texts.push_back(row.cell(c));
        }
        return texts;
    }
    // The journal as a kill would have left it: cut after its first bytes.
    void cutJournal(std::size_t bytes) { std::filesystem::resize_file(journalPath(), bytes); }

    test::ScriptedClock clock;
    test::TempTree tree;
    test::TempTree state;
    FileTable table;
    RenameSettings settings;
    std::string summary;
};

// Three operations over rows that stay, move, clash and free names for others.
struct Batch {
    const char* label;
    RenameKind kind;
    std::vector<std::string> rows;
    std::vector<std::string> others;
    std::size_t moved;
};

const Batch kBatches[] = {
    {"rename",
     RenameKind::Rename,
     {"d/x.jpg", "d/0003.jpg", "d/z.jpg", "d/y.txt", "e/0005.txt"},
     {"d/0004.txt"},
     3},
    {"move",
     RenameKind::Move,
     {"target/in.jpg", "a/out.jpg", "a/in.jpg", "b/README"},
     {"target/README"},
     3},
    {"ren+mov",
     RenameKind::RenameAndMove,
     {"target/0001.jpg", "a/0002.jpg", "b/x.txt", "c/README"},
     {"target/0003.txt", "target/0004"},
     3},
};

TEST_F(Undo, EveryPathAndEveryByteComeBack) {
    for (const Batch& batch : kBatches) {
        SCOPED_TRACE(batch.label);
        table.clear();
        for (const std::string& other : batch.others) {
            tree.file(std::string(batch.label) + "/" + other, "someone else's");
        }
        for (const std::string& row : batch.rows) {
            addFile(std::string(batch.label) + "/" + row);
        }
        tree.dir(std::string(batch.label) + "/target");
        const FileTable before = table;
        const test::TreeSnapshot files = test::snapshotOf(tree.path());
        EXPECT_EQ(run(batch.kind, kCounter, std::string(batch.label) + "/target"), batch.moved);
        EXPECT_NE(test::snapshotOf(tree.path()), files);

        const UndoOutcome outcome = undo();
        EXPECT_EQ(test::snapshotOf(tree.path()), files);
        EXPECT_EQ(outcome.restored, batch.moved);
        EXPECT_EQ(summary, std::to_string(batch.moved) + " files from " +
                               std::to_string(batch.moved) + " are restored");
        for (std::size_t i = 0; i < table.size(); ++i) {
            EXPECT_EQ(table[i].file(), before[i].file()) << i;
        }
        const std::vector<std::string> statuses = column(fcStatus);
        EXPECT_EQ(std::count(statuses.begin(), statuses.end(), kRestored),
                  static_cast<long>(batch.moved));

        undo();
        EXPECT_EQ(summary, kNothingToUndo);
    }
}

TEST_F(Undo, AcrossFileSystems) {
    test::ScopedTmpfs tmpfs(tree.dir("other"), "16m");
    if (!tmpfs.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    addFile("a/one.jpg");
    addFile("a/two.jpg");
    tree.file("a/big.bin", std::string(3 << 20, 'b'));
    table.append(FileRow{"big.bin", tree.at("a/"), "3145728", "bin", "1.1.2001", "0", "-"});
    tree.file("other/two.jpg", "in the way");  // a time suffix, written down before its move
    const test::TreeSnapshot files = test::snapshotOf(tree.path());
    EXPECT_EQ(run(RenameKind::Move, {}, "other"), 3u);
    EXPECT_THAT(column(fcFileName), ElementsAre("one.jpg", "two (1459123).jpg", "big.bin"));
    undo();
    EXPECT_EQ(summary, "3 files from 3 are restored");
    EXPECT_EQ(test::snapshotOf(tree.path()), files);
}

TEST_F(Undo, NeverReplacesAFileThatTookAnOldName) {
    addFile("d/a.jpg");
    addFile("d/b.jpg");
    addFile("d/c.jpg");
    run(RenameKind::Rename);
    tree.file("d/b.jpg", "new file under the old name");
    undo();
    EXPECT_THAT(column(fcStatus), ElementsAre(kRestored, kNotRestoredTaken, kRestored));
    EXPECT_THAT(column(fcFileName), ElementsAre("a.jpg", "0002.jpg", "c.jpg"));
    EXPECT_EQ(test::readFile(tree.at("d/b.jpg")), "new file under the old name");
    EXPECT_EQ(test::readFile(tree.at("d/0002.jpg")), "contents of d/b.jpg");
    EXPECT_EQ(summary, "2 files from 3 are restored");
}

TEST_F(Undo, FilesChangedOrGoneSinceStay) {
    for (const char* name : {"d/kept.jpg", "d/saved.jpg", "d/grown.jpg", "d/gone.jpg"}) {
        addFile(name);
    }
    run(RenameKind::Rename);
    test::saveAsEditorsDo(tree.at("d/0002.jpg"), "saved again");  // a new inode
    std::ofstream(tree.at("d/0003.jpg"), std::ios::app) << " and more";
    std::filesystem::remove(tree.at("d/0004.jpg"));
    undo();
    EXPECT_THAT(column(fcStatus),
                ElementsAre(kRestored, kNotRestoredChanged, kNotRestoredChanged, kNotRestoredGone));
    EXPECT_EQ(test::readFile(tree.at("d/0002.jpg")), "saved again");
    EXPECT_EQ(test::readFile(tree.at("d/0003.jpg")), "contents of d/grown.jpg and more");
    EXPECT_EQ(summary, "1 files from 4 are restored");
}

// After a kill the journal's last records may be missing; the files those
// moves made are found under their planned names.
TEST_F(Undo, FromAJournalCutShortByAKill) {
    for (int i = 0; i < 40; ++i) {
        addFile("d/f" + std::to_string(100 + i) + ".jpg");
    }
    const test::TreeSnapshot files = test::snapshotOf(tree.path());
    const FileTable before = table;
    run(RenameKind::Rename);
    const std::string whole = test::readFile(journalPath());
    const std::size_t begin = whole.find("begin\n") + 6;
    // Cut right after the batch was written down, in the middle of a record,
    // and with the end lost only.
    for (const std::size_t cut : {begin, begin + 25, whole.size() - 4}) {
        SCOPED_TRACE(cut);
        std::ofstream(journalPath(), std::ios::trunc) << whole;
        cutJournal(cut);
        EXPECT_TRUE(interruptedBatch(journalFolder()));
        table = FileTable();  // a new start: the list is empty
        undo();
        EXPECT_EQ(summary, "40 files from 40 are restored");
        EXPECT_EQ(test::snapshotOf(tree.path()), files);
        EXPECT_FALSE(interruptedBatch(journalFolder()));
        table = before;
        run(RenameKind::Rename);
    }
}

TEST_F(Undo, AnUndoCutShortIsFinishedByTheNext) {
    for (const char* name : {"d/a.jpg", "d/b.jpg", "d/c.jpg"}) {
        addFile(name);
    }
    const test::TreeSnapshot files = test::snapshotOf(tree.path());
    run(RenameKind::Rename);
    // As if killed after taking back the last file.
    ASSERT_TRUE(platform::fileSystem().moveFile(tree.at("d/0003.jpg"), tree.at("d/c.jpg")));
    std::ofstream(journalPath(), std::ios::app) << "undo\n";
    EXPECT_TRUE(interruptedBatch(journalFolder()));
    undo();
    EXPECT_EQ(summary, "3 files from 3 are restored");
    EXPECT_EQ(test::snapshotOf(tree.path()), files);
}

TEST_F(Undo, AnInterruptedBatchKeptIsNotAskedAboutAgainButCanBeUndone) {
    addFile("d/a.jpg");
    run(RenameKind::Rename);
    EXPECT_FALSE(interruptedBatch(journalFolder()));
    const std::string whole = test::readFile(journalPath());
    cutJournal(whole.size() - 4);  // "end\n" lost
    EXPECT_TRUE(interruptedBatch(journalFolder()));
    keepInterruptedBatch(journalFolder());
    EXPECT_FALSE(interruptedBatch(journalFolder()));
    undo();
    EXPECT_EQ(summary, "1 files from 1 are restored");
}

TEST_F(Undo, TheJournalIsPrivateAndHoldsTheLastBatchOnly) {
    std::filesystem::create_directories(journalFolder());
    ::chmod(journalFolder().c_str(), 0755);
    addFile("d/a.jpg");
    run(RenameKind::Rename);
    table.clear();
    addFile("d/b.jpg");
    run(RenameKind::Rename, NamingScheme{});
    struct stat st {};
    ASSERT_EQ(::stat(journalFolder().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    ASSERT_EQ(::stat(journalPath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(journalFolder()),
                            std::filesystem::directory_iterator()),
              1);
    undo();  // the second batch only
    EXPECT_EQ(test::readFile(tree.at("d/b.jpg")), "contents of d/b.jpg");
    EXPECT_EQ(test::readFile(tree.at("d/0001.jpg")), "contents of d/a.jpg");
}

TEST_F(Undo, NothingToUndoWithoutAJournal) {
    addFile("d/a.jpg");
    EXPECT_FALSE(undo().anything);
    EXPECT_EQ(summary, kNothingToUndo);
    EXPECT_FALSE(interruptedBatch(journalFolder()));
}

TEST(BatchRecordText, PathsWithAnyBytesAndCutLines) {
    const std::string odd = "/f/a\tb\\c\nd";
    std::string text(journal::kFirstLine);
    journal::appendBatchLine(text, 2);
    journal::appendFolderLine(text, 0, "/f/");
    journal::appendPlannedLine(text, 0, 0, "a\tb\\c\nd", 0, "new");
    journal::appendPlannedLine(text, 1, 0, "x", 0, "y");
    text += journal::kBegin;
    journal::appendMovedLine(text, 0, MovedIdentity{1, 2, 3, {4, 5}});
    const BatchRecord record = BatchRecord::parse(text + "M\t1\t7");  // the last line cut
    EXPECT_TRUE(record.interrupted);
    ASSERT_EQ(record.moves.size(), 2u);
    EXPECT_EQ(record.moves[0].from, odd);
    EXPECT_EQ(record.moves[0].to, "/f/new");
    EXPECT_EQ(record.moves[0].identity, (MovedIdentity{1, 2, 3, {4, 5}}));
    EXPECT_FALSE(record.moves[1].recorded);  // may have moved: found by its planned name
    EXPECT_EQ(record.moves[1].to, "/f/y");
    EXPECT_FALSE(BatchRecord::parse("something else\nbegin\n").undoable());
}

}  // namespace
}  // namespace folivar
