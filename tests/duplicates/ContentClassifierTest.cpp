#include "duplicates/ContentClassifier.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

using Result = ContentClassifier::Result;

// Same class exactly where the expected labels are equal; a label of '-'
// expects no class.
void expectClasses(const std::vector<Result>& results, const std::string& labels) {
    ASSERT_EQ(results.size(), labels.size());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(results[i].contentClass == Result::kNone, labels[i] == '-') << i;
        for (std::size_t j = 0; j < i; ++j) {
            if (labels[i] != '-' && labels[j] != '-') {
                EXPECT_EQ(results[i].contentClass == results[j].contentClass,
                          labels[i] == labels[j])
                    << j << " and " << i;
            }
        }
    }
}

// Makes one file per content, named by position.
std::vector<std::string> files(test::TempTree& tree, const std::vector<std::string>& contents) {
    std::vector<std::string> paths;
    for (const std::string& content : contents) {
        paths.push_back(tree.file("f" + std::to_string(paths.size()), content));
    }
    return paths;
}

std::string block(char fill, std::size_t size, std::size_t at = SIZE_MAX, char mark = '!') {
    std::string text(size, fill);
    if (at < size) {
        text[at] = mark;
    }
    return text;
}

TEST(ContentClassifierTest, SortsFilesByTheirWholeContents) {
    const std::string big = block('b', 70'000);
    const struct {
        ContentClassifier::Options options;
        const char* name;
    } settings[] = {{{}, "defaults"}, {{256, 3, 16, 64}, "three open files, 256 bytes"}};
    for (const auto& setting : settings) {
        test::TempTree tree;
        ContentClassifier classifier(setting.options);
        const auto results = classifier.classify(files(
            tree, {big, block('b', 70'000, 69'999), big, "", "x", "", block('b', 70'000, 35'000),
                   big, "y", big, "x", block('b', 70'000, 0), big}));
        SCOPED_TRACE(setting.name);
        expectClasses(results, "A-ABCB-A-AC-A");
        EXPECT_LE(classifier.statistics().peakOpenFiles, setting.options.maxOpenFiles);
    }
}

TEST(ContentClassifierTest, ReadsEachFileOnceAndOnlyAsFarAsItHasCompany) {
    test::TempTree tree;
    test::FaultyFileSystem fs;
    const std::size_t size = 1 << 20;
    const auto paths = files(tree, {block('z', size), block('z', size, 0), block('z', size),
                                    block('z', size, size - 1), block('z', size, 1)});
    ContentClassifier classifier;
    expectClasses(classifier.classify(paths), "A-A--");
    for (const std::string& path : paths) {
        EXPECT_LE(fs.opens(path), 1) << path;
    }
    EXPECT_EQ(fs.bytesRead(paths[0]), static_cast<std::int64_t>(size));
    EXPECT_EQ(fs.bytesRead(paths[3]), static_cast<std::int64_t>(size));  // differs at the end
    EXPECT_EQ(fs.bytesRead(paths[1]), 1024);
    EXPECT_EQ(fs.bytesRead(paths[4]), 1024);
    EXPECT_EQ(classifier.statistics().bytesRead, 3 * static_cast<std::int64_t>(size) + 2 * 1024);
}

TEST(ContentClassifierTest, KeepsToItsMemoryBudgetAndOpenFileLimit) {
    test::TempTree tree;
    std::vector<std::string> contents;
    for (int i = 0; i < 40; ++i) {
        // 30 files share a long start; among them, ten hold one content
        contents.push_back(i < 10   ? block('q', 5000, 4999, 'A')
                           : i < 30 ? block('q', 5000, 4000 + static_cast<std::size_t>(i))
                                    : block('q', 5000, static_cast<std::size_t>(i)));
    }
    ContentClassifier classifier({2048, 4, 64, 1024});
    const auto results = classifier.classify(files(tree, contents));
    expectClasses(results, "AAAAAAAAAA" + std::string(30, '-'));
    EXPECT_LE(classifier.statistics().peakOpenFiles, 4u);
    EXPECT_LE(classifier.statistics().peakBlockBytes, 2048u + 128u);
}

TEST(ContentClassifierTest, FilesBeyondTheOpenFileLimitAreReadOnlyNearTheirDifference) {
    test::TempTree tree;
    test::FaultyFileSystem fs;
    std::vector<std::string> contents;
    for (std::size_t i = 0; i < 12; ++i) {
        contents.push_back(block('h', 100'000, 3000 + i));  // a long common start
    }
    ContentClassifier classifier({1 << 20, 4, 64, 1 << 16});
    const auto paths = files(tree, contents);
    expectClasses(classifier.classify(paths), std::string(12, '-'));
    for (const std::string& path : paths) {
        EXPECT_LT(fs.bytesRead(path), 10'000) << path;
    }
    EXPECT_LE(classifier.statistics().peakOpenFiles, 4u);
}

TEST(ContentClassifierTest, PathsOfOnePhysicalFileShareItsClassAndIdentity) {
    test::TempTree tree;
    test::FaultyFileSystem fs;
    const std::string file = tree.file("file", "content");
    const std::string copy = tree.file("copy", "content");
    ASSERT_EQ(::link(file.c_str(), tree.at("hard").c_str()), 0);
    const std::string soft = tree.symlink(file, "soft");
    const std::string broken = tree.file("broken", "content");
    fs.failRead(broken);
    ContentClassifier classifier;
    const auto results = classifier.classify({file, tree.at("hard"), soft, copy, file, broken});
    expectClasses(results, "AAAAA-");
    EXPECT_TRUE(results[0].identity == results[2].identity);
    EXPECT_FALSE(results[0].identity.samePhysicalFile(results[3].identity));
    EXPECT_EQ(fs.opens(file) + fs.opens(tree.at("hard")) + fs.opens(soft), 1);
}

}  // namespace
}  // namespace folivar
