// A child renames 10,000 files and their side files through the journal,
// also into folders by date, and is killed with SIGKILL at a random moment,
// again and again: after each kill the undo from the journal brings every
// file back to its original name with its own contents, and takes away the
// folders the batch made.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <new>
#include <random>
#include <string>
#include <thread>

#include "renaming/BatchJournal.h"
#include "renaming/BatchUndo.h"
#include "support/TempTree.h"
#include "support/TreeSnapshot.h"

namespace folivar {
namespace {

using Counter = std::atomic<std::uint64_t>;

constexpr int kFiles = 10000;

class UndoCrash : public testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < kFiles; ++i) {
            const std::string name = "f" + std::to_string(i) + ".jpg";
            tree.file("d/" + name, "contents of file " + std::to_string(i));
            rows.append(FileRow{name, tree.at("d/"), "1", "jpg", "1.1.2001", "0", "-"});
            // Taken over twenty years, for the rounds into folders by date.
            const std::time_t taken = test::localTime(2000 + i % 20, 1 + i % 12, 1 + i % 28);
            tree.setTimes("d/" + name, taken, taken);
            if (i % 7 == 0) {
                tree.file("d/f" + std::to_string(i) + ".xmp", "side file " + std::to_string(i));
            }
        }
        // Names a move into the target finds taken: those rows get the time
        // of day, and their exact names are written down before they move.
        for (int i = 1; i <= kFiles; i += 997) {
            tree.file("target/" + std::to_string(i) + ".jpg", "already there");
        }
    }

    // Even rounds rename in place, odd ones rename and move into the target,
    // every fourth into folders by date it makes; side files go along.
    RenameSettings settingsOf(int round, const FileTable& table) const {
        const NamingScheme scheme{"r" + std::to_string(round) + "_", FileStructure::PrefixCounter,
                                  1, 1};
        if (round % 2 == 0) {
            return withSideFiles(RenameSettings{RenameKind::Rename, scheme, {}}, table);
        }
        const std::string target = tree.at(round % 4 == 3 ? "target/{yyyy}/{MM}" : "target");
        return withSideFiles(RenameSettings{RenameKind::RenameAndMove,
                                            NamingScheme{"", FileStructure::Counter, 1, 1}, target},
                             table);
    }

    // Rows the child's batch has got through, counted by its progress sink in
    // a page the parent reads too.
    class RowsDone {
    public:
        RowsDone() {
            void* page = ::mmap(nullptr, sizeof(Counter), PROT_READ | PROT_WRITE,
                                MAP_SHARED | MAP_ANONYMOUS, -1, 0);
            EXPECT_NE(page, MAP_FAILED);
            counter_ = new (page) Counter(0);
        }
        ~RowsDone() { ::munmap(counter_, sizeof(Counter)); }
        RowsDone(const RowsDone&) = delete;
        RowsDone& operator=(const RowsDone&) = delete;

        std::uint64_t now() const { return counter_->load(); }
        void reset() { counter_->store(0); }

        // The child's sink: each row it gets through is counted.
        class Sink final : public ProgressSink {
        public:
            explicit Sink(Counter& counter) : counter_(counter) {}
            void status(const std::string&) override {}
            void percent(int) override {}
            void working() override { counter_.fetch_add(1); }

        private:
            Counter& counter_;
        };
        Sink sink() { return Sink(*counter_); }

    private:
        Counter* counter_ = nullptr;
    };

    // Runs the batch in a child; kills it once it has got through killAt rows,
    // unless that is negative or the batch ends first. True when killed.
    bool batchInAChild(int round, std::int64_t killAt) {
        done.reset();
        const pid_t child = ::fork();
        if (child == 0) {
            FileTable table = rows;
            const RenameSettings settings = settingsOf(round, table);
            std::string why;
            std::unique_ptr<BatchJournal> journal =
                BatchJournal::begin(journalFolder(), table, settings, why);
            if (!journal) {
                ::_exit(2);
            }
            RowsDone::Sink sink = done.sink();
            renameRows(table, settings, sink, *journal);
            journal->end();
            ::_exit(0);
        }
        int status = 0;
        pid_t reaped = 0;
        if (killAt >= 0) {
            while ((reaped = ::waitpid(child, &status, WNOHANG)) == 0 &&
                   done.now() < static_cast<std::uint64_t>(killAt)) {
                std::this_thread::sleep_for(std::chrono::microseconds(50));
            }
            if (reaped == 0) {
                ::kill(child, SIGKILL);
            }
        }
        if (reaped == 0) {
            ::waitpid(child, &status, 0);
        }
        EXPECT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 0))
            << "the batch failed: " << status;
        return WIFSIGNALED(status);
    }

    std::string journalFolder() const { return state.path() + "/folivar"; }

    test::TempTree tree;
    test::TempTree state;
    FileTable rows;
    RowsDone done;
};

// Each kill lands after a number of rows drawn at random, from before the
// first move to well before the last, whatever the machine's speed: the
// rounds go on until enough kills have landed in the middle of a batch.
TEST_F(UndoCrash, KilledAtRandomMomentsTheUndoBringsEveryFileBack) {
    const test::TreeSnapshot original = test::snapshotOf(tree.path());
    // A whole batch first, undone whole.
    ASSERT_FALSE(batchInAChild(0, -1));
    FileTable none;
    undoBatch(journalFolder(), none, ProgressSink::silent());
    ASSERT_EQ(test::snapshotOf(tree.path()), original);

    constexpr int kKills = 12;
    constexpr int kMostRounds = 3 * kKills;
    std::mt19937 random(20261209);
    int rounds = 0;
    int killedMidway = 0;
    while (killedMidway < kKills && rounds < kMostRounds) {
        ++rounds;
        const auto killAt = static_cast<std::int64_t>(random() % (kFiles * 9 / 10));
        if (batchInAChild(rounds, killAt)) {
            ++killedMidway;
        }
        undoBatch(journalFolder(), none, ProgressSink::silent());
        const test::TreeSnapshot after = test::snapshotOf(tree.path());
        ASSERT_EQ(after.size(), original.size()) << "round " << rounds;
        ASSERT_TRUE(after == original) << "round " << rounds << ": not every file came back";
    }
    EXPECT_EQ(killedMidway, kKills) << "in " << rounds << " rounds the batch mostly ended first";
    std::cout << rounds << " rounds, " << killedMidway << " killed before the batch ended\n";
}

}  // namespace
}  // namespace folivar
