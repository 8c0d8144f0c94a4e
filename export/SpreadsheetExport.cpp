#include "export/SpreadsheetExport.h"

#include <utility>

#include "filelist/ListStatus.h"
#include "filelist/ProgressReporter.h"

namespace folivar {

namespace {

std::unique_ptr<SpreadsheetApplication> tryCreate(const SpreadsheetCreator& create) {
    if (!create) {
        return nullptr;
    }
    try {
        return create(kSpreadsheetProgramId);
    } catch (...) {
        // Whatever kept it from starting, the user is told the same.
        return nullptr;
    }
}

// One cell per column of each row, in list order; false when asked to stop
// before the last row.
bool fill(SpreadsheetSheet& sheet, const FileTable& table, ProgressReporter& report) {
    for (std::size_t r = 1; r <= table.size(); ++r) {
        if (report.stopRequested()) {
            return false;
        }
        const FileRow& row = table[r - 1];
        for (int column = 0; column < kFileColumnCount; ++column) {
            sheet.setCell(r, column + 1, row.cell(static_cast<TFileColumn>(column)));
        }
        report.rowDone();
    }
    return true;
}

// The progress bar stands in place of the buttons while it lives.
class ProgressShown {
public:
    explicit ProgressShown(ProgressSink& sink) : sink_(sink) { sink_.progressShown(true); }
    ~ProgressShown() { sink_.progressShown(false); }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

private:
    ProgressSink& sink_;
};

}  // namespace

SpreadsheetExport::SpreadsheetExport(SpreadsheetCreator create) : create_(std::move(create)) {}

SpreadsheetExport::Outcome SpreadsheetExport::exportList(const FileTable& table,
                                                         ProgressSink& progress) {
    if (table.empty()) {
        return {Result::EmptyList, {}};
    }
    std::unique_ptr<SpreadsheetApplication> created = tryCreate(create_);
    if (!created) {
        return {Result::NoApplication, kNoSpreadsheetMessage};
    }
    application_ = std::move(created);
    SpreadsheetApplication& app = *application_;

    ProgressReporter report(progress, table.size());
    report.status(kPleaseWait);
    app.setCaption(kExportCaption);
    app.addWorkbook();
    app.addSheets(1, kWorksheetSheetType);
    app.nameFirstWorksheet(kExportSheetName);
    SpreadsheetSheet& sheet = app.worksheet(kExportSheetName);
    {
        const ProgressShown shown(progress);
        if (!fill(sheet, table, report)) {
            // Never shown, the workbook is never written: its folder goes
            // with the application.
            application_.reset();
            report.status(stoppedText(filesInListText(table.size()) + "; no workbook is made"));
            return {Result::Stopped, {}};
        }
        app.setVisible(true);
        report.status(filesInListText(table.size()));
    }
    return {Result::Completed, {}};
}

void SpreadsheetExport::quit() {
    if (application_) {
        application_->quit();
    }
}

}  // namespace folivar
