#include "export/XlsxApplication.h"

#include <xlsxwriter.h>

#include <system_error>
#include <utility>

#include "export/ESpreadsheetError.h"
#include "export/ExportFolders.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/TemporaryFolder.h"

namespace folivar {

namespace {

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Sheet names are looked up as automation does: letter case aside.
bool sameSheetName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

XlsxApplication::XlsxApplication(XlsxDesktop desktop) : desktop_(std::move(desktop)) {}

XlsxApplication::~XlsxApplication() {
    if (workbook_ != nullptr) {
        // Never shown: nothing was written, so only the empty folder goes.
        for (auto& sheet : sheets_) {
            sheet->detach();
        }
        lxw_workbook_free(workbook_);
        platform::removeEmptyFolder(folder_);
    }
}

SpreadsheetCreator XlsxApplication::creator(XlsxDesktop desktop) {
    return [desktop](const std::string&) -> std::unique_ptr<SpreadsheetApplication> {
        if (desktop.hasSpreadsheetApplication && !desktop.hasSpreadsheetApplication()) {
            return nullptr;
        }
        return std::make_unique<XlsxApplication>(desktop);
    };
}

void XlsxApplication::setCaption(const std::string& caption) {
    caption_ = caption;
}

void XlsxApplication::addWorkbook() {
    if (workbook_ != nullptr || written_) {
        throw ESpreadsheetError("The spreadsheet application already holds a workbook.");
    }
    try {
        folder_ = platform::createUniqueFolder(platform::temporaryFolder(),
                                               std::string(kExportFolderPrefix));
    } catch (const std::system_error& e) {
        throw ESpreadsheetError(std::string("Cannot create the workbook: ") + e.what());
    }
    file_ = folder_ + "/" + workbookName(platform::clock().localNow());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = folder_.data();
    workbook_ = workbook_new_opt(file_.c_str(), &options);
    if (workbook_ == nullptr) {
        platform::removeEmptyFolder(folder_);
        throw ESpreadsheetError("Cannot create the workbook " + file_ + ".");
    }
}

void XlsxApplication::requireOpenWorkbook() const {
    if (workbook_ == nullptr) {
        throw ESpreadsheetError(written_ ? "The workbook is already written."
                                         : "There is no workbook: add one first.");
    }
}

void XlsxApplication::addSheets(int count, int type) {
    requireOpenWorkbook();
    if (type != kWorksheetSheetType) {
        throw ESpreadsheetError("Only worksheets can be added to the workbook.");
    }
    if (count < 1) {
        throw ESpreadsheetError("At least one sheet must be added.");
    }
    if (!sheets_.empty()) {
        throw ESpreadsheetError("No sheet can be added once a worksheet is being filled.");
    }
    sheetNames_.insert(sheetNames_.begin(), static_cast<std::size_t>(count), std::string());
}

void XlsxApplication::nameFirstWorksheet(const std::string& name) {
    requireOpenWorkbook();
    if (sheetNames_.empty()) {
        throw ESpreadsheetError("The workbook has no worksheet to name.");
    }
    if (!sheets_.empty()) {
        throw ESpreadsheetError("No worksheet can be renamed once one is being filled.");
    }
    sheetNames_.front() = name;
}

void XlsxApplication::createSheets() {
    for (const std::string& name : sheetNames_) {
        lxw_worksheet* sheet =
            workbook_add_worksheet(workbook_, name.empty() ? nullptr : name.c_str());
        if (sheet == nullptr) {
            throw ESpreadsheetError("\"" + name + "\" cannot name a worksheet.");
        }
        sheets_.push_back(std::make_unique<XlsxWorksheet>(sheet, sheet->name));
    }
}

SpreadsheetSheet& XlsxApplication::worksheet(const std::string& name) {
    requireOpenWorkbook();
    if (sheets_.empty()) {
        createSheets();
    }
    for (auto& sheet : sheets_) {
        if (sameSheetName(sheet->name(), name)) {
            return *sheet;
        }
    }
    throw ESpreadsheetError("The workbook has no worksheet named \"" + name + "\".");
}

void XlsxApplication::writeWorkbook() {
    if (sheets_.empty()) {
        createSheets();
    }
    if (!caption_.empty()) {
        lxw_doc_properties properties{};
        properties.title = caption_.data();
        workbook_set_properties(workbook_, &properties);
    }
    // The folder was made empty and private, so nothing can be there; if
    // something is anyway, it is kept and the export fails.
    if (platform::fileSystem().fileExists(file_) || platform::fileSystem().isDirectory(file_)) {
        throw ESpreadsheetError("Cannot write the workbook " + file_ +
                                ": a file of that name already exists.");
    }
    for (auto& sheet : sheets_) {
        sheet->detach();
    }
    lxw_workbook* workbook = std::exchange(workbook_, nullptr);
    written_ = true;
    const lxw_error error = workbook_close(workbook);
    if (error != LXW_NO_ERROR) {
        // What the library left there is its own broken output, nobody's file.
        platform::fileSystem().removeFile(file_);
        platform::removeEmptyFolder(folder_);
        throw ESpreadsheetError("Cannot write the workbook " + file_ + ": " + lxw_strerror(error));
    }
}

void XlsxApplication::setVisible(bool visible) {
    if (!visible || file_.empty()) {
        return;
    }
    if (!written_) {
        requireOpenWorkbook();
        writeWorkbook();
    }
    if (desktop_.open) {
        desktop_.open(file_, folder_);
    }
}

}  // namespace folivar
