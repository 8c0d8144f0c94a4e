#include "filelist/OpenRequests.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempTree.h"

namespace folivar {
namespace {

FileTable threeRows(const std::string& folder) {
    FileTable table;
    table.append({"a.txt", "/x/", "1", "txt", "1.1.2001", "0", "-"});
    table.append({"b c.jpg", folder, "1", "jpg", "1.1.2001", "0", "-"});
    table.append({"d", "/y/", "1", "", "1.1.2001", "0", "-"});
    return table;
}

TEST(OpenRequests, OpenFilesHandsOverEverySelectedFileInItsFolderInListOrder) {
    const FileTable table = threeRows("/z/");
    EXPECT_EQ(openFilesRequests(table, {true, false, true}),
              (std::vector<OpenRequest>{{"/x/a.txt", "/x/"}, {"/y/d", "/y/"}}));
    EXPECT_TRUE(openFilesRequests(table, {false, false, false}).empty());
    EXPECT_THROW(openFilesRequests(table, {true}), std::invalid_argument);
}

TEST(OpenRequests, OneRowCommandsTakeTheFirstSelectedRow) {
    const FileTable table = threeRows("/z/");
    const RowSelection selection{false, true, true};
    EXPECT_EQ(openFileRequest(table, selection), (OpenRequest{"/z/b c.jpg", "/z/"}));
    EXPECT_EQ(openFolderRequest(table, selection), (OpenRequest{"/z/", "/z/"}));

    const RowSelection none(3, false);
    EXPECT_FALSE(openFileRequest(table, none).has_value());
    EXPECT_FALSE(openFolderRequest(table, none).has_value());
}

TEST(OpenRequests, ShellFolderOnlyWhileTheFolderExists) {
    test::TempTree tree;
    const std::string folder = tree.dir("photos") + "/";
    const FileTable table = threeRows(folder);
    const RowSelection secondAndThird{false, true, true};

    EXPECT_EQ(shellFolder(table, secondAndThird), folder);
    EXPECT_FALSE(shellFolder(table, RowSelection(3, false)).has_value());

    std::filesystem::remove(tree.at("photos"));
    EXPECT_FALSE(shellFolder(table, secondAndThird).has_value());
}

}  // namespace
}  // namespace folivar
