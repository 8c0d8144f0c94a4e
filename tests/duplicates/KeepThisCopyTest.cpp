// Keep This Copy: the chosen "Dupl" becomes its group's "Orig", and DEL DUPL
// then keeps it, with the checks of the search following the marks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ListRows.h"
#include "duplicates/DuplicateFinder.h"
#include "filelist/ColumnSort.h"
#include "platform/FileSystem.h"
#include "support/FileEdits.h"
#include "support/TempTree.h"

namespace folivar {
namespace {

using Texts = std::vector<std::string>;
using test::marks;

class KeepThisCopyTest : public testing::Test {
protected:
    // Two groups, sorted by size: a (o1, d1a, d1b) and b (o2, d2), and a lone
    // row that is in no group.
    void SetUp() override {
        tree.file("stray", "aa");
        for (const auto& [name, contents] : std::vector<std::pair<std::string, std::string>>{
                 {"o1", "aa"}, {"o2", "bbb"}, {"d1a", "aa"}, {"d2", "bbb"}, {"d1b", "aa"}}) {
            test::addRow(scanned, tree.file(name, contents));
        }
        search();
    }

    void search() {
        table = scanned;
        finder.search(table, ProgressSink::silent());
    }

    std::size_t keep(const Texts& names) {
        RowSelection selection(table.size(), false);
        for (std::size_t row = 0; row < table.size(); ++row) {
            for (const std::string& name : names) {
                selection[row] = selection[row] || table[row].FileName == name;
            }
        }
        return finder.keepThisCopy(table, selection);
    }
    bool exists(const char* name) { return platform::fileSystem().fileExists(tree.at(name)); }

    test::TempTree tree;
    FileTable scanned;
    FileTable table;
    DuplicateFinder finder;
};

TEST_F(KeepThisCopyTest, TheLastSelectedDuplOfAGroupBecomesItsOrig) {
    ASSERT_EQ(marks(table),
              (Texts{"o1 1 Orig", "d1a 1 Dupl", "d1b 1 Dupl", "o2 2 Orig", "d2 2 Dupl"}));
    struct Case {
        Texts selected;
        std::size_t groups;
        Texts marks;
    };
    const Case cases[] = {
        {{"d1a"}, 1, {"o1 1 Dupl", "d1a 1 Orig", "d1b 1 Dupl", "o2 2 Orig", "d2 2 Dupl"}},
        // Several of one group: the last in list order wins, and each group
        // has its own.
        {{"d1a", "d1b", "d2"},
         2,
         {"o1 1 Dupl", "d1a 1 Dupl", "d1b 1 Orig", "o2 2 Dupl", "d2 2 Orig"}},
        // An "Orig" selected with a "Dupl" of its group: the "Dupl" wins.
        {{"o1", "d1a"}, 1, {"o1 1 Dupl", "d1a 1 Orig", "d1b 1 Dupl", "o2 2 Orig", "d2 2 Dupl"}},
        {{"o1", "o2"}, 0, {"o1 1 Orig", "d1a 1 Dupl", "d1b 1 Dupl", "o2 2 Orig", "d2 2 Dupl"}},
        // A row that reads "Dupl" but was never marked by the search (a list
        // put together otherwise) stays as it is.
        {{"stray"}, 0, {"o1 1 Orig", "d1a 1 Dupl", "d1b 1 Dupl", "o2 2 Orig", "d2 2 Dupl"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.selected));
        search();
        table.append({"stray", tree.path() + "/", "2", "", "1.1.2024", "1", "Dupl"});
        EXPECT_EQ(keep(c.selected), c.groups);
        table.removeRows({table.size() - 1});
        EXPECT_EQ(marks(table), c.marks);
    }
}

TEST_F(KeepThisCopyTest, DelDuplThenDeletesTheFormerOrigAndKeepsTheChosenCopy) {
    sortRows(table, fcFileName, true);  // rows may move between search and choice (descending)
    EXPECT_EQ(keep({"d1b"}), 1u);
    const auto outcome = finder.deleteDuplicates(table, ProgressSink::silent());
    EXPECT_EQ(outcome.deleted, 3);
    EXPECT_EQ(marks(table), (Texts{"o2 2 Orig", "d1b 1 Orig"}));
    EXPECT_TRUE(exists("d1b"));
    EXPECT_FALSE(exists("o1"));
    EXPECT_FALSE(exists("d1a"));
}

TEST_F(KeepThisCopyTest, TheChecksOfTheSearchFollowTheMarks) {
    keep({"d1a", "d2"});
    // The new "Orig" of group 1 edited since the search: its group keeps
    // every copy. The former "Orig" of group 2 edited: it stays.
    test::editInPlaceKeepingTheTime(tree.at("d1a"), "AA");
    test::editInPlaceKeepingTheTime(tree.at("o2"), "BBB");
    const auto outcome = finder.deleteDuplicates(table, ProgressSink::silent());
    EXPECT_EQ(outcome.deleted, 0);
    EXPECT_EQ(outcome.remained, 3);
    for (const char* name : {"o1", "d1a", "d1b", "o2", "d2"}) {
        EXPECT_TRUE(exists(name)) << name;
    }
}

}  // namespace
}  // namespace folivar
