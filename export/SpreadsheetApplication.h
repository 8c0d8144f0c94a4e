#pragma once

#include <functional>
#include <memory>
#include <string>

#include "export/SpreadsheetSheet.h"

namespace folivar {

// The program identifier the export asks for.
inline constexpr const char* kSpreadsheetProgramId = "Excel.Application";

// The sheet type passed to "Sheets"."Add": a worksheet.
inline constexpr int kWorksheetSheetType = -4167;

// The members of a spreadsheet application that the export drives, one per
// automation call. Every call after creation throws ESpreadsheetError when it
// fails.
class SpreadsheetApplication {
public:
    virtual ~SpreadsheetApplication() = default;

    // "Caption" := caption.
    virtual void setCaption(const std::string& caption) = 0;

    // "Workbooks"."Add"(): a new, empty workbook.
    virtual void addWorkbook() = 0;

    // "Workbooks"(1)."Sheets"."Add"(missing, missing, count, type): count new
    // sheets in front of the first workbook's sheets.
    virtual void addSheets(int count, int type) = 0;

    // "Workbooks"(1)."WorkSheets"(1)."Name" := name.
    virtual void nameFirstWorksheet(const std::string& name) = 0;

    // "Workbooks"(1)."Worksheets"(name): the worksheet of that name (letter case
    // aside). The reference lives as long as the application.
    virtual SpreadsheetSheet& worksheet(const std::string& name) = 0;

    // "Visible" := visible.
    virtual void setVisible(bool visible) = 0;

    // "Quit".
    virtual void quit() = 0;
};

// Creates the application object registered under a program identifier;
// nullptr (or an exception) when there is none or it cannot be started.
using SpreadsheetCreator =
    std::function<std::unique_ptr<SpreadsheetApplication>(const std::string& programId)>;

}  // namespace folivar
