#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ListRows.h"
#include "PairwiseReference.h"
#include "duplicates/DuplicateFinder.h"
#include "support/FaultyFileSystem.h"
#include "support/RecordingSink.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

// A small tree of files of a few sizes, each holding one of four variants of
// its size's contents (the same, or another first, middle or last byte),
// with hard links, symbolic links, unreadable files, a row listed twice and
// now and then a row still marked by an earlier search.
class RandomTree {
public:
    // sizes: how many of the sizes below the files take.
    RandomTree(std::mt19937& random, test::FaultyFileSystem& fs, int sizes = 6, int most = 24)
        : random_(random) {
        const std::size_t sizeOf[] = {0, 1, 5, 300, 4100, 9000, 2, 64, 1025, 1500, 7000, 12000};
        const int files = pick(2, most);
        for (int f = 0; f < files; ++f) {
            const std::size_t size = sizeOf[pick(0, sizes - 1)];
            std::string contents(size, 'c');
            for (std::size_t i = 0; i < size; ++i) {
                contents[i] = static_cast<char>('a' + (i * 7 + size) % 26);
            }
            const int variant = pick(0, 3);
            if (size > 0 && variant > 0) {
                contents[variant == 1 ? 0 : variant == 2 ? size / 2 : size - 1] = '#';
            }
            const std::string name = "d" + std::to_string(f % 3) + "/f" + std::to_string(f);
            paths.push_back(tree_.file(name, contents));
        }
        std::vector<int> fileOf(paths.size());
        for (int f = 0; f < files; ++f) {
            fileOf[static_cast<std::size_t>(f)] = f;
        }
        for (int extra = pick(0, 3); extra > 0; --extra) {
            const int target = pick(0, files - 1);
            const std::string& targetPath = paths[static_cast<std::size_t>(target)];
            const std::string name = "l" + std::to_string(paths.size());
            if (pick(0, 1) == 0) {
                EXPECT_EQ(::link(targetPath.c_str(), tree_.at(name).c_str()), 0);
                paths.push_back(tree_.at(name));
            } else {
                paths.push_back(tree_.symlink(targetPath, name));
            }
            fileOf.push_back(target);
        }
        // A fault belongs to the file, whichever path leads to it.
        for (int bad = pick(0, 2); bad > 0; --bad) {
            const int file = pick(0, files - 1);
            const bool opens = pick(0, 1) == 0;
            for (std::size_t p = 0; p < paths.size(); ++p) {
                if (fileOf[p] == file) {
                    opens ? fs.failRead(paths[p]) : fs.failOpenForReading(paths[p]);
                }
            }
        }
        paths.push_back(paths[static_cast<std::size_t>(pick(0, files - 1))]);
        std::shuffle(paths.begin(), paths.end(), random_);
    }

    FileTable table() {
        FileTable out;
        for (const std::string& path : paths) {
            test::addRow(out, path);
            if (pick(0, 40) == 0) {
                out[out.size() - 1].Group = "7";
                out[out.size() - 1].Status = "Dupl";
            }
        }
        return out;
    }

    std::vector<std::string> paths;

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::mt19937& random_;
    test::TempTree tree_;
};

// What a search shows, in order, and what it leaves.
struct Transcript {
    std::vector<std::string> shown;  // the sink's log: bar positions and status texts
    int working = 0;                 // the times it said it was still at it
    FileTable table;
    std::int32_t found = 0;
};

Transcript search(const FileTable& table, const ContentClassifier::Options& options) {
    Transcript t;
    t.table = table;
    DuplicateFinder finder(options);
    test::RecordingSink sink;
    t.found = finder.search(t.table, sink).duplicatesFound;
    t.shown = std::move(sink.log);
    t.working = sink.workingCalls;
    return t;
}

TEST(RefinedSearchPropertyTest, GivesExactlyThePairwiseRowsAndTexts) {
    std::mt19937 random(20240611);
    const ContentClassifier::Options tiny{4096, 3, 8, 256};
    for (int round = 0; round < 160; ++round) {
        test::FaultyFileSystem fs;
        RandomTree tree(random, fs);
        FileTable expected = tree.table();
        FileTable actual = expected;
        const std::int32_t found = test::pairwiseSearch(expected);

        DuplicateFinder finder(round % 2 == 0 ? ContentClassifier::Options{} : tiny);
        test::RecordingSink sink;
        const auto outcome = finder.search(actual, sink);
        const std::string last = sink.lastStatus();
        ASSERT_EQ(test::marks(actual), test::marks(expected)) << "round " << round;
        ASSERT_TRUE(std::equal(actual.begin(), actual.end(), expected.begin(), expected.end()));
        EXPECT_EQ(outcome.duplicatesFound, found);
        EXPECT_EQ(last, std::to_string(expected.size()) + " files in list; " +
                            std::to_string(found) + " duplicates are found");
    }
}

// Several sets sorted at once, ahead of the search: the same rows, texts and
// progress as the pairwise reference and as one file at a time, also when
// files cannot be opened or read and when descriptors run short (then helpers
// give their sets back). Each seed makes its own trees.
class SeveralSetsAtOnce : public testing::TestWithParam<unsigned> {};

TEST_P(SeveralSetsAtOnce, ChangeNothingTheSearchShows) {
    std::mt19937 random(GetParam());
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    int helperOpens = 0;
    for (int round = 0; round < 16; ++round) {
        test::FaultyFileSystem fs;
        RandomTree tree(random, fs, 12, 40);
        FileTable expected = tree.table();
        const FileTable listed = expected;
        const std::int32_t found = test::pairwiseSearch(expected);
        ContentClassifier::Options options;
        options.requests = 1;
        const Transcript single = search(listed, options);
        ASSERT_EQ(single.found, found) << "round " << round;

        for (int variant = 0; variant < 3; ++variant) {
            options = pick(0, 1) == 0 ? ContentClassifier::Options{}
                                      : ContentClassifier::Options{4096, 8, 8, 256};
            options.requests = pick(2, 16);
            // from the first set, or a few sets on (as when the search finds
            // itself waiting for the disk)
            options.fromStart = variant != 1;
            options.waitsBeforeStart = 0;
            const int shortage = variant == 2 ? pick(1, 12) : 0;
            const int limit = variant == 2 && pick(0, 1) == 0 ? pick(2, 6) : -1;
            fs.runOutOfDescriptors(shortage);
            fs.limitOpenReaders(limit);
            const int before = fs.opensOnOtherThreads();
            const Transcript parallel = search(listed, options);
            helperOpens += fs.opensOnOtherThreads() - before;
            fs.limitOpenReaders(-1);

            SCOPED_TRACE("round " + std::to_string(round) + ", " +
                         std::to_string(options.requests) + " requests, " +
                         (options.fromStart ? "from the start" : "from the fourth set") + ", " +
                         std::to_string(shortage) + " opens refused, " + std::to_string(limit) +
                         " readers at most");
            EXPECT_EQ(test::marks(parallel.table), test::marks(expected));
            EXPECT_TRUE(std::equal(parallel.table.begin(), parallel.table.end(), expected.begin(),
                                   expected.end()));
            EXPECT_EQ(parallel.found, found);
            EXPECT_EQ(parallel.shown, single.shown);
            EXPECT_EQ(parallel.working, single.working);
        }
    }
    // Otherwise every set was sorted on the calling thread and nothing above
    // said anything about the helpers.
    EXPECT_GT(helperOpens, 0) << "no helper ever read a file";
}

INSTANTIATE_TEST_SUITE_P(Seeds, SeveralSetsAtOnce, testing::Values(20261209u, 1u, 4242u, 777777u));

}  // namespace
}  // namespace folivar
