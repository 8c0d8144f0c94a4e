#pragma once

#include <memory>
#include <string>
#include <vector>

#include "export/SpreadsheetApplication.h"
#include "export/XlsxDesktop.h"
#include "export/XlsxWorksheet.h"

struct lxw_workbook;

namespace folivar {

// The spreadsheet application on Linux: its workbook is an .xlsx file named
// for the time of the export, written into a new private folder inside the
// temporary folder ($TMPDIR/folivar-export-XXXXXX/FileList 2004-07-09
// 14.05.09.xlsx, see ExportFolders.h), and showing it opens that file with the
// desktop's default application. The worksheet is written with constant
// memory, so a long list is not held twice.
class XlsxApplication : public SpreadsheetApplication {
public:
    explicit XlsxApplication(XlsxDesktop desktop);
    ~XlsxApplication() override;
    XlsxApplication(const XlsxApplication&) = delete;
    XlsxApplication& operator=(const XlsxApplication&) = delete;

    // Creates an application when the desktop has something to open .xlsx
    // files with (or does not say), else nullptr.
    static SpreadsheetCreator creator(XlsxDesktop desktop);

    // The caption becomes the workbook's title.
    void setCaption(const std::string& caption) override;
    // Makes the private folder; the file itself is written when shown.
    void addWorkbook() override;
    void addSheets(int count, int type) override;
    void nameFirstWorksheet(const std::string& name) override;
    // The first call fixes the sheets: none can be added or renamed after it.
    SpreadsheetSheet& worksheet(const std::string& name) override;
    // Writes the workbook (once; it never replaces a file) and opens it.
    void setVisible(bool visible) override;
    // Nothing runs that could be ended: the opened file stays for the user.
    void quit() override {}

    // The workbook's file, empty before addWorkbook().
    const std::string& workbookFile() const { return file_; }

private:
    void requireOpenWorkbook() const;
    void createSheets();
    void writeWorkbook();

    XlsxDesktop desktop_;
    std::string caption_;
    std::string folder_;
    std::string file_;
    lxw_workbook* workbook_ = nullptr;  // while being filled
    bool written_ = false;
    std::vector<std::string> sheetNames_;  // front first; empty: a default name
    std::vector<std::unique_ptr<XlsxWorksheet>> sheets_;
};

}  // namespace folivar
