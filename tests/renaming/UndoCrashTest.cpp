// A child renames 10,000 files through the journal and is killed with SIGKILL
// at a random moment, again and again: after each kill the undo from the
// journal brings every file back to its original name with its own contents.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "renaming/BatchJournal.h"
#include "renaming/BatchUndo.h"
#include "support/TempTree.h"
#include "support/TreeSnapshot.h"

namespace folivar {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFiles = 10000;

class UndoCrash : public testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < kFiles; ++i) {
            const std::string name = "f" + std::to_string(i) + ".jpg";
            tree.file("d/" + name, "contents of file " + std::to_string(i));
            rows.append(FileRow{name, tree.at("d/"), "1", "jpg", "1.1.2001", "0", "-"});
        }
        // Names a move into the target finds taken: those rows get the time
        // of day, and their exact names are written down before they move.
        for (int i = 1; i <= kFiles; i += 997) {
            tree.file("target/" + std::to_string(i) + ".jpg", "already there");
        }
    }

    // Even rounds rename in place, odd ones rename and move into the target.
    RenameSettings settingsOf(int round) const {
        const NamingScheme scheme{"r" + std::to_string(round) + "_", FileStructure::PrefixCounter,
                                  1, 1};
        if (round % 2 == 0) {
            return RenameSettings{RenameKind::Rename, scheme, {}};
        }
        return RenameSettings{RenameKind::RenameAndMove,
                              NamingScheme{"", FileStructure::Counter, 1, 1}, tree.at("target")};
    }

    struct Ended {
        bool killed = false;            // before the batch ended
        std::chrono::microseconds ran;  // from the start of the batch until it was reaped
    };

    // Runs the batch in a child; kills it after delay unless that is negative.
    Ended batchInAChild(int round, std::chrono::microseconds delay) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(ready[0]);
            FileTable table = rows;
            const RenameSettings settings = settingsOf(round);
            std::string why;
            ::write(ready[1], "r", 1);
            std::unique_ptr<BatchJournal> journal =
                BatchJournal::begin(journalFolder(), table, settings, why);
            if (!journal) {
                ::_exit(2);
            }
            renameRows(table, settings, ProgressSink::silent(), *journal);
            journal->end();
            ::_exit(0);
        }
        ::close(ready[1]);
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        const auto started = Clock::now();
        if (delay.count() >= 0) {
            std::this_thread::sleep_for(delay);
            ::kill(child, SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 0))
            << "the batch failed: " << status;
        return {WIFSIGNALED(status),
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started)};
    }

    std::string journalFolder() const { return state.path() + "/folivar"; }

    // Rounds start until then, counted from before the files are made.
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(30);

    test::TempTree tree;
    test::TempTree state;
    FileTable rows;
};

// Each round takes a second or so on a busy machine (the journal waits for
// the disk): the rounds stop after a fixed time, so that the whole test,
// making and removing the files included, stays well under a minute.
TEST_F(UndoCrash, KilledAtRandomMomentsTheUndoBringsEveryFileBack) {
    const test::TreeSnapshot original = test::snapshotOf(tree.path());
    // One whole batch first, to know how long one takes.
    auto span = batchInAChild(0, std::chrono::microseconds(-1)).ran;
    FileTable none;
    undoBatch(journalFolder(), none, ProgressSink::silent());
    ASSERT_EQ(test::snapshotOf(tree.path()), original);

    std::mt19937 random(20261209);
    int rounds = 0;
    int killedMidway = 0;
    while (rounds < 40 && Clock::now() < deadline) {
        ++rounds;
        const auto delay = std::chrono::microseconds(
            static_cast<std::int64_t>(random() % static_cast<std::uint64_t>(span.count() + 1)));
        const Ended ended = batchInAChild(rounds, delay);
        if (ended.killed) {
            ++killedMidway;
        } else {
            // The first batch ran slower than this one: kill sooner.
            span = std::min(span, ended.ran);
        }
        undoBatch(journalFolder(), none, ProgressSink::silent());
        const test::TreeSnapshot after = test::snapshotOf(tree.path());
        ASSERT_EQ(after.size(), original.size()) << "round " << rounds;
        ASSERT_TRUE(after == original) << "round " << rounds << ": not every file came back";
    }
    EXPECT_GE(killedMidway, 5) << "the kills came too late to test anything";
    std::cout << rounds << " rounds, " << killedMidway << " killed before the batch ended; "
              << "kills within " << span.count() / 1000 << " ms of the start\n";
}

}  // namespace
}  // namespace folivar
