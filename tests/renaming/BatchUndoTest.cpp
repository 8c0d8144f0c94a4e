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

#include "JournaledBatches.h"
#include "platform/FileSystem.h"
#include "renaming/BatchRecord.h"
#include "support/FaultyFileSystem.h"
#include "support/FileEdits.h"
#include "support/ScopedTmpfs.h"
#include "support/TreeSnapshot.h"

namespace folivar {
namespace {

using testing::ElementsAre;

using test::kCounter;
using Undo = test::JournaledBatches;

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
    const std::string whole = test::readFile(newestJournal());
    const std::size_t moved = afterSources(whole);
    // Cut before the first move was recorded, in the middle of a record, and
    // with the end lost only.
    for (const std::size_t cut : {moved, moved + 25, whole.size() - 4}) {
        SCOPED_TRACE(cut);
        std::ofstream(newestJournal(), std::ios::trunc) << whole;
        cutJournal(cut);
        EXPECT_TRUE(checkJournal(journalFolder()).interrupted);
        table = FileTable();  // a new start: the list is empty
        undo();
        EXPECT_EQ(summary, "40 files from 40 are restored");
        EXPECT_EQ(test::snapshotOf(tree.path()), files);
        EXPECT_FALSE(checkJournal(journalFolder()).interrupted);
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
    std::ofstream(newestJournal(), std::ios::app) << "undo\n";
    EXPECT_TRUE(checkJournal(journalFolder()).interrupted);
    undo();
    EXPECT_EQ(summary, "3 files from 3 are restored");
    EXPECT_EQ(test::snapshotOf(tree.path()), files);
}

// Moves across file systems make new files: a killed batch whose moves were
// never recorded is still taken back, by size and modification time on the
// other device; an undo cut short counts the files it had copied back.
TEST_F(Undo, AcrossFileSystemsAfterKills) {
    test::ScopedTmpfs tmpfs(tree.dir("other"), "16m");
    if (!tmpfs.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    for (const char* name : {"a/1.jpg", "a/2.jpg", "a/3.jpg", "a/4.jpg"}) {
        addFile(name);
    }
    const FileTable before = table;
    const test::TreeSnapshot files = test::snapshotOf(tree.path());
    run(RenameKind::Move, {}, "other");
    const std::string whole = test::readFile(newestJournal());
    cutJournal(afterSources(whole));
    table = FileTable();
    undo();
    EXPECT_EQ(summary, "4 files from 4 are restored");
    EXPECT_EQ(test::snapshotOf(tree.path()), files);

    table = before;
    run(RenameKind::Move, {}, "other");
    // As if killed after taking back the last two.
    for (const char* name : {"3.jpg", "4.jpg"}) {
        ASSERT_TRUE(platform::fileSystem().moveFile(tree.at(std::string("other/") + name),
                                                    tree.at(std::string("a/") + name)));
    }
    std::ofstream(newestJournal(), std::ios::app) << "undo\n";
    undo();
    EXPECT_EQ(summary, "4 files from 4 are restored");
    EXPECT_THAT(column(fcStatus), ElementsAre(kRestored, kRestored, kRestored, kRestored));
    EXPECT_EQ(test::snapshotOf(tree.path()), files);
}

// A killed batch whose moves were never recorded: b.txt went after the scan
// (before the batch, or while it ran) and someone saved an unrelated 2.txt,
// the name planned for b.txt. The undo takes back a.txt and c.txt, and leaves
// 2.txt alone.
TEST_F(Undo, AnUnrecordedMoveIsTakenBackOnlyForThePlannedFile) {
    const NamingScheme numbers{"", FileStructure::Counter, 1, 1};
    for (const std::string folder : {"before/", "during/"}) {
        SCOPED_TRACE(folder);
        table = FileTable();
        for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
            addFile(folder + name);
        }
        const std::string b = tree.at(folder + "b.txt");
        const auto replaceB = [&] {
            std::filesystem::remove(b);
            tree.file(folder + "2.txt", "someone else's");
        };
        test::FaultyFileSystem fs;
        if (folder == "during/") {
            fs.beforeMove([&](const std::string& from, const std::string&) {
                if (from == b) {
                    replaceB();
                }
            });
        } else {
            replaceB();
        }
        run(RenameKind::Rename, numbers);
        const std::string whole = test::readFile(newestJournal());
        cutJournal(afterSources(whole));
        table = FileTable();
        undo();
        EXPECT_EQ(summary, "2 files from 2 are restored");
        EXPECT_EQ(test::readFile(tree.at(folder + "2.txt")), "someone else's");
        EXPECT_FALSE(std::filesystem::exists(b));
        EXPECT_EQ(test::readFile(tree.at(folder + "c.txt")), "contents of " + folder + "c.txt");
    }
}

TEST_F(Undo, AnInterruptedBatchKeptIsNotAskedAboutAgainButCanBeUndone) {
    addFile("d/a.jpg");
    run(RenameKind::Rename);
    EXPECT_FALSE(checkJournal(journalFolder()).interrupted);
    const std::string whole = test::readFile(newestJournal());
    cutJournal(whole.size() - 4);  // "end\n" lost
    const std::optional<InterruptedBatch> interrupted = checkJournal(journalFolder()).interrupted;
    ASSERT_TRUE(interrupted);
    keepInterruptedBatch(journalFolder(), interrupted->number);
    EXPECT_FALSE(checkJournal(journalFolder()).interrupted);
    undo();
    EXPECT_EQ(summary, "1 files from 1 are restored");
}

TEST_F(Undo, TheJournalIsPrivate) {
    std::filesystem::create_directories(journalFolder());
    ::chmod(journalFolder().c_str(), 0755);
    addFile("d/a.jpg");
    run(RenameKind::Rename);
    struct stat st {};
    ASSERT_EQ(::stat(journalFolder().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    for (const auto& entry : std::filesystem::directory_iterator(journalFolder())) {
        ASSERT_EQ(::stat(entry.path().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u) << entry.path();
    }
}

TEST_F(Undo, NothingToUndoWithoutAJournal) {
    addFile("d/a.jpg");
    EXPECT_FALSE(undo().anything);
    EXPECT_EQ(summary, kNothingToUndo);
    EXPECT_FALSE(checkJournal(journalFolder()).interrupted);
}

TEST(BatchRecordText, PathsWithAnyBytesAndCutLines) {
    const std::string odd = "/f/a\tb\\c\nd";
    std::string text(journal::kFirstLine);
    journal::appendBatchLine(text, 3, "2026-12-02 08:14:05");
    journal::appendFolderLine(text, 0, "/f/");
    journal::appendPlannedLine(text, 0, 0, "a\tb\\c\nd", 0, "new");
    journal::appendPlannedLine(text, 1, 0, "x", 0, "y");
    journal::appendPlannedLine(text, 2, 0, "z", 0, "w");
    text += journal::kBegin;
    journal::appendSourceLine(text, 0, MovedIdentity{1, 2, 3, {4, 5}});
    journal::appendSourceLine(text, 1, std::nullopt);
    journal::appendMovedLine(text, 0, MovedIdentity{6, 7, 3, {4, 5}});
    const BatchRecord record = BatchRecord::parse(text + "M\t1\t7");  // the last line cut
    EXPECT_TRUE(record.interrupted());
    EXPECT_EQ(record.when, "2026-12-02 08:14:05");
    EXPECT_EQ(record.planned, 3u);
    EXPECT_THAT(record.folders, ElementsAre("/f/"));
    // Row 2 was never looked at, so it cannot have moved.
    ASSERT_EQ(record.moves.size(), 2u);
    EXPECT_EQ(record.moves[0].from, odd);
    EXPECT_EQ(record.moves[0].to, "/f/new");
    EXPECT_EQ(record.moves[0].identity, (MovedIdentity{6, 7, 3, {4, 5}}));
    EXPECT_EQ(record.moves[0].source, (MovedIdentity{1, 2, 3, {4, 5}}));
    EXPECT_FALSE(record.moves[1].recorded);  // may have moved: found by its planned name
    EXPECT_EQ(record.moves[1].to, "/f/y");
    EXPECT_EQ(record.moves[1].source, std::nullopt);
    EXPECT_FALSE(BatchRecord::parse("something else\nbegin\n").undoable());
}

// A LINK DUPL batch: its links in the order begun, told made or not, and
// its shares; the folders of its links for the question after a kill.
TEST(BatchRecordText, ALinkBatchTellsItsLinksAndShares) {
    const std::string odd = "/f/a\tb\\c\nd";
    std::string text(journal::kFirstLine);
    journal::appendBatchLine(text, 5, "2026-12-02 08:14:05");
    text += journal::kBegin;
    journal::appendSharedLine(text, 0, "/g/shared");
    journal::appendLinkLine(text, 1, odd, "/f/orig", "/f/.a.folivar-linking-1",
                            MovedIdentity{1, 2, 3, {4, 5}}, MovedIdentity{1, 9, 3, {6, 7}});
    journal::appendLinkedLine(text, 1);
    journal::appendLinkLine(text, 4, "/h/x", "/f/orig", "/h/.x.folivar-linking-2",
                            MovedIdentity{1, 8, 3, {4, 5}}, MovedIdentity{1, 9, 3, {6, 7}});
    const BatchRecord record = BatchRecord::parse(text + "K\t");  // the last line cut
    EXPECT_TRUE(record.interrupted());
    EXPECT_TRUE(record.moves.empty());
    EXPECT_EQ(record.planned, 2u);
    EXPECT_THAT(record.folders, ElementsAre("/f/", "/h/"));
    ASSERT_EQ(record.shares.size(), 1u);
    EXPECT_EQ(record.shares[0].path, "/g/shared");
    ASSERT_EQ(record.links.size(), 2u);
    EXPECT_EQ(record.links[0].path, odd);
    EXPECT_EQ(record.links[0].original, "/f/orig");
    EXPECT_EQ(record.links[0].aside, "/f/.a.folivar-linking-1");
    EXPECT_EQ(record.links[0].duplicate, (MovedIdentity{1, 2, 3, {4, 5}}));
    EXPECT_EQ(record.links[0].originalFile, (MovedIdentity{1, 9, 3, {6, 7}}));
    EXPECT_TRUE(record.links[0].recorded);
    EXPECT_EQ(record.links[1].row, 4u);
    EXPECT_FALSE(record.links[1].recorded);
}

// The state the last line of a journal's tail tells is the one its whole
// text tells: the walk back through the history reads tails only.
TEST(BatchRecordText, TheTailTellsTheStateTheWholeTells) {
    std::string text(journal::kFirstLine);
    journal::appendBatchLine(text, 1, "");
    journal::appendFolderLine(text, 0, "/f/");
    journal::appendPlannedLine(text, 0, 0, "x", 0, "y");
    for (const std::string_view line :
         {journal::kBegin, std::string_view("S\t0\t-\n"), std::string_view("I\t0\t/f/z\n"),
          std::string_view("M\t0\n"), std::string_view("K\t0\n"), journal::kEnd, journal::kKept,
          journal::kUndo, journal::kUndone, journal::kVoid}) {
        text += line;
        for (const std::size_t tail : {std::size_t{8}, std::size_t{64}}) {
            EXPECT_EQ(journal::stateOfTail(
                          std::string_view(text).substr(text.size() - std::min(tail, text.size()))),
                      BatchRecord::parse(text).state)
                << line << tail;
        }
        // A line cut short by a kill changes nothing.
        EXPECT_EQ(journal::stateOfTail(text + "und"), BatchRecord::parse(text + "und").state);
    }
}

}  // namespace
}  // namespace folivar
