#include "platform/PosixMove.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <optional>
#include <sstream>

#include "support/ScopedTmpfs.h"
#include "support/TempTree.h"

namespace folivar::platform {
namespace {

std::string contentsOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

TEST(MoveFile, RenamesInPlace) {
    test::TempTree tree;
    const std::string from = tree.file("a.txt", "alpha");
    EXPECT_TRUE(posixMoveFile(from, tree.at("b.txt")));
    EXPECT_FALSE(exists(from));
    EXPECT_EQ(contentsOf(tree.at("b.txt")), "alpha");
}

TEST(MoveFile, NeverReplacesAndTouchesNothingOnFailure) {
    test::TempTree tree;
    tree.file("a.txt", "alpha");
    tree.file("b.txt", "beta");
    tree.dir("folder.txt");
    struct Case {
        const char* what;
        std::string from, to;
    };
    const Case cases[] = {
        {"destination taken", tree.at("a.txt"), tree.at("b.txt")},
        {"a folder in the way", tree.at("a.txt"), tree.at("folder.txt")},
        {"source gone", tree.at("gone.txt"), tree.at("c.txt")},
        {"destination folder gone", tree.at("a.txt"), tree.at("missing/a.txt")},
        {"same file", tree.at("a.txt"), tree.at("a.txt")},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(posixMoveFile(c.from, c.to)) << c.what;
        EXPECT_EQ(contentsOf(tree.at("a.txt")), "alpha") << c.what;
        EXPECT_EQ(contentsOf(tree.at("b.txt")), "beta") << c.what;
        EXPECT_FALSE(exists(tree.at("c.txt"))) << c.what;
    }
}

TEST(MoveFile, AnyPathLengthTheSystemAllows) {
    test::TempTree tree;
    std::string deep;
    for (int i = 0; i < 12; ++i) {
        deep += std::string(200, static_cast<char>('a' + i)) + "/";
    }
    tree.dir(deep);
    const std::string from = tree.file(deep + "x.txt", "deep");
    ASSERT_GT(from.size(), 2400u);
    EXPECT_TRUE(posixMoveFile(from, tree.at(deep + "y.txt")));
    EXPECT_EQ(contentsOf(tree.at(deep + "y.txt")), "deep");
}

class AcrossFileSystems : public testing::Test {
protected:
    void mount(const char* size) {
        tmpfs_.emplace(tree.dir("other"), size);
        if (!tmpfs_->mounted()) {
            GTEST_SKIP() << "cannot mount a tmpfs here";
        }
    }
    test::TempTree tree;
    std::optional<test::ScopedTmpfs> tmpfs_;
};

TEST_F(AcrossFileSystems, CopiesKeepsModeAndTimesThenRemovesTheSource) {
    mount("4m");
    const std::string payload(300000, 'p');
    const std::string from = tree.file("photo.jpg", payload);
    ::chmod(from.c_str(), 0640);
    tree.setTimes("photo.jpg", 1000000000, 1100000000);
    const std::string to = tree.at("other/photo.jpg");
    ASSERT_TRUE(posixMoveFile(from, to));
    EXPECT_FALSE(exists(from));
    struct stat st {};
    ASSERT_EQ(::stat(to.c_str(), &st), 0);  // before reading it changes the access time
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1100000000);
    EXPECT_EQ(st.st_atim.tv_sec, 1000000000);
    EXPECT_EQ(contentsOf(to), payload);
}

TEST_F(AcrossFileSystems, FullDestinationLeavesTheSourceAndNoPartialCopy) {
    mount("64k");
    const std::string payload(512 * 1024, 'z');
    const std::string from = tree.file("big.bin", payload);
    const std::string to = tree.at("other/big.bin");
    EXPECT_FALSE(posixMoveFile(from, to));
    EXPECT_EQ(contentsOf(from), payload);
    EXPECT_FALSE(exists(to));
}

TEST_F(AcrossFileSystems, TakenDestinationIsNotReplaced) {
    mount("1m");
    const std::string from = tree.file("a.txt", "mine");
    const std::string to = tree.file("other/a.txt", "theirs");
    EXPECT_FALSE(posixMoveFile(from, to));
    EXPECT_EQ(contentsOf(from), "mine");
    EXPECT_EQ(contentsOf(to), "theirs");
}

TEST_F(AcrossFileSystems, ALinkMovesAsALink) {
    mount("1m");
    tree.file("target.txt", "t");
    const std::string from = tree.symlink(tree.at("target.txt"), "link.txt");
    const std::string to = tree.at("other/link.txt");
    ASSERT_TRUE(posixMoveFile(from, to));
    EXPECT_FALSE(exists(from));
    char buffer[4096] = {};
    ASSERT_GT(::readlink(to.c_str(), buffer, sizeof buffer - 1), 0);
    EXPECT_EQ(std::string(buffer), tree.at("target.txt"));
    EXPECT_EQ(contentsOf(tree.at("target.txt")), "t");
}

TEST_F(AcrossFileSystems, MissingSourceMovesNothing) {
    mount("1m");
    EXPECT_FALSE(posixMoveFile(tree.at("gone.txt"), tree.at("other/gone.txt")));
    EXPECT_FALSE(exists(tree.at("other/gone.txt")));
}

}  // namespace
}  // namespace folivar::platform
