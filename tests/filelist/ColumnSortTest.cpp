#include "filelist/ColumnSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "filelist/EConvertError.h"
#include "support/ThrowsMessage.h"

namespace folivar {
namespace {

// A table whose rows carry their starting position in FileName ("r0", "r1",
// ...) unless the column sorted is FileName itself.
FileTable tableWith(TFileColumn column, const std::vector<std::string>& cells) {
    FileTable table;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        FileRow row{"r" + std::to_string(i), "/p/", "0", "", "1.1.2001", "0", "-"};
        row.cell(column) = cells[i];
        table.append(row);
    }
    return table;
}

std::vector<std::string> column(const FileTable& table, TFileColumn c) {
    std::vector<std::string> cells;
    for (const FileRow& row : table) {
        cells.push_back(row.cell(c));
    }
    return cells;
}

using Texts = std::vector<std::string>;

struct SortCase {
    TFileColumn column;
    bool descending;
    Texts cells, sorted;
};

void PrintTo(const SortCase& c, std::ostream* out) {
    *out << "column " << static_cast<int>(c.column)
         << (c.descending ? " descending" : " ascending");
}

class SortByColumn : public testing::TestWithParam<SortCase> {
protected:
    void SetUp() override { std::setlocale(LC_COLLATE, "C"); }
};

TEST_P(SortByColumn, OrdersTheCells) {
    const SortCase& c = GetParam();
    FileTable table = tableWith(c.column, c.cells);
    sortRows(table, c.column, c.descending);
    EXPECT_EQ(column(table, c.column), c.sorted);
}

INSTANTIATE_TEST_SUITE_P(
    Columns, SortByColumn,
    testing::Values(
        // numbers, not texts; sizes past 2 and 4 GiB stay positive
        SortCase{fcSize,
                 false,
                 {"100", "9", "5368709120", "10", "2147483648", "0"},
                 {"0", "9", "10", "100", "2147483648", "5368709120"}},
        SortCase{fcSize, true, {"100", "9", "5368709120", "10"}, {"5368709120", "100", "10", "9"}},
        SortCase{fcGroup, false, {"10", "2", "0", "1"}, {"0", "1", "2", "10"}},
        SortCase{fcGroup, true, {"10", "2", "0", "1"}, {"10", "2", "1", "0"}},
        // dates, not texts
        SortCase{fcModified,
                 false,
                 {"1.1.2005", "10.7.2004", "1.8.2004", "9.7.2004"},
                 {"9.7.2004", "10.7.2004", "1.8.2004", "1.1.2005"}},
        SortCase{fcModified,
                 true,
                 {"9.7.2004", "1.1.2005", "10.7.2004"},
                 {"1.1.2005", "10.7.2004", "9.7.2004"}},
        // letter case does not count; "_" and bytes past ASCII keep their codes
        SortCase{fcType,
                 false,
                 {"_", "jpg", "Gif", "\xC3\xA9", "JPEG", "[", "\xC3\x89"},
                 {"Gif", "JPEG", "jpg", "[", "_", "\xC3\x89", "\xC3\xA9"}},
        SortCase{fcType, true, {"b", "A", "", "c"}, {"c", "b", "A", ""}},
        SortCase{fcPath, false, {"/x/b/", "/X/A/", "/x/"}, {"/x/", "/X/A/", "/x/b/"}},
        SortCase{fcStatus, false, {"Orig", "Dupl", "-", "dupl"}, {"-", "Dupl", "dupl", "Orig"}},
        // FileName ascending follows the locale (here plain byte order, case
        // counting); descending is the case-blind order reversed
        SortCase{fcFileName,
                 false,
                 {"apple", "Zebra", "Apple", "_x"},
                 {"Apple", "Zebra", "_x", "apple"}},
        SortCase{fcFileName,
                 true,
                 {"apple", "Zebra", "_x", "Banana"},
                 {"_x", "Zebra", "Banana", "apple"}}));

TEST(SortRows, EqualRowsKeepTheirOrder) {  // in either direction
    FileTable table = tableWith(fcPath, {"/b/", "/A/", "/a/", "/B/", "/a/"});
    sortRows(table, fcPath, false);
    EXPECT_EQ(column(table, fcFileName), (Texts{"r1", "r2", "r4", "r0", "r3"}));
    sortRows(table, fcPath, true);
    EXPECT_EQ(column(table, fcFileName), (Texts{"r0", "r3", "r1", "r2", "r4"}));
}

struct ErrorCase {
    TFileColumn column;
    Texts cells;
    std::string message;
};

void PrintTo(const ErrorCase& c, std::ostream* out) {
    *out << c.message;
}

class SortError : public testing::TestWithParam<ErrorCase> {};

TEST_P(SortError, LeavesEveryRowWhereItWas) {
    const ErrorCase& c = GetParam();
    for (const int8_t before : {int8_t{-1}, int8_t{0}, static_cast<int8_t>(c.column)}) {
        FileTable table = tableWith(c.column, c.cells);
        int8_t last = before;
        EXPECT_THROW_MSG(clickColumn(table, c.column, last), EConvertError, c.message);
        EXPECT_EQ(last, before);
        EXPECT_EQ(column(table, c.column), c.cells);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cells, SortError,
    testing::Values(ErrorCase{fcSize, {"5", "abc", "1", "x"}, "'abc' is not a valid integer value"},
                    ErrorCase{fcSize,
                              {"3", "99999999999999999999"},
                              "'99999999999999999999' is not a valid integer value"},
                    ErrorCase{fcGroup, {"1", ""}, "'' is not a valid integer value"},
                    ErrorCase{
                        fcModified, {"9.7.2004", "31.2.2004"}, "'31.2.2004' is not a valid date"},
                    ErrorCase{fcModified, {"2004-07-09"}, "'2004-07-09' is not a valid date"}));

struct Click {
    TFileColumn column;
    Texts names;
    int8_t last;
};

TEST(ClickColumn, AlternatesOnTheSameColumnAndStartsAscendingOnAnother) {
    FileTable table;
    table.append({"a", "/", "20", "b", "1.1.2001", "0", "-"});
    table.append({"b", "/", "10", "c", "1.1.2001", "0", "-"});
    table.append({"c", "/", "30", "a", "1.1.2001", "0", "-"});
    int8_t last = -1;
    for (const Click& click :
         {Click{fcSize, {"b", "a", "c"}, fcSize}, Click{fcSize, {"c", "a", "b"}, -1},
          Click{fcSize, {"b", "a", "c"}, fcSize}, Click{fcType, {"c", "a", "b"}, fcType},
          Click{fcSize, {"b", "a", "c"}, fcSize}}) {
        clickColumn(table, click.column, last);
        EXPECT_EQ(column(table, fcFileName), click.names);
        EXPECT_EQ(last, click.last);
    }
}

TEST(ClickColumn, EmptyListMovesTheLastColumnAndNoSuchColumnDoesNot) {
    FileTable table;
    int8_t last = -1;
    EXPECT_TRUE(clickColumn(table, fcModified, last).empty());
    EXPECT_EQ(last, fcModified);
    EXPECT_THROW(clickColumn(table, 7, last), std::out_of_range);
    EXPECT_THROW(clickColumn(table, -1, last), std::out_of_range);
    EXPECT_EQ(last, fcModified);
}

TEST(SortRows, ManyRowsAndTheOrderReturned) {
    std::setlocale(LC_COLLATE, "C");
    constexpr std::size_t kRows = 200000;
    FileTable table;
    for (std::size_t i = 0; i < kRows; ++i) {  // unique names, scrambled repeating sizes
        table.append({"f" + std::to_string((i * 104729) % kRows), "/data/",
                      std::to_string((i * 7919) % 50021), "", "1.1.2001", "0", "-"});
    }
    const Texts before = column(table, fcFileName);
    const std::vector<std::size_t> order = sortRows(table, fcSize, false);
    for (std::size_t k = 0; k < kRows; ++k) {
        ASSERT_EQ(table[k].FileName, before[order[k]]);
        ASSERT_TRUE(k == 0 || std::stoll(table[k - 1].Size) <= std::stoll(table[k].Size));
    }
    sortRows(table, fcFileName, false);
    const Texts names = column(table, fcFileName);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}

}  // namespace
}  // namespace folivar
