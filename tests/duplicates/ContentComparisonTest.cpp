#include "ContentComparison.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

namespace folivar::test {
namespace {

TEST(ContentComparisonTest, ChunkIsAFifthPlusOneBelow320MiBAnd64MiBFromThere) {
    const struct {
        std::int64_t size, chunk;
    } cases[] = {{0, 1},
                 {4, 1},
                 {5, 2},
                 {1000, 201},
                 {335'544'319, 67'108'864},
                 {335'544'320, 67'108'864},
                 {5'000'000'000, 67'108'864},
                 {-1, 67'108'864}};
    for (const auto& c : cases) {
        EXPECT_EQ(comparisonChunkSize(c.size), c.chunk) << c.size;
    }
}

TEST(ContentComparisonTest, IdenticalOnlyWhenEveryByteAndTheLengthMatch) {
    const std::string kilo(1000, 'k');
    const struct {
        std::string first, second;
        bool identical;
    } cases[] = {{"", "", true},
                 {"abc", "abc", true},
                 {kilo, kilo, true},
                 {"abc", "abd", false},
                 {"abc", "xbc", false},
                 {kilo, kilo.substr(0, 999) + "x", false},
                 {kilo, kilo.substr(0, 500) + "x" + kilo.substr(501), false},
                 {"abc", "abcd", false}};
    for (const auto& c : cases) {
        test::TempTree tree;
        EXPECT_EQ(filesIdentical(tree.file("a", c.first), tree.file("b", c.second),
                                 static_cast<std::int64_t>(c.first.size())),
                  c.identical)
            << c.first.size() << " / " << c.second.size();
    }
}

TEST(ContentComparisonTest, FirstDifferenceEndsTheComparison) {
    test::TempTree tree;
    test::FaultyFileSystem fs;
    const std::string a = tree.file("a", "x" + std::string(999, 'k'));
    const std::string b = tree.file("b", "y" + std::string(999, 'k'));
    EXPECT_FALSE(filesIdentical(a, b, 1000));
    EXPECT_EQ(fs.bytesRead(a), 201);
    EXPECT_EQ(fs.bytesRead(b), 201);
}

TEST(ContentComparisonTest, OnePhysicalFileIsNotACopyOfItself) {
    test::TempTree tree;
    const std::string file = tree.file("file", "same");
    ASSERT_EQ(::link(file.c_str(), tree.at("hard").c_str()), 0);
    const std::string soft = tree.symlink(file, "soft");
    EXPECT_FALSE(filesIdentical(file, tree.at("hard"), 4));
    EXPECT_FALSE(filesIdentical(soft, file, 4));
    EXPECT_FALSE(filesIdentical(file, file, 4));
}

TEST(ContentComparisonTest, FilesThatCannotBeReadAreIdenticalToNothing) {
    test::TempTree tree;
    const std::string empty = tree.file("empty");
    ASSERT_EQ(::mkfifo(tree.at("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(filesIdentical(tree.at("fifo"), empty, 0));  // and does not wait for a writer
    EXPECT_FALSE(filesIdentical(empty, tree.at("missing"), 0));

    test::FaultyFileSystem fs;
    const std::string a = tree.file("a", "same");
    const std::string b = tree.file("b", "same");
    const std::string c = tree.file("c", "same");
    fs.failOpenForReading(b);
    fs.failRead(c);
    EXPECT_FALSE(filesIdentical(a, b, 4));
    EXPECT_FALSE(filesIdentical(b, a, 4));
    EXPECT_FALSE(filesIdentical(a, c, 4));
    EXPECT_FALSE(filesIdentical(c, a, 4));
}

}  // namespace
}  // namespace folivar::test
