#pragma once

#include <map>
#include <string>
#include <vector>

namespace folivar::test {

// What an independent reader (openpyxl) finds in an .xlsx workbook.
struct WorkbookContents {
    std::string title;
    std::vector<std::string> sheets;
    std::string extent;  // of the first sheet: "<rows>x<columns>"
    int formulas = 0;    // formula elements in every worksheet
    // The first sheet's cells that hold a value: "B2" -> the reader's type
    // ("s" text, "n" number, "f" formula) and the text.
    std::map<std::string, std::pair<std::string, std::string>> cells;
};

// Reads the workbook with dump_workbook.py; throws std::runtime_error with the
// reader's output when it cannot.
WorkbookContents readWorkbook(const std::string& file);

}  // namespace folivar::test
