#include "platform/PosixMove.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/UnpublishedCopy.h"

#include "support/FileEdits.h"
#include "support/ScopedTmpfs.h"
#include "support/StoppingSink.h"
#include "support/TempTree.h"

namespace folivar::platform {
namespace {

using test::contentsOf;
using test::editInPlaceKeepingTheTime;
using test::saveAsEditorsDo;

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The names in a folder, sorted.
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Runs action at one step of every move across file systems while it lives.
class AtStep {
public:
    AtStep(MoveStep step, std::function<void(const std::string&)> action) {
        setMoveStepHook([step, action](MoveStep reached, const std::string& from) {
            if (reached == step) {
                action(from);
            }
        });
    }
    ~AtStep() { setMoveStepHook({}); }
    AtStep(const AtStep&) = delete;
    AtStep& operator=(const AtStep&) = delete;
};

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

// Someone else changes the source while it is being moved: the move fails,
// the source holds what they wrote, and no copy and no temporary name is left.
TEST_F(AcrossFileSystems, ASourceChangedDuringTheMoveIsKeptAndTheCopyGoes) {
    mount("4m");
    struct Case {
        const char* what;
        MoveStep step;
        bool inPlace;
    };
    const Case cases[] = {
        {"saved over while copied", MoveStep::Copying, false},
        {"saved over once copied", MoveStep::Copied, false},
        {"edited in place, time set back, while copied", MoveStep::Copying, true},
        {"edited in place, time set back, once copied", MoveStep::Copied, true},
    };
    for (const Case& c : cases) {
        const std::string from = tree.file("src/draft.txt", "old version, 100 bytes or so");
        const std::string to = tree.at("other/draft.txt");
        {
            AtStep step(c.step, [&](const std::string& path) {
                if (c.inPlace) {
                    editInPlaceKeepingTheTime(path, "NEW");
                } else {
                    saveAsEditorsDo(path, "new version");
                }
            });
            EXPECT_FALSE(posixMoveFile(from, to)) << c.what;
        }
        EXPECT_EQ(contentsOf(from), c.inPlace ? "NEW version, 100 bytes or so" : "new version")
            << c.what;
        EXPECT_EQ(namesIn(tree.at("src")), std::vector<std::string>{"draft.txt"}) << c.what;
        EXPECT_TRUE(namesIn(tree.at("other")).empty()) << c.what;
        ::unlink(from.c_str());
    }
}

// While the data is copied, the destination name does not exist; a
// temporary file, where one is needed, is hidden and says what it is.
TEST_F(AcrossFileSystems, TheFinalNameAppearsOnlyWithTheWholeCopy) {
    mount("4m");
    for (const bool unnamed : {true, false}) {
        UnpublishedCopy::setUnnamedAllowed(unnamed);
        const std::string payload(200000, 'c');
        const std::string from = tree.file("photo.jpg", payload);
        const std::string to = tree.at("other/photo.jpg");
        std::vector<std::string> seen;
        {
            AtStep step(MoveStep::Copying,
                        [&](const std::string&) { seen = namesIn(tree.at("other")); });
            EXPECT_TRUE(posixMoveFile(from, to));
        }
        UnpublishedCopy::setUnnamedAllowed(true);
        if (unnamed) {
            EXPECT_TRUE(seen.empty());
        } else {
            ASSERT_EQ(seen.size(), 1u);
            EXPECT_EQ(seen[0].rfind(".photo.jpg.folivar-partial-", 0), 0u) << seen[0];
        }
        EXPECT_EQ(contentsOf(to), payload);
        EXPECT_EQ(namesIn(tree.at("other")), std::vector<std::string>{"photo.jpg"});
        ::unlink(to.c_str());
    }
}

TEST_F(AcrossFileSystems, HolesStayHolesAndExtendedAttributesComeAlong) {
    mount("80m");
    const std::int64_t size = 64 << 20;
    const std::string from = tree.sparse("disk.img", size);
    const int fd = ::open(from.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    for (const std::int64_t at : {std::int64_t{0}, size / 2, size - 5}) {
        ASSERT_EQ(::pwrite(fd, "data!", 5, at), 5);
    }
    ::close(fd);
    const std::string note = "kept across the move";
    if (::setxattr(from.c_str(), "user.note", note.data(), note.size(), 0) != 0) {
        GTEST_SKIP() << "the test folder's file system keeps no user.* attributes";
    }
    const std::string to = tree.at("other/disk.img");
    ASSERT_TRUE(posixMoveFile(from, to));

    struct stat st {};
    ASSERT_EQ(::stat(to.c_str(), &st), 0);
    EXPECT_EQ(st.st_size, size);
    EXPECT_LT(st.st_blocks * 512, 1 << 20) << "holes were filled";
    const std::string copied = contentsOf(to);
    EXPECT_EQ(copied.substr(static_cast<std::size_t>(size / 2), 5), "data!");
    EXPECT_EQ(copied.substr(static_cast<std::size_t>(size - 5)), "data!");
    EXPECT_EQ(copied.find_first_not_of('\0', 5), static_cast<std::size_t>(size / 2));
    char value[64] = {};
    const ssize_t length = ::getxattr(to.c_str(), "user.note", value, sizeof value);
    ASSERT_GT(length, 0) << "user.note was dropped";
    EXPECT_EQ(std::string(value, static_cast<std::size_t>(length)), note);
}

// The same race for real: an editor saves a new version while a large file
// is moved. Whenever the save lands, its version is not lost.
TEST_F(AcrossFileSystems, AnEditorSavingDuringARealMoveLosesNothing) {
    mount("96m");
    const std::string from = tree.file("big.log", std::string(48 << 20, 'o'));
    const std::string to = tree.at("other/big.log");
    std::thread editor([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        saveAsEditorsDo(from, "the newest version");
    });
    const bool moved = posixMoveFile(from, to);
    editor.join();
    const bool atSource = exists(from) && contentsOf(from) == "the newest version";
    const bool atDestination = exists(to) && contentsOf(to) == "the newest version";
    EXPECT_TRUE(atSource || atDestination) << (moved ? "moved" : "not moved");
}

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

// A stop asked for at any of the copy's questions (between its chunks and
// before its flush) abandons it: the source stays as it was, the same file,
// and nothing is left at the destination, named or hidden.
TEST_F(AcrossFileSystems, AStopBetweenChunksAbandonsTheCopyAndKeepsTheSource) {
    mount("16m");
    const std::string payload = std::string(3 << 20, 'p') + "the end";
    for (const bool unnamed : {true, false}) {
        UnpublishedCopy::setUnnamedAllowed(unnamed);
        const std::string from = tree.file("big.bin", payload);
        const std::string to = tree.at("other/big.bin");
        struct stat before {};
        ASSERT_EQ(::stat(from.c_str(), &before), 0);
        test::StoppingSink counting;
        ASSERT_TRUE(posixMoveFile(from, to, counting));
        ASSERT_GE(counting.questions, 4u);  // a chunk at a time, then the flush
        ASSERT_TRUE(posixMoveFile(to, from));
        ASSERT_EQ(::stat(from.c_str(), &before), 0);

        for (std::size_t at = 1; at <= counting.questions; ++at) {
            test::StoppingSink stopping(at);
            EXPECT_FALSE(posixMoveFile(from, to, stopping)) << at;
            EXPECT_EQ(stopping.questions, at);
            struct stat after {};
            ASSERT_EQ(::stat(from.c_str(), &after), 0);
            EXPECT_EQ(after.st_ino, before.st_ino) << at;
            EXPECT_EQ(contentsOf(from), payload) << at;
            EXPECT_TRUE(namesIn(tree.at("other")).empty()) << at;
        }
        ::unlink(from.c_str());
    }
    UnpublishedCopy::setUnnamedAllowed(true);
}

TEST_F(AcrossFileSystems, MissingSourceMovesNothing) {
    mount("1m");
    EXPECT_FALSE(posixMoveFile(tree.at("gone.txt"), tree.at("other/gone.txt")));
    EXPECT_FALSE(exists(tree.at("other/gone.txt")));
}

}  // namespace
}  // namespace folivar::platform
