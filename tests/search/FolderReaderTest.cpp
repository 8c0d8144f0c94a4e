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
            while (fs.foldersOpened() < 3) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            first = false;
        }
        std::set<std::string> names;
        while (const FolderReader::Entry* entry = reader.next()) {
            EXPECT_TRUE(names.insert(std::string(entry->name)).second) << entry->name;
            ASSERT_EQ(entry->status, FolderReader::Status::Read);
            EXPECT_EQ(entry->st->size, static_cast<std::int64_t>(entry->name.size() - 1));
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

// Read ahead: what the masks want; by the walk itself (one request): nothing
// but links. Whatever was not read ahead, the walk reads when it needs it.
TEST(FolderReader, NamesTheMasksRejectAreNotReadAheadAndSkippedFoldersAreLeft) {
    test::TempTree tree;
    tree.file("a/keep.jpg", "12");
    tree.file("a/drop.txt", "1234");
    tree.file("b/other.jpg");
    tree.file("c/last.jpg");
    for (const int requests : {1, 3}) {
        WalkReadAhead limits;
        limits.requests = requests;
        limits.fromStart = true;
        FolderQueue queue;
        for (const char* folder : {"a", "b", "c"}) {
            queue.push(tree.at(folder), 1);
        }
        FolderReader reader(queue, limits, StatusHint({"*.jpg"}, {}));
        ASSERT_TRUE(reader.open(queue.pop().path, true));
        while (const FolderReader::Entry* e = reader.next()) {
            const bool wanted = e->name == "keep.jpg" && requests > 1;
            EXPECT_EQ(e->status,
                      wanted ? FolderReader::Status::Read : FolderReader::Status::NotRead)
                << e->name << ", " << requests << " requests";
            platform::FileStatus st;
            ASSERT_TRUE(reader.status(*e, true, st));
            EXPECT_EQ(st.size, e->name == "keep.jpg" ? 2 : 4);
        }
        ASSERT_TRUE(reader.open(queue.pop().path, true));
        reader.skip();  // as for a folder already walked
        ASSERT_TRUE(reader.open(queue.pop().path, true));
        const FolderReader::Entry* entry = reader.next();
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->name, "last.jpg");
        EXPECT_EQ(reader.next(), nullptr);
    }
}

}  // namespace
}  // namespace folivar
