#pragma once

#include <cstddef>
#include <string>

namespace folivar {

// A worksheet taken by reference from a spreadsheet application.
class SpreadsheetSheet {
public:
    virtual ~SpreadsheetSheet() = default;

    // "Cells"(row, column) := text, counting both from 1; the text is stored
    // as a text value, never read as a number or a formula. Throws
    // ESpreadsheetError when the cell cannot be written.
    virtual void setCell(std::size_t row, int column, const std::string& text) = 0;
};

}  // namespace folivar
