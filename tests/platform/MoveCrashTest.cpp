// A batch of moves across file systems killed at random moments, many times:
// whatever the moment, every file's contents still exist, no final name holds
// a partial file, and running the batch again finishes it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/UnpublishedCopy.h"
#include "support/FileEdits.h"
#include "support/ScopedTmpfs.h"
#include "support/TempTree.h"

namespace folivar::platform {
namespace {

namespace fs = std::filesystem;

using Hash = std::size_t;

Hash hashOf(const fs::path& path) {
    return std::hash<std::string>{}(test::contentsOf(path.string()));
}

bool isTemporary(const std::string& name) {
    return !name.empty() && name[0] == '.';
}

// Sizes from empty to several MiB, so a kill can land in any phase of a move.
constexpr std::size_t kSizes[] = {0, 1, 4095, 65537, 1 << 20, (3 << 20) + 17, 12 << 20};

// One round's files, each of its own contents; their hashes by name.
std::map<std::string, Hash> makeBatch(const std::string& folder, std::mt19937& random) {
    std::map<std::string, Hash> batch;
    fs::create_directories(folder);
    int index = 0;
    for (const std::size_t size : kSizes) {
        std::string contents(size, '\0');
        for (std::size_t i = 0; i + 4 <= size; i += 4) {
            const std::uint32_t word = static_cast<std::uint32_t>(random());
            std::memcpy(contents.data() + i, &word, 4);
        }
        if (!contents.empty()) {
            contents.back() = static_cast<char>(index);  // the 1-byte file too
        }
        const std::string name = "file" + std::to_string(index++) + ".bin";
        std::ofstream(folder + "/" + name, std::ios::binary) << contents;
        batch[name] = std::hash<std::string>{}(contents);
    }
    return batch;
}

// The batch: every file still under its own name in from goes to to, under a
// new name where its name is taken there (a move that ran before the kill).
void runBatch(const std::string& from, const std::string& to) {
    for (const auto& entry : fs::directory_iterator(from)) {
        const std::string name = entry.path().filename().string();
        if (isTemporary(name)) {
            continue;
        }
        std::string target = to + "/" + name;
        for (int n = 2; fileSystem().fileExists(target); ++n) {
            target = to + "/" + name + "." + std::to_string(n);
        }
        fileSystem().moveFile(from + "/" + name, target);
    }
}

struct Seen {
    std::multiset<Hash> finalNames;  // under final names, in either folder
    std::multiset<Hash> hidden;      // under temporary names
    std::vector<std::string> problems;
};

Seen look(const std::string& from, const std::string& to,
          const std::map<std::string, Hash>& batch) {
    std::set<Hash> originals;
    for (const auto& [name, hash] : batch) {
        originals.insert(hash);
    }
    Seen seen;
    for (const std::string& folder : {from, to}) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            const Hash hash = hashOf(entry.path());
            if (isTemporary(name)) {
                seen.hidden.insert(hash);
                const bool known = name.find(".folivar-partial-") != std::string::npos ||
                                   name.find(".folivar-removing-") != std::string::npos;
                if (!known) {
                    seen.problems.push_back("unexplained temporary " + name);
                }
                continue;
            }
            seen.finalNames.insert(hash);
            if (originals.count(hash) == 0) {
                seen.problems.push_back("partial or foreign file under a final name: " + folder +
                                        "/" + name);
            }
        }
    }
    for (const auto& [name, hash] : batch) {
        if (seen.finalNames.count(hash) == 0 && seen.hidden.count(hash) == 0) {
            seen.problems.push_back("contents of " + name + " lost");
        }
    }
    return seen;
}

// Bytes in use on the file system of folder. On a tmpfs every copy the
// batch makes there, named or not, adds to it as its data is written.
std::uint64_t bytesInUse(const std::string& folder) {
    struct statvfs fs {};
    EXPECT_EQ(::statvfs(folder.c_str(), &fs), 0) << folder;
    return static_cast<std::uint64_t>(fs.f_blocks - fs.f_bfree) * fs.f_frsize;
}

// Where a kill is to land: once this many bytes of the round's copies are
// written. Half the rounds take a point inside a file's data, the others the
// moment a file's last bytes are in, when the copy is flushed, published and
// its source taken away.
std::uint64_t killPoint(std::mt19937& random) {
    constexpr std::uint64_t kPage = 4096;  // a tmpfs counts whole pages
    std::vector<std::uint64_t> ends;
    std::uint64_t total = 0;
    for (const std::size_t size : kSizes) {
        total += (size + kPage - 1) / kPage * kPage;
        ends.push_back(total);
    }
    if (random() % 2 == 0) {
        return random() % total;
    }
    return ends[random() % (ends.size() - 1)];  // not after the last: the batch has ended
}

// The kill lands where the batch has got to, not after a time, so a slow
// machine makes the test slower, never different: the rounds go on until
// enough kills have landed in the middle of a batch.
TEST(MoveCrash, KilledAtRandomMomentsLosesNothingAndFinishesWhenRunAgain) {
    test::TempTree tree;
    test::ScopedTmpfs tmpfs(tree.dir("other"), "256m");
    if (!tmpfs.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here (needs the right to mount): no crash test";
    }
    constexpr int kKills = 24;
    constexpr int kMostRounds = 3 * kKills;
    std::mt19937 random(20240611);
    int rounds = 0;
    int killedMidway = 0;
    while (killedMidway < kKills && rounds < kMostRounds) {
        const std::string from = tree.at("src" + std::to_string(rounds));
        const std::string to = tree.at("other/dst" + std::to_string(rounds));
        fs::create_directories(to);
        const auto batch = makeBatch(from, random);
        const bool unnamed = rounds % 2 == 0;  // both ways of keeping the copy unnamed
        const std::uint64_t until = bytesInUse(to) + killPoint(random);

        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            UnpublishedCopy::setUnnamedAllowed(unnamed);
            runBatch(from, to);
            ::_exit(0);
        }
        int status = 0;
        pid_t reaped = 0;
        while ((reaped = ::waitpid(child, &status, WNOHANG)) == 0 && bytesInUse(to) < until) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
        if (reaped == 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
        }
        killedMidway += WIFSIGNALED(status) ? 1 : 0;

        const Seen afterKill = look(from, to, batch);
        EXPECT_TRUE(afterKill.problems.empty()) << "round " << rounds << " after the kill:\n"
                                                << ::testing::PrintToString(afterKill.problems);

        runBatch(from, to);
        const Seen finished = look(from, to, batch);
        EXPECT_TRUE(finished.problems.empty()) << "round " << rounds << ":\n"
                                               << ::testing::PrintToString(finished.problems);
        for (const auto& [name, hash] : batch) {
            EXPECT_FALSE(fileSystem().fileExists(from + "/" + name)) << name << " was not moved";
            EXPECT_GE(finished.finalNames.count(hash), 1u) << name << " is not at its destination";
        }
        fs::remove_all(from);
        fs::remove_all(to);
        ++rounds;
        if (HasFailure()) {
            return;
        }
    }
    EXPECT_EQ(killedMidway, kKills) << "in " << rounds << " rounds the batch mostly ended first";
    std::cout << rounds << " rounds, " << killedMidway << " killed before the batch ended\n";
}

}  // namespace
}  // namespace folivar::platform
