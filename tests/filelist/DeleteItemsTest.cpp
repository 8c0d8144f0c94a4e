#include "filelist/DeleteItems.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "support/RecordingSink.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

using Texts = std::vector<std::string>;

struct ItemsCase {
    RowSelection selection;
    Texts left;
    const char* status;
    bool disableRename, disableFindDupl;
};

void PrintTo(const ItemsCase& c, std::ostream* out) {
    *out << "selected ";
    for (const bool selected : c.selection) {
        *out << (selected ? '1' : '0');
    }
    *out << (c.selection.empty() ? "none" : "") << ": " << c.status;
}

class DeleteItems : public testing::TestWithParam<ItemsCase> {};

// The rows name real files, which must all still be there afterwards.
TEST_P(DeleteItems, RemovesTheSelectedRowsAndNoFile) {
    const ItemsCase& c = GetParam();
    test::TempTree tree;
    FileTable table;
    for (std::size_t i = 0; i < c.selection.size(); ++i) {
        const std::string name = "f" + std::to_string(i);
        tree.file(name, "x");
        table.append({name, tree.path() + "/", "1", "", "1.1.2001", "0", "-"});
    }
    test::RecordingSink sink;
    const ActionButtons buttons = deleteItems(table, c.selection, sink);

    Texts left;
    for (const FileRow& row : table) {
        left.push_back(row.FileName);
    }
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(sink.statuses, (Texts{"Please wait...", c.status}));
    // A removal only ever disables.
    EXPECT_EQ(buttons.rename, c.disableRename ? std::optional(false) : std::nullopt);
    EXPECT_EQ(buttons.findDupl, c.disableFindDupl ? std::optional(false) : std::nullopt);
    for (std::size_t i = 0; i < c.selection.size(); ++i) {
        EXPECT_TRUE(platform::fileSystem().fileExists(tree.at("f" + std::to_string(i))));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DeleteItems,
    testing::Values(
        // the only two rows: both buttons go
        ItemsCase{{true, true}, {}, "0 files in list", true, true},
        // down to one row: only FIND DUPL goes
        ItemsCase{{true, false, true}, {"f1"}, "1 files in list", false, true},
        ItemsCase{{false, true, false, false}, {"f0", "f2", "f3"}, "3 files in list", false, false},
        // nothing selected: nothing goes, yet the buttons follow the count
        ItemsCase{{false}, {"f0"}, "1 files in list", false, true},
        ItemsCase{{}, {}, "0 files in list", true, true}));

TEST(DeleteItemsSelection, OfAnotherLengthTouchesNothing) {
    FileTable table;
    table.append({"a", "/", "1", "", "1.1.2001", "0", "-"});
    EXPECT_THROW(deleteItems(table, {true, true}, ProgressSink::silent()), std::invalid_argument);
    EXPECT_EQ(table.size(), 1u);
}

}  // namespace
}  // namespace folivar
