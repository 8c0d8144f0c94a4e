// The journal keeps the last batches and an undo walks back through them;
// one batch or undo at a time across instances; a batch that cannot be
// journaled runs only when agreed to, and no undo reaches past it; whatever
// stands at a journal's path instead of a file of the user's makes the
// journal unusable, and says so, without waiting.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "JournaledBatches.h"
#include "platform/FileSystem.h"
#include "renaming/BatchJournal.h"
#include "renaming/BatchStart.h"
#include "renaming/JournalHistory.h"
#include "support/ScopedTmpfs.h"
#include "support/TreeSnapshot.h"

namespace folivar {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;

using History = test::JournaledBatches;

const NamingScheme kPrefix2024{"2024_", FileStructure::PrefixOldName, 4, 1};

// RENAME ran twice (a double click): two undos give the first name back.
TEST_F(History, RepeatedUndosWalkBackNewestFirst) {
    addFile("d/beach.jpg");
    run(RenameKind::Rename, kPrefix2024);
    run(RenameKind::Rename, kPrefix2024);
    EXPECT_THAT(column(fcFileName), ElementsAre("2024_2024_beach.jpg"));
    undo();
    EXPECT_THAT(column(fcFileName), ElementsAre("2024_beach.jpg"));
    undo();
    EXPECT_THAT(column(fcFileName), ElementsAre("beach.jpg"));
    EXPECT_EQ(test::readFile(tree.at("d/beach.jpg")), "contents of d/beach.jpg");
    undo();
    EXPECT_EQ(summary, kNothingToUndo);
}

TEST_F(History, KeepsTheLastBatchesOnly) {
    addFile("d/f.jpg");
    const NamingScheme once{"x", FileStructure::PrefixOldName, 4, 1};
    for (std::size_t i = 0; i < JournalHistory::kKept + 2; ++i) {
        run(RenameKind::Rename, once);
    }
    EXPECT_EQ(JournalHistory(journalFolder()).entries().size(), JournalHistory::kKept);
    for (std::size_t i = 0; i < JournalHistory::kKept; ++i) {
        undo();
    }
    EXPECT_THAT(column(fcFileName), ElementsAre("xxf.jpg"));
    undo();
    EXPECT_EQ(summary, kNothingToUndo);
}

// The one journal of an older version is the oldest batch of the history.
TEST_F(History, TheJournalOfAnOlderVersionComesLast) {
    addFile("d/old.jpg");
    ASSERT_TRUE(platform::fileSystem().moveFile(tree.at("d/old.jpg"), tree.at("d/new.jpg")));
    std::filesystem::create_directories(journalFolder());
    std::ofstream(journalFolder() + "/journal")
        << "folivar undo journal 1\nbatch\t1\nF\t0\t" << tree.at("d/")
        << "\nP\t0\t0\told.jpg\t0\tnew.jpg\nbegin\nM\t0\t-\nend\n";
    table = FileTable();
    addFile("d/beach.jpg");
    run(RenameKind::Rename, kPrefix2024);
    undo();
    undo();
    EXPECT_EQ(summary, "1 files from 1 are restored");
    EXPECT_EQ(test::readFile(tree.at("d/beach.jpg")), "contents of d/beach.jpg");
    EXPECT_EQ(test::readFile(tree.at("d/old.jpg")), "contents of d/old.jpg");
}

// Another instance's batch, still running: not called interrupted, and no
// undo or batch runs beside it. Once its process is gone, it is interrupted.
TEST_F(History, OneBatchOrUndoAtATimeAcrossInstances) {
    for (const char* name : {"d/a.jpg", "d/b.jpg", "d/c.jpg"}) {
        addFile(name);
    }
    const test::TreeSnapshot files = test::snapshotOf(tree.path());
    int renamed[2];
    int finish[2];
    ASSERT_EQ(::pipe(renamed), 0);
    ASSERT_EQ(::pipe(finish), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const RenameSettings rename{RenameKind::Rename, test::kCounter, {}};
        std::string why;
        std::unique_ptr<BatchJournal> journal =
            BatchJournal::begin(journalFolder(), table, rename, why);
        if (!journal) {
            ::_exit(2);
        }
        renameRows(table, rename, ProgressSink::silent(), *journal);
        char byte = 'r';
        if (::write(renamed[1], &byte, 1) != 1 || ::read(finish[0], &byte, 1) < 0) {
            ::_exit(3);
        }
        ::_exit(0);  // never ended, as when killed
    }
    char byte = 0;
    ASSERT_EQ(::read(renamed[0], &byte, 1), 1);
    const test::TreeSnapshot moved = test::snapshotOf(tree.path());
    EXPECT_NE(moved, files);

    EXPECT_FALSE(checkJournal(journalFolder()).interrupted);
    undo();
    EXPECT_EQ(summary, kJournalBusy);
    const BatchStart other = BatchStart::prepare(
        journalFolder(), table, RenameSettings{RenameKind::Rename, kPrefix2024, {}});
    EXPECT_EQ(other.state(), BatchStart::State::Busy);
    EXPECT_FALSE(other.mayRun());
    EXPECT_EQ(test::snapshotOf(tree.path()), moved);
    EXPECT_EQ(JournalHistory(journalFolder()).entries().size(), 1u);

    ASSERT_EQ(::write(finish[1], &byte, 1), 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    const std::optional<InterruptedBatch> interrupted = checkJournal(journalFolder()).interrupted;
    ASSERT_TRUE(interrupted);
    EXPECT_EQ(describe(*interrupted),
              "3 files in " + tree.at("d/") + ", begun 2026-12-08 14:05:09");
    undo();
    EXPECT_EQ(summary, "3 files from 3 are restored");
    EXPECT_EQ(test::snapshotOf(tree.path()), files);
}

// The disk is full: the batch runs only once the user agreed, and then the
// batch before it is out of the undo's reach, after a restart too.
TEST_F(History, ABatchWithoutJournalPutsTheOlderOnesOutOfReach) {
    test::ScopedTmpfs disk(state.path(), "256k");
    if (!disk.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    addFile("d/a.jpg");
    run(RenameKind::Rename);
    {
        std::ofstream filler(state.at("filler"));
        const std::string block(4096, 'f');
        while (filler << block && filler.flush()) {
        }
    }
    {
        BatchStart start = BatchStart::prepare(journalFolder(), table,
                                               RenameSettings{RenameKind::Rename, kPrefix2024, {}});
        ASSERT_EQ(start.state(), BatchStart::State::Unjournaled);
        EXPECT_THAT(start.why(), HasSubstr("No space left on device"));
        EXPECT_FALSE(start.mayRun());
        start.runWithoutUndo();
        ASSERT_TRUE(start.mayRun());
        EXPECT_EQ(start.lowestInReach(), 0u);  // marked on disk
        renameRows(table, start.settings(), ProgressSink::silent(), start.names());
        start.end();
    }
    EXPECT_THAT(column(fcFileName), ElementsAre("2024_0001.jpg"));
    undo();
    EXPECT_EQ(summary, kNothingToUndo);
    EXPECT_EQ(test::readFile(tree.at("d/2024_0001.jpg")), "contents of d/a.jpg");
}

// A FIFO, a link or someone else's file where a journal's file should be.
TEST_F(History, ANonFileAtAJournalPathMakesItUnusableWithoutWaiting) {
    addFile("d/a.jpg");
    run(RenameKind::Rename);
    const std::string batch = newestJournal();
    const std::string lock = journalFolder() + "/lock";
    const std::string newer = journalFolder() + "/batch-2";
    const struct {
        const char* label;
        std::string path;
        std::function<bool(const std::string&)> make;
    } cases[] = {
        {"a FIFO as the lock", lock,
         [](const std::string& p) { return ::mkfifo(p.c_str(), 0600) == 0; }},
        {"a FIFO as a batch", newer,
         [](const std::string& p) { return ::mkfifo(p.c_str(), 0600) == 0; }},
        {"a link as a batch", newer,
         [&](const std::string& p) { return ::symlink(batch.c_str(), p.c_str()) == 0; }},
        {"someone else's batch", newer,
         [&](const std::string& p) {
             std::filesystem::copy_file(batch, p);
             return ::chown(p.c_str(), 65534, 65534) == 0;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::filesystem::remove(c.path);
        if (!c.make(c.path)) {
            std::filesystem::remove(c.path);
            continue;  // not root: no file can be given away
        }
        const JournalCheck check = checkJournal(journalFolder());
        EXPECT_EQ(check.unusable, unusableJournal(c.path + " is not a regular file of yours"));
        EXPECT_FALSE(check.interrupted);
        undo();
        EXPECT_EQ(summary, check.unusable);
        EXPECT_THAT(column(fcFileName), ElementsAre("0001.jpg"));
        if (c.path == lock) {
            const BatchStart start = BatchStart::prepare(
                journalFolder(), table, RenameSettings{RenameKind::Rename, kPrefix2024, {}});
            EXPECT_EQ(start.state(), BatchStart::State::Unjournaled);
            EXPECT_THAT(start.why(), StartsWith(lock));
        }
        std::filesystem::remove(c.path);
    }
    undo();
    EXPECT_EQ(summary, "1 files from 1 are restored");
}

TEST(InterruptedBatchText, SaysHowManyFilesWhereAndWhen) {
    const std::string when = "2026-12-02 08:14:05";
    const struct {
        InterruptedBatch batch;
        std::string text;
    } cases[] = {
        {{1, 1, {"/a/"}, when}, "1 file in /a/, begun 2026-12-02 08:14:05"},
        {{1, 3, {"/a/", "/b/"}, ""}, "3 files in /a/ and /b/"},
        {{1, 9, {"/a/", "/b/", "/c/"}, when}, "9 files in /a/, /b/ and /c/, begun " + when},
        {{1, 20, {"/a/", "/b/", "/c/", "/d/"}, ""}, "20 files in /a/, /b/, /c/ and 1 more folder"},
        {{1, 20, {"/a/", "/b/", "/c/", "/d/", "/e/"}, ""},
         "20 files in /a/, /b/, /c/ and 2 more folders"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(describe(c.batch), c.text);
    }
}

}  // namespace
}  // namespace folivar
