#include "filelist/FileTable.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace folivar {
namespace {

using Texts = std::vector<std::string>;

FileTable tableOf(const Texts& names) {
    FileTable table;
    for (const std::string& name : names) {
        table.append({name, "/", "0", "", "1.1.2001", "0", "-"});
    }
    return table;
}

Texts namesOf(const FileTable& table) {
    Texts names;
    for (const FileRow& row : table) {
        names.push_back(row.cell(fcFileName));
    }
    return names;
}

TEST(FileTable, RemoveRowsKeepsTheOthersInOrder) {
    FileTable table = tableOf({"a", "b", "c", "d", "e"});
    table.removeRows({3, 0, 3});
    EXPECT_EQ(namesOf(table), (Texts{"b", "c", "e"}));
    EXPECT_THROW(table.removeRows({0, 3}), std::out_of_range);
    EXPECT_EQ(namesOf(table), (Texts{"b", "c", "e"}));
}

TEST(FileTable, ReorderTakesOnlyAPermutation) {
    FileTable table = tableOf({"a", "b", "c"});
    table.reorder({2, 0, 1});
    EXPECT_EQ(namesOf(table), (Texts{"c", "a", "b"}));
    for (const auto& bad : std::vector<std::vector<std::size_t>>{{0, 1}, {0, 1, 1}, {0, 1, 3}}) {
        EXPECT_THROW(table.reorder(bad), std::invalid_argument);
        EXPECT_EQ(namesOf(table), (Texts{"c", "a", "b"}));
    }
}

}  // namespace
}  // namespace folivar
