#pragma once

#include <cstddef>
#include <string>

#include "export/SpreadsheetSheet.h"

struct lxw_worksheet;

namespace folivar {

// A worksheet of a workbook being written. Rows go out in order (the workbook
// is written with constant memory): a cell above the last row written cannot
// be written any more.
class XlsxWorksheet : public SpreadsheetSheet {
public:
    XlsxWorksheet(lxw_worksheet* sheet, std::string name);

    const std::string& name() const { return name_; }

    // Throws ESpreadsheetError for a cell outside the worksheet, a row above
    // the last one written, a text too long for a cell, or once the workbook is
    // written.
    void setCell(std::size_t row, int column, const std::string& text) override;

    // The workbook was written or dropped: no more cells.
    void detach() { sheet_ = nullptr; }

private:
    lxw_worksheet* sheet_;
    std::string name_;
};

}  // namespace folivar
