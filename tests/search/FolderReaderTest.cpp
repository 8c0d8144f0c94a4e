#include "search/FolderReader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <thread>

#include "platform/FileSystem.h"
#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

// Folders read ahead while the walk takes its time: every entry arrives once,
// with its status, and no more entries are held at once than the bound allows.
TEST(FolderReader, ReadsAheadWithinTheBound) {
    test::TempTree tree;
    constexpr int kFolders = 12;
    constexpr int kFiles = 150;
    for (int f = 0; f < kFolders; ++f) {
        for (int i = 0; i < kFiles; ++i) {
            tree.file("f" + std::to_string(f) + "/n" + std::to_string(i), std::to_string(i));
        }
    }
    WalkReadAhead limits;
    limits.requests = 4;
    limits.fromStart = true;
    limits.folders = 6;
    limits.entries = 40;
    limits.batch = 8;
    limits.chunk = 3;
    FolderQueue queue;
    for (int f = 0; f < kFolders; ++f) {
        queue.push(tree.at("f" + std::to_string(f)), 1);
    }
    test::FaultyFileSystem fs;  // counts the folders opened
    FolderReader reader(queue, limits, StatusHint({"*"}, {}));
    bool first = true;
    while (!queue.empty()) {
        const std::string folder = queue.pop().path;
        ASSERT_TRUE(reader.open(folder, true));
        if (first) {  // the requests open the next folders while the walk waits
            for (int i = 0; i < 1000 && fs.foldersOpened() < 3; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            EXPECT_GE(fs.foldersOpened(), 3);
            first = false;
        }
        std::set<std::string> names;
        while (const FolderReader::Entry* entry = reader.next()) {
            EXPECT_TRUE(names.insert(std::string(entry->name)).second) << entry->name;
            ASSERT_EQ(entry->status, FolderReader::Status::Read);
            EXPECT_EQ(entry->st.size, static_cast<std::int64_t>(entry->name.size() - 1));
        }
        EXPECT_EQ(names.size(), static_cast<std::size_t>(kFiles)) << folder;
    }
    // each request may add one batch past the bound, and the folder being
    // reported holds the batch handed out, up to two read on, and one the walk
    // listed itself
    const std::size_t most =
        limits.entries + static_cast<std::size_t>(limits.requests + 4) * limits.batch;
    EXPECT_LE(reader.peakHeld(), most);
}

TEST(FolderReader, NamesTheMasksRejectAreNotReadAheadAndSkippedFoldersAreLeft) {
    test::TempTree tree;
    tree.file("a/keep.jpg", "12");
    tree.file("a/drop.txt", "1234");
    tree.file("b/other.jpg");
    WalkReadAhead limits;
    limits.requests = 3;
    limits.fromStart = true;
    FolderQueue queue;
    queue.push(tree.at("a"), 1);
    queue.push(tree.at("b"), 1);
    FolderReader reader(queue, limits, StatusHint({"*.jpg"}, {}));
    ASSERT_TRUE(reader.open(queue.pop().path, true));
    reader.skip();  // as for a folder already walked
    ASSERT_TRUE(reader.open(queue.pop().path, true));
    const FolderReader::Entry* entry = reader.next();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->name, "other.jpg");
    EXPECT_EQ(reader.next(), nullptr);

    FolderQueue again;
    FolderReader serial(again, WalkReadAhead{}, StatusHint({"*.jpg"}, {}));
    ASSERT_TRUE(serial.open(tree.at("a"), false));
    while (const FolderReader::Entry* e = serial.next()) {
        const bool wanted = e->name == "keep.jpg";
        EXPECT_EQ(e->status, wanted ? FolderReader::Status::Read : FolderReader::Status::NotRead);
        platform::FileStatus st;
        ASSERT_TRUE(serial.status(*e, true, st));  // the walk reads the rest itself
        EXPECT_EQ(st.size, wanted ? 2 : 4);
    }
}

}  // namespace
}  // namespace folivar
