#include "export/XlsxWorksheet.h"

#include <xlsxwriter.h>

#include <utility>

#include "export/CellText.h"
#include "export/ESpreadsheetError.h"

namespace folivar {

namespace {

// The most characters a cell holds.
constexpr int kCellTextLimit = 32767;

std::string cellName(std::size_t row, int column) {
    return "row " + std::to_string(row) + ", column " + std::to_string(column);
}

}  // namespace

XlsxWorksheet::XlsxWorksheet(lxw_worksheet* sheet, std::string name)
    : sheet_(sheet), name_(std::move(name)) {}

void XlsxWorksheet::setCell(std::size_t row, int column, const std::string& text) {
    if (sheet_ == nullptr) {
        throw ESpreadsheetError("The worksheet \"" + name_ +
                                "\" cannot be changed: its workbook is already written.");
    }
    if (row < 1 || row > LXW_ROW_MAX || column < 1 || column > LXW_COL_MAX) {
        throw ESpreadsheetError("The worksheet \"" + name_ + "\" has no cell at " +
                                cellName(row, column) + ": it holds " +
                                std::to_string(LXW_ROW_MAX) + " rows of " +
                                std::to_string(LXW_COL_MAX) + " columns.");
    }
    const auto rowIndex = static_cast<lxw_row_t>(row - 1);
    const auto columnIndex = static_cast<lxw_col_t>(column - 1);
    lxw_error error = LXW_NO_ERROR;
    // Most list texts need no escaping; those go out without a copy.
    if (isPlainCellText(text)) {
        error = worksheet_write_string(sheet_, rowIndex, columnIndex, text.c_str(), nullptr);
    } else {
        const std::string escaped = cellText(text);
        error = worksheet_write_string(sheet_, rowIndex, columnIndex, escaped.c_str(), nullptr);
    }
    if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED) {
        throw ESpreadsheetError("The text for " + cellName(row, column) + " of the worksheet \"" +
                                name_ + "\" is longer than a cell holds (" +
                                std::to_string(kCellTextLimit) + " characters).");
    }
    if (error == LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE) {
        throw ESpreadsheetError("The worksheet \"" + name_ + "\" cannot take " +
                                cellName(row, column) + ": rows are written in order.");
    }
    if (error != LXW_NO_ERROR) {
        throw ESpreadsheetError("Cannot write " + cellName(row, column) + " of the worksheet \"" +
                                name_ + "\": " + lxw_strerror(error));
    }
}

}  // namespace folivar
