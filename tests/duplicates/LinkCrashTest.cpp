// LINK DUPL in a child killed at random moments, again and again: whatever
// the moment, every name is there and reads what it read, a hidden name
// left by a link in the middle holds one of the copies; the undo of the
// journaled run then gives every name its own file again and leaves no
// hidden name, and a run after it finishes the work.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <new>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ListRows.h"
#include "duplicates/DuplicateFinder.h"
#include "duplicates/LinkJournal.h"
#include "renaming/BatchUndo.h"
#include "support/FileEdits.h"
#include "support/ScratchVolume.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

namespace fs = std::filesystem;
using Counter = std::atomic<std::uint64_t>;

// Steps told to the recorder, in a page the parent reads too, and passed on
// to the journal.
class StepCounter final : public LinkRecorder {
public:
    StepCounter() {
        void* page = ::mmap(nullptr, sizeof(Counter), PROT_READ | PROT_WRITE,
                            MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        EXPECT_NE(page, MAP_FAILED);
        counter_ = new (page) Counter(0);
    }
    ~StepCounter() override { ::munmap(counter_, sizeof(Counter)); }
    StepCounter(const StepCounter&) = delete;
    StepCounter& operator=(const StepCounter&) = delete;

    std::uint64_t now() const { return counter_->load(); }
    void reset() { counter_->store(0); }
    void passTo(LinkRecorder& journal) { journal_ = &journal; }
    bool before(const LinkStep& step) override {
        counter_->fetch_add(1);
        return journal_->before(step);
    }
    void after(const LinkStep& step, LinkResult result) override {
        counter_->fetch_add(1);
        journal_->after(step, result);
    }

private:
    Counter* counter_ = nullptr;
    LinkRecorder* journal_ = &LinkRecorder::none();
};

constexpr int kGroups = 30;

class LinkCrash : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (!volume.mounted()) {
            GTEST_SKIP() << GetParam() << ": " << volume.why();
        }
    }

    // Each group an original and two copies in other folders, of sizes from
    // empty to past one chunk of a share; contents by path.
    std::map<std::string, std::string> makeRound(const std::string& round, std::mt19937& random) {
        std::map<std::string, std::string> files;
        for (int g = 0; g < kGroups; ++g) {
            const std::size_t size = g == 0 ? (17u << 20) : random() % 200000;
            std::string data(size, '\0');
            for (char& c : data) {
                c = static_cast<char>(random());
            }
            const std::string name = "g" + std::to_string(g);
            for (const char* folder : {"/a/", "/b/", "/c/"}) {
                files[volume.file(round + folder + name, data)] = data;
            }
        }
        return files;
    }

    // A whole LINK DUPL over the files below root, as after a scan of it.
    static void linkAll(const std::string& root, LinkRecorder& recorder,
                        LinkJournal* journal = nullptr) {
        FileTable table;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (entry.is_regular_file() && !entry.path().filename().string().starts_with(".")) {
                test::addRow(table, entry.path().string());
            }
        }
        DuplicateFinder finder;
        finder.search(table, ProgressSink::silent());
        finder.linkDuplicates(table, ProgressSink::silent(), true, recorder);
        if (journal != nullptr) {
            journal->end();
        }
    }

    // After the undo: every name its own file, no hidden name left.
    static std::vector<std::string> linksLeft(const std::string& root) {
        std::vector<std::string> found;
        std::map<std::pair<std::uint64_t, std::uint64_t>, std::string> inodes;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const std::string path = entry.path().string();
            struct stat status {};
            if (!entry.is_regular_file() || ::lstat(path.c_str(), &status) != 0) {
                continue;
            }
            if (entry.path().filename().string().starts_with(".")) {
                found.push_back("hidden name left: " + path);
            }
            const auto [at, added] = inodes.emplace(std::pair{status.st_dev, status.st_ino}, path);
            if (!added) {
                found.push_back("one file: " + at->second + " and " + path);
            }
        }
        return found;
    }

    // Every name reads what it read; a hidden name is a link's and holds a copy.
    static std::vector<std::string> problems(const std::string& root,
                                             const std::map<std::string, std::string>& files) {
        std::vector<std::string> found;
        std::set<std::string> contents;
        for (const auto& [path, data] : files) {
            contents.insert(data);
            if (!fs::exists(path) || test::contentsOf(path) != data) {
                found.push_back("lost or changed: " + path);
            }
        }
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const std::string name = entry.path().filename().string();
            if (!name.starts_with(".")) {
                continue;
            }
            if (name.find(".folivar-linking-") == std::string::npos) {
                found.push_back("unexplained hidden name " + name);
            } else if (contents.count(test::contentsOf(entry.path().string())) == 0) {
                found.push_back("hidden name holds no copy: " + name);
            }
        }
        return found;
    }

    std::string journalFolder() const { return state.path() + "/folivar"; }

    test::ScratchVolume volume{GetParam()};
    test::TempTree state;
    StepCounter steps;
};

TEST_P(LinkCrash, KilledAtRandomMomentsLosesNoNameAndNoContents) {
    constexpr int kKills = 12;
    constexpr int kMostRounds = 3 * kKills;
    std::mt19937 random(20250311);
    int rounds = 0;
    int killedMidway = 0;
    int hiddenLeft = 0;  // kills that landed inside a link
    std::size_t restored = 0;
    while (killedMidway < kKills && rounds < kMostRounds) {
        const std::string round = "round" + std::to_string(rounds);
        const std::string root = volume.at(round);
        const auto files = makeRound(round, random);
        // Two steps for each copy at most.
        const std::uint64_t killAt = 1 + random() % (4 * kGroups);
        steps.reset();
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            LinkJournal::Start start{};
            std::string why;
            const auto journal = LinkJournal::begin(journalFolder(), 0, start, why);
            if (!journal) {
                ::_exit(1);
            }
            steps.passTo(*journal);
            linkAll(root, steps, journal.get());
            ::_exit(0);
        }
        int status = 0;
        pid_t reaped = 0;
        while ((reaped = ::waitpid(child, &status, WNOHANG)) == 0 && steps.now() < killAt) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        if (reaped == 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
        }
        killedMidway += WIFSIGNALED(status) ? 1 : 0;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            hiddenLeft += entry.path().filename().string().starts_with(".") ? 1 : 0;
        }
        EXPECT_EQ(problems(root, files), std::vector<std::string>{})
            << "round " << rounds << " after a kill at step " << killAt;

        FileTable none;
        const UndoOutcome undone = undoBatch(journalFolder(), none, ProgressSink::silent());
        EXPECT_EQ(undone.restored, undone.moves) << "round " << rounds;
        restored += undone.restored;
        EXPECT_EQ(problems(root, files), std::vector<std::string>{}) << "undo of round " << rounds;
        EXPECT_EQ(linksLeft(root), std::vector<std::string>{}) << "undo of round " << rounds;

        linkAll(root, LinkRecorder::none());
        EXPECT_EQ(problems(root, files), std::vector<std::string>{}) << "round " << rounds;
        fs::remove_all(root);
        ++rounds;
        if (HasFailure()) {
            return;
        }
    }
    EXPECT_EQ(killedMidway, kKills) << "in " << rounds << " rounds the run mostly ended first";
    std::cout << rounds << " rounds, " << killedMidway << " killed before the run ended, "
              << hiddenLeft << " inside a link, " << restored << " files restored by the undo\n";
}

INSTANTIATE_TEST_SUITE_P(SharingAndLinking, LinkCrash, testing::Values("btrfs", "ext4"));

}  // namespace
}  // namespace folivar
