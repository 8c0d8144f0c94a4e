#include "duplicates/ClassifyAhead.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "duplicates/ContentClassifier.h"
#include "duplicates/ReaderBudget.h"
#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

using Options = ContentClassifier::Options;

// A sequence of file sets as the duplicate search hands them over: set k at
// position k.
class Sets : public ContentClassifier::Upcoming {
public:
    Sets(const std::vector<std::vector<std::string>>& sets, std::size_t from)
        : sets_(sets), from_(from) {}
    std::size_t start() const override { return from_; }
    bool next(std::size_t& at, std::vector<std::string>& paths) const override {
        if (at >= sets_.size()) {
            return false;
        }
        paths = sets_[at++];
        return true;
    }

private:
    const std::vector<std::vector<std::string>>& sets_;
    std::size_t from_;
};

// Sets of one size each: copies, files that differ early or late, a set
// larger than a helper may hold open, and unreadable files.
class SetsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        for (std::size_t s = 0; s < 30; ++s) {
            const std::size_t size = 3000 + s;
            const std::size_t files = s == 7 ? 40 : 2 + s % 5;
            std::vector<std::string> set;
            for (std::size_t f = 0; f < files; ++f) {
                std::string contents(size, static_cast<char>('a' + s % 26));
                if (f % 3 == 2) {
                    contents[(f * 997) % size] = '#';  // somewhere its own
                }
                set.push_back(
                    tree.file("s" + std::to_string(s) + "/f" + std::to_string(f), contents));
            }
            sets.push_back(set);
        }
        fs.failRead(sets[3][0]);
        fs.failOpenForReading(sets[11][1]);
    }

    // Every set's classes as one classifier sorts them alone, one by one.
    std::vector<std::vector<ContentClassifier::Result>> alone() {
        ContentClassifier classifier(Options{1 << 16, 8, 64, 4096});
        std::vector<std::vector<ContentClassifier::Result>> out;
        for (const auto& set : sets) {
            out.push_back(classifier.classify(set));
        }
        return out;
    }

    static void expectSame(const std::vector<ContentClassifier::Result>& actual,
                           const std::vector<ContentClassifier::Result>& expected,
                           std::size_t set) {
        ASSERT_EQ(actual.size(), expected.size()) << "set " << set;
        for (std::size_t i = 0; i < actual.size(); ++i) {
            EXPECT_EQ(actual[i].contentClass, expected[i].contentClass) << set << "/" << i;
            EXPECT_TRUE(actual[i].identity == expected[i].identity) << set << "/" << i;
        }
    }

    int opensOf(std::size_t set) const {
        int opens = 0;
        for (const std::string& path : sets[set]) {
            opens += fs.opens(path);
        }
        return opens;
    }

    // On a warm cache the caller may outrun helper threads that are slow to
    // start; a test that needs them at work waits until they are, however
    // long they take.
    static void waitUntil(const std::function<bool()>& done) {
        while (!done()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    test::TempTree tree;
    test::FaultyFileSystem fs;
    std::vector<std::vector<std::string>> sets;
};

TEST_F(SetsFixture, SetsSortedAheadAreHandedOverAsTheyWouldBeSortedAlone) {
    const auto expected = alone();
    Options options{1 << 16, 8, 64, 4096};
    options.requests = 4;
    options.fromStart = true;
    ContentClassifier classifier(options);
    const int opensBefore = fs.opensOnOtherThreads();
    std::vector<int> opensAlone;
    for (const auto& set : sets) {
        opensAlone.push_back(0);
        for (const std::string& path : set) {
            opensAlone.back() += fs.opens(path);
        }
    }
    for (std::size_t k = 0; k < sets.size(); ++k) {
        expectSame(classifier.classify(sets[k], Sets(sets, k + 1)), expected[k], k);
        EXPECT_LE(classifier.statistics().peakBlockBytes, (std::size_t{1} << 16) + 128) << k;
        if (k == 0) {
            waitUntil([&] { return fs.opensOnOtherThreads() > opensBefore; });
        }
    }
    EXPECT_GT(fs.opensOnOtherThreads(), opensBefore);
    // The caller's readers and the helpers' share, never more.
    EXPECT_LE(fs.peakOpenReaders(), 16);
    // Each set sorted once, by a helper or by the caller: its files opened
    // once more (the set too large for the readers allowed is read in passes).
    for (std::size_t k = 0; k < sets.size(); ++k) {
        int opens = -opensAlone[k];
        for (const std::string& path : sets[k]) {
            opens += fs.opens(path);
        }
        if (k != 7) {
            EXPECT_EQ(opens, opensAlone[k]) << "set " << k;
        }
    }
}

// A caller that does not ask for what it announced (another search, a list
// changed in between) gets its sets sorted all the same.
TEST_F(SetsFixture, ACallerThatAsksForOtherSetsGetsThemRight) {
    const auto expected = alone();
    Options options;
    options.requests = 3;
    options.fromStart = true;
    ContentClassifier classifier(options);
    auto check = [&](std::size_t k) {
        expectSame(classifier.classify(sets[k], Sets(sets, k + 1)), expected[k], k);
    };
    const int announced = opensOf(1);
    check(0);
    waitUntil([&] { return opensOf(1) > announced; });  // a helper is at set 1
    check(5);                                           // not set 1 after all
    check(3);                                           // back: another sequence
    check(29);                                          // the last set, then the one before
    check(28);
}

// Not asked to start at once, the helpers start at the caller's fourth set of
// a sequence once it has waited enough, and each sequence counts afresh.
TEST_F(SetsFixture, HelpersStartOnceTheCallerWaitsCountingEachSequenceAfresh) {
    const std::vector<std::vector<std::string>> six(sets.begin(), sets.begin() + 6);
    ReaderBudget::Shortage shortage{false};
    // Whether the helpers are at work after each set taken, from set first on.
    const auto takes = [&](ClassifyAhead& ahead, std::size_t first, std::size_t count) {
        std::string seen;
        for (std::size_t k = first; k < first + count; ++k) {
            ahead.take(six[k], Sets(six, k + 1), platform::StopQuery::never());
            seen += ahead.started() ? '+' : '-';
        }
        return seen;
    };
    Options options;
    options.requests = 4;
    options.waitsBeforeStart = 0;
    {
        ClassifyAhead ahead(options, shortage);
        EXPECT_EQ(takes(ahead, 0, 6), "---++-") << "gone after the sequence's last set";
        EXPECT_EQ(takes(ahead, 0, 2), "--");
        EXPECT_EQ(takes(ahead, 0, 4), "---+") << "another sequence";
    }
    options.waitsBeforeStart = SIZE_MAX;
    ClassifyAhead ahead(options, shortage);
    EXPECT_EQ(takes(ahead, 0, 6), "------") << "never waited enough";
}

// Short of descriptors, helpers give their sets back and the caller reads
// them itself: nothing is taken for unreadable, and no more readers are open
// than the file system allows.
TEST_F(SetsFixture, ShortOfDescriptorsHelpersGiveWayAndNothingIsLost) {
    const auto expected = alone();
    for (const int limit : {2, 3, 6}) {
        fs.limitOpenReaders(limit);
        fs.runOutOfDescriptors(5);
        Options options;
        options.requests = 8;
        options.fromStart = true;
        ContentClassifier classifier(options);
        for (std::size_t k = 0; k < sets.size(); ++k) {
            expectSame(classifier.classify(sets[k], Sets(sets, k + 1)), expected[k], k);
        }
        fs.limitOpenReaders(-1);
    }
    EXPECT_GT(fs.descriptorRefusals(), 0);
}

// Helpers hold as many readers between them as the caller may, and no more
// than a quarter of the descriptors the process may have open.
TEST(ClassifyAheadTest, HelpersShareTheCallersBudgetsAndAtLeastFourReadersEach) {
    const struct {
        rlim_t limit;
        std::size_t maxOpenFiles;
        int requests;
        int helpers;
        std::size_t each;
    } cases[] = {
        {4096, 256, 8, 8, 32}, {4096, 256, 16, 16, 16}, {4096, 16, 8, 4, 4}, {4096, 7, 8, 1, 7},
        {4096, 3, 8, 0, 0},    {4096, 256, 1, 0, 0},    {64, 256, 8, 4, 4},  {40, 256, 8, 2, 5},
    };
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    ReaderBudget::Shortage shortage{false};
    for (const auto& c : cases) {
        struct rlimit limit = saved;
        limit.rlim_cur = std::min(c.limit, saved.rlim_max);
        ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
        Options options;
        options.maxOpenFiles = c.maxOpenFiles;
        options.requests = c.requests;
        const ClassifyAhead ahead(options, shortage);
        ::setrlimit(RLIMIT_NOFILE, &saved);
        SCOPED_TRACE(std::to_string(limit.rlim_cur) + " descriptors, " +
                     std::to_string(c.maxOpenFiles) + " readers, " + std::to_string(c.requests) +
                     " requests");
        EXPECT_EQ(ahead.helpers(), c.helpers);
        if (c.helpers > 0 && limit.rlim_cur == c.limit) {
            EXPECT_EQ(ahead.helperCapacity(), c.each);
        }
    }
}

TEST(ReaderBudgetTest, AHelperGivesWayWhereTheSearchWouldWait) {
    test::TempTree tree;
    test::FaultyFileSystem fs;
    const std::string file = tree.file("file", "contents");
    ReaderBudget::Shortage shortage{false};
    const ReaderBudget helper = ReaderBudget::forHelper(4, shortage);
    const ReaderBudget search(4, std::chrono::seconds(5), &shortage);

    EXPECT_NE(helper.open(file, {}), nullptr);
    fs.runOutOfDescriptors(1);
    EXPECT_THROW(helper.open(file, {}), ReaderBudget::GiveWay);

    // While the search waits for a descriptor, helpers give way at their next
    // open or read; once it has one, they go on.
    fs.runOutOfDescriptors(3);
    std::vector<bool> seen;
    const auto reader = search.open(file, [&] {
        seen.push_back(shortage.load());
        EXPECT_THROW(helper.keepOn(), ReaderBudget::GiveWay);
        EXPECT_THROW(helper.open(file, {}), ReaderBudget::GiveWay);
        return false;
    });
    EXPECT_NE(reader, nullptr);
    EXPECT_EQ(seen, std::vector<bool>(3, true));
    EXPECT_FALSE(shortage.load());
    EXPECT_NO_THROW(helper.keepOn());
}

}  // namespace
}  // namespace folivar
