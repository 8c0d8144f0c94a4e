#include "platform/PosixFileSystem.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "platform/OpenFileLimit.h"
#include "support/TempTree.h"
#include "support/Unprivileged.h"

namespace folivar::platform {
namespace {

TEST(Listing, EveryEntryOnceWithoutDotEntries) {
    test::TempTree tree;
    std::set<std::string> expected;
    for (int i = 0; i < 3000; ++i) {  // more than one getdents64 buffer
        const std::string name = "entry-" + std::to_string(i) + std::string(20, 'x');
        tree.file(name);
        expected.insert(name);
    }
    tree.dir("folder");
    expected.insert("folder");
    PosixFileSystem fs;
    auto listing = fs.openDirectory(tree.path());
    ASSERT_TRUE(listing);
    std::set<std::string> seen;
    DirectoryEntry entry;
    while (listing->next(entry)) {
        EXPECT_TRUE(seen.insert(std::string(entry.name)).second) << entry.name;
        EXPECT_EQ(entry.name.data()[entry.name.size()], '\0');
        if (entry.name == "folder") {
            EXPECT_EQ(entry.kind, EntryKind::Directory);
        }
    }
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(listing->next(entry));  // stays at the end
}

TEST(Listing, CannotStartOnAFileOrAMissingFolder) {
    test::TempTree tree;
    PosixFileSystem fs;
    EXPECT_EQ(fs.openDirectory(tree.file("plain.txt")), nullptr);
    EXPECT_EQ(fs.openDirectory(tree.at("missing")), nullptr);
    EXPECT_EQ(fs.openDirectory(""), nullptr);
}

TEST(Listing, CannotStartOnAFolderThatCanBeReadButNotEntered) {
    test::TempTree tree;
    tree.file("open/a.txt");
    tree.file("listed-only/b.txt");
    ::chmod(tree.at("listed-only").c_str(), 0444);  // names, but no entry's status
    tree.openToAll();
    const auto outcome = test::asUnprivileged([&] {
        PosixFileSystem fs;
        std::string text;
        for (const std::string name : {"open", "listed-only", "listed-only/"}) {
            text += name + (fs.openDirectory(tree.at(name)) ? " opens; " : " refused; ");
        }
        return text;
    });
    if (!outcome) {
        GTEST_SKIP() << "cannot run as another user here";
    }
    EXPECT_EQ(*outcome, "open opens; listed-only refused; listed-only/ refused; ");
}

TEST(Reading, RegularFilesOnlyAndNeverBlocks) {
    test::TempTree tree;
    PosixFileSystem fs;
    const std::string payload(100000, 'r');
    OpenFailure failure = OpenFailure::Unreadable;
    auto reader = fs.openForReading(tree.file("data.bin", payload), failure);
    ASSERT_TRUE(reader);
    EXPECT_EQ(failure, OpenFailure::None);
    EXPECT_EQ(reader->status().size, 100000);
    std::string got(200000, '\0');
    EXPECT_EQ(reader->read(got.data(), got.size()), 100000);
    EXPECT_EQ(got.substr(0, 100000), payload);
    EXPECT_EQ(reader->read(got.data(), got.size()), 0);

    ASSERT_EQ(::mkfifo(tree.at("pipe").c_str(), 0644), 0);
    for (const std::string& refused : {tree.at("pipe"), tree.dir("folder"), tree.at("missing")}) {
        // The pipe's open returns at once.
        EXPECT_EQ(fs.openForReading(refused, failure), nullptr) << refused;
        EXPECT_EQ(failure, OpenFailure::Unreadable) << refused;
    }
}

TEST(Reading, PseudoFileSystemsAreRefused) {
    PosixFileSystem fs;
    for (const char* path :
         {"/proc/self/status", "/proc/sys/kernel/ostype", "/sys/kernel/uevent_seqnum"}) {
        FileStatus st;
        if (!fs.status(path, true, st)) {
            continue;  // not mounted here
        }
        OpenFailure failure = OpenFailure::None;
        EXPECT_EQ(fs.openForReading(path, failure), nullptr) << path;
        EXPECT_EQ(failure, OpenFailure::Unreadable) << path;
    }
}

// Lowers the soft limit on open files for its lifetime.
class ScopedOpenFileLimit {
public:
    explicit ScopedOpenFileLimit(rlim_t soft) {
        ::getrlimit(RLIMIT_NOFILE, &saved_);
        struct rlimit low = saved_;
        low.rlim_cur = soft;
        ::setrlimit(RLIMIT_NOFILE, &low);
    }
    ~ScopedOpenFileLimit() { ::setrlimit(RLIMIT_NOFILE, &saved_); }
    ScopedOpenFileLimit(const ScopedOpenFileLimit&) = delete;
    ScopedOpenFileLimit& operator=(const ScopedOpenFileLimit&) = delete;

private:
    struct rlimit saved_ {};
};

TEST(Reading, RunningOutOfDescriptorsIsToldApart) {
    test::TempTree tree;
    PosixFileSystem fs;
    const std::string file = tree.file("data.bin", "x");
    std::vector<std::unique_ptr<FileReader>> held;
    ScopedOpenFileLimit limit(32);
    OpenFailure failure = OpenFailure::None;
    for (int i = 0; i < 40; ++i) {
        auto reader = fs.openForReading(file, failure);
        if (!reader) {
            break;
        }
        held.push_back(std::move(reader));
    }
    EXPECT_LT(held.size(), 32u);
    EXPECT_EQ(failure, OpenFailure::OutOfDescriptors);
}

TEST(OpenFileLimit, RaisedAsFarAsTheHardLimitAllows) {
    struct rlimit current {};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &current), 0);
    ScopedOpenFileLimit limit(64);
    ASSERT_EQ(openFileLimit(), 64u);
    const std::uint64_t raised = raiseOpenFileLimit();
    EXPECT_EQ(openFileLimit(), raised);
    EXPECT_EQ(raised, std::min<std::uint64_t>(current.rlim_max, 65536));
}

TEST(Removing, FilesButNeverFolders) {
    test::TempTree tree;
    PosixFileSystem fs;
    const std::string file = tree.file("a.txt");
    const std::string folder = tree.dir("b");
    EXPECT_TRUE(fs.removeFile(file));
    EXPECT_FALSE(fs.fileExists(file));
    EXPECT_FALSE(fs.removeFile(folder));
    EXPECT_TRUE(fs.isDirectory(folder));
    EXPECT_FALSE(fs.removeFile(file));  // already gone
}

}  // namespace
}  // namespace folivar::platform
