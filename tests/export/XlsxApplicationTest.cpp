#include "export/XlsxApplication.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "WorkbookReader.h"
#include "export/ESpreadsheetError.h"
#include "export/SpreadsheetExport.h"
#include "support/RecordingSink.h"
#include "support/ScopedVariable.h"
#include "support/ScriptedClock.h"
#include "support/TempTree.h"
#include "support/ThrowsMessage.h"

namespace folivar {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;
using Cell = std::pair<std::string, std::string>;

FileTable listOf(const std::vector<FileRow>& rows) {
    FileTable table;
    for (const auto& row : rows) {
        table.append(row);
    }
    return table;
}

// Every workbook goes into a temporary folder of the test's own.
class XlsxApplicationTest : public testing::Test {
protected:
    XlsxApplicationTest() {
        clock.setLocalNow(
            {.year = 2004, .month = 7, .day = 9, .hour = 14, .minute = 5, .second = 9});
    }

    SpreadsheetExport::Result run(const FileTable& table) {
        test::RecordingSink sink;
        const SpreadsheetExport::Outcome outcome = exporter.exportList(table, sink);
        statuses.insert(statuses.end(), sink.statuses.begin(), sink.statuses.end());
        if (!outcome.warning.empty()) {
            warnings.push_back(outcome.warning);
        }
        return outcome.result;
    }

    bool tmpIsEmpty() const { return fs::is_empty(tmp.path()); }

    test::TempTree tmp;
    // The tests may set it again; the original comes back at the end.
    test::ScopedVariable tmpdir{"TMPDIR", tmp.path()};
    test::ScriptedClock clock;
    bool installed = true;
    Texts opened, openedIn, statuses, warnings;
    SpreadsheetExport exporter{
        XlsxApplication::creator({[this] { return installed; },
                                  [this](const std::string& file, const std::string& directory) {
                                      opened.push_back(file);
                                      openedIn.push_back(directory);
                                  }})};
};

TEST_F(XlsxApplicationTest, ThreeRowsFillA1ToG3WithTextsAsTheListShowsThem) {
    const std::string path = "/home/u/Fotos \xE2\x80\x93 \xC3\x84gypten/";
    const FileTable table = listOf({
        {"=SUM(A1:A3)", path, "9223372036854775807", "jpg", "31.12.2024", "0", "-"},
        {"\xE6\x97\xA5\xE6\x9C\xAC.png", path, "00120", "png", "1.1.2000", "12", "Orig"},
        {"+1-2", "/tmp/ lead/", "0", "", "29.2.2024", "12", "Dupl"},
    });
    ASSERT_EQ(run(table), SpreadsheetExport::Result::Completed);
    ASSERT_EQ(opened.size(), 1U);
    const fs::path file(opened[0]);
    EXPECT_EQ(file.filename(), "FileList 2004-07-09 14.05.09.xlsx");  // the time of the export
    EXPECT_EQ(file.parent_path().parent_path(), fs::path(tmp.path()));
    EXPECT_EQ(openedIn[0], file.parent_path().string());
    EXPECT_EQ(statuses.back(), "3 files in list");

    test::WorkbookContents book = test::readWorkbook(opened[0]);
    EXPECT_EQ(book.title, "Mirosel Folivar File List");
    EXPECT_EQ(book.sheets, Texts{"FileList"});
    EXPECT_EQ(book.extent, "3x7");
    EXPECT_EQ(book.formulas, 0);
    std::map<std::string, Cell> expected;
    for (std::size_t r = 0; r < 3; ++r) {
        for (int c = 0; c < kFileColumnCount; ++c) {
            const std::string& text = table[r].cell(static_cast<TFileColumn>(c));
            // An empty text leaves its cell empty, as in any spreadsheet.
            if (!text.empty()) {
                expected[std::string(1, static_cast<char>('A' + c)) + std::to_string(r + 1)] = {
                    "s", text};
            }
        }
    }
    EXPECT_EQ(book.cells.size(), 20U);
    EXPECT_EQ(book.cells, expected);
}

TEST_F(XlsxApplicationTest, UnusualNamesReadBackUnchanged) {
    const std::vector<Cell> names = {
        {"_x0041_.jpg", "_x0041_.jpg"},         {"cr\rin name", "cr\rin name"},
        {"ctl\x01.txt", "ctl\x01.txt"},         {"tab\tand\nline", "tab\tand\nline"},
        {"<&>\"'.txt", "<&>\"'.txt"},           {"nonchar\xEF\xBF\xBE", "nonchar\xEF\xBF\xBE"},
        {"bad\xFF.jpg", "bad\xEF\xBF\xBD.jpg"},  // shown as U+FFFD in the list too
    };
    FileTable table;
    for (const auto& name : names) {
        table.append({name.first, "/x/", "1", "jpg", "1.1.2001", "0", "-"});
    }
    run(table);
    ASSERT_EQ(opened.size(), 1U);
    test::WorkbookContents book = test::readWorkbook(opened[0]);
    for (std::size_t r = 0; r < names.size(); ++r) {
        EXPECT_EQ(book.cells["A" + std::to_string(r + 1)], Cell("s", names[r].second)) << r + 1;
    }
}

TEST_F(XlsxApplicationTest, EmptyListOrNoApplicationWritesNothing) {
    EXPECT_EQ(run(FileTable()), SpreadsheetExport::Result::EmptyList);
    EXPECT_TRUE(warnings.empty());
    installed = false;
    EXPECT_EQ(run(listOf({{"a", "/", "1", "", "1.1.2001", "0", "-"}})),
              SpreadsheetExport::Result::NoApplication);
    EXPECT_EQ(warnings, Texts{"You need to first install Microsoft Excel!"});
    EXPECT_TRUE(statuses.empty());
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(tmpIsEmpty());
}

TEST_F(XlsxApplicationTest, TwoExportsGiveTwoWorkbooks) {
    run(listOf({{"first.jpg", "/x/", "1", "jpg", "1.1.2001", "0", "-"}}));
    run(listOf({{"second.jpg", "/y/", "5", "jpg", "2.2.2002", "0", "-"},
                {"third.jpg", "/y/", "5", "jpg", "2.2.2002", "0", "-"}}));
    ASSERT_EQ(opened.size(), 2U);
    EXPECT_NE(opened[0], opened[1]);
    EXPECT_EQ(test::readWorkbook(opened[0]).cells["A1"].second, "first.jpg");
    test::WorkbookContents second = test::readWorkbook(opened[1]);
    EXPECT_EQ(second.extent, "2x7");
    EXPECT_EQ(second.cells["A1"].second, "second.jpg");
}

TEST_F(XlsxApplicationTest, UnusableTemporaryFolderIsAnError) {
    const std::string missing = tmp.at("missing");
    ::setenv("TMPDIR", missing.c_str(), 1);
    EXPECT_THROW_MSG(run(listOf({{"a", "/", "1", "", "1.1.2001", "0", "-"}})), ESpreadsheetError,
                     "Cannot create the workbook: Cannot create a folder in " + missing +
                         ": No such file or directory");
    EXPECT_TRUE(opened.empty());
}

TEST_F(XlsxApplicationTest, AFullDiskIsAnErrorAndLeavesNothing) {
    const std::string small = tmp.dir("small");
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=256k") != 0) {
        GTEST_SKIP() << "needs the right to mount a tmpfs";
    }
    ::setenv("TMPDIR", small.c_str(), 1);
    FileTable table;
    for (int i = 0; i < 20000; ++i) {
        table.append(
            {"IMG_" + std::to_string(i) + ".jpg", "/x/y/", "1", "jpg", "1.1.2001", "0", "-"});
    }
    EXPECT_THAT([&] { run(table); }, testing::ThrowsMessage<ESpreadsheetError>(testing::StartsWith(
                                         "Cannot write the workbook " + small)));
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(fs::is_empty(small));
    ::umount2(small.c_str(), MNT_DETACH);
}

class XlsxWorkbookTest : public XlsxApplicationTest {
protected:
    XlsxWorkbookTest() {
        app.addWorkbook();
        app.addSheets(1, kWorksheetSheetType);
        app.nameFirstWorksheet("FileList");
    }

    XlsxApplication app{{}};
};

TEST_F(XlsxWorkbookTest, NeverReplacesAFileAtTheWorkbooksName) {
    app.worksheet("filelist").setCell(1, 1, "mine");
    std::ofstream(app.workbookFile()) << "someone else's";
    EXPECT_THROW_MSG(app.setVisible(true), ESpreadsheetError,
                     "Cannot write the workbook " + app.workbookFile() +
                         ": a file of that name already exists.");
    EXPECT_EQ(test::readFile(app.workbookFile()), "someone else's");
}

TEST_F(XlsxWorkbookTest, CellsThatCannotBeWrittenAreErrors) {
    SpreadsheetSheet& sheet = app.worksheet("FileList");
    sheet.setCell(2, 1, "row two");
    const std::string prefix = "The worksheet \"FileList\" ";
    const std::string limits = ": it holds 1048576 rows of 16384 columns.";
    const struct {
        std::size_t row;
        int column;
        std::string text, message;
    } cases[] = {
        {1, 1, "above", prefix + "cannot take row 1, column 1: rows are written in order."},
        {1048577, 1, "x", prefix + "has no cell at row 1048577, column 1" + limits},
        {3, 0, "x", prefix + "has no cell at row 3, column 0" + limits},
        {3, 2, std::string(32768, 'p'),
         "The text for row 3, column 2 of the worksheet \"FileList\" is longer than a cell holds "
         "(32767 characters)."},
    };
    for (const auto& c : cases) {
        EXPECT_THROW_MSG(sheet.setCell(c.row, c.column, c.text), ESpreadsheetError, c.message);
    }
    sheet.setCell(3, 2, std::string(32767, 'p'));
    app.setVisible(true);
    EXPECT_THROW(sheet.setCell(4, 1, "after"), ESpreadsheetError);
    test::WorkbookContents book = test::readWorkbook(app.workbookFile());
    EXPECT_EQ(book.cells.size(), 2U);
    EXPECT_EQ(book.cells["B3"].second.size(), 32767U);
}

TEST_F(XlsxApplicationTest, AnUnshownWorkbookLeavesNothingBehind) {
    {
        XlsxApplication app({});
        app.addWorkbook();
        app.addSheets(1, kWorksheetSheetType);
        app.worksheet("Sheet1").setCell(1, 1, "never shown");
        EXPECT_FALSE(tmpIsEmpty());
    }
    EXPECT_TRUE(tmpIsEmpty());
}

}  // namespace
}  // namespace folivar
