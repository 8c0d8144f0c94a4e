#include "search/FolderReader.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/FileSystem.h"
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
    FolderReader reader(queue, limits, StatusHint({"*"}, {}));
    while (!queue.empty()) {
        const std::string folder = queue.pop().path;
        ASSERT_TRUE(reader.open(folder, true));
        std::set<std::string> names;
        while (const FolderReader::Entry* entry = reader.next()) {
            EXPECT_TRUE(names.insert(std::string(entry->name)).second) << entry->name;
            ASSERT_EQ(entry->status, FolderReader::Status::Read);
            EXPECT_EQ(entry->st.size, static_cast<std::int64_t>(entry->name.size() - 1));
        }
        EXPECT_EQ(names.size(), static_cast<std::size_t>(kFiles)) << folder;
    }
    // each request, and the walk, may add one batch beyond the bound, and the
    // folder being reported keeps up to two
    const std::size_t most =
        limits.entries + static_cast<std::size_t>(limits.requests + 3) * limits.batch;
    EXPECT_LE(reader.peakHeld(), most);
    EXPECT_GT(reader.peakHeld(), limits.batch);  // it did read ahead
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
