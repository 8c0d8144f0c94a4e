#include "platform/PosixFileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>

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
    auto reader = fs.openForReading(tree.file("data.bin", payload));
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->status().size, 100000);
    std::string got(200000, '\0');
    EXPECT_EQ(reader->read(got.data(), got.size()), 100000);
    EXPECT_EQ(got.substr(0, 100000), payload);
    EXPECT_EQ(reader->read(got.data(), got.size()), 0);

    ASSERT_EQ(::mkfifo(tree.at("pipe").c_str(), 0644), 0);
    EXPECT_EQ(fs.openForReading(tree.at("pipe")), nullptr);  // returns at once, refused
    EXPECT_EQ(fs.openForReading(tree.dir("folder")), nullptr);
    EXPECT_EQ(fs.openForReading(tree.at("missing")), nullptr);
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

TEST(Attributes, OwnerWritableAgain) {
    test::TempTree tree;
    PosixFileSystem fs;
    const std::string file = tree.file("locked.txt");
    ::chmod(file.c_str(), 0444);
    EXPECT_TRUE(fs.setOwnerWritable(file));
    FileStatus st;
    ASSERT_TRUE(fs.status(file, true, st));
    EXPECT_TRUE(st.ownerCanWrite());
    EXPECT_EQ(st.mode & 0777, 0644u);
}

}  // namespace
}  // namespace folivar::platform
