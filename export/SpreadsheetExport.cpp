#include "export/SpreadsheetExport.h"

#include <utility>

#include "filelist/ProgressReporter.h"

namespace folivar {

namespace {

void show(const std::function<void(const std::string&)>& slot, const std::string& text) {
    if (slot) {
        slot(text);
    }
}

void call(const std::function<void()>& slot) {
    if (slot) {
        slot();
    }
}

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

// One cell per column of each row, in list order; the status and the bar
// follow the percentage only when it changes.
void fill(SpreadsheetSheet& sheet, const FileTable& table,
          const SpreadsheetExport::Events& events) {
    int shown = -1;
    for (std::size_t r = 1; r <= table.size(); ++r) {
        const FileRow& row = table[r - 1];
        for (int column = 0; column < kFileColumnCount; ++column) {
            sheet.setCell(r, column + 1, row.cell(static_cast<TFileColumn>(column)));
        }
        const int percent = PercentDone(r, table.size());
        if (percent != shown) {
            shown = percent;
            if (events.progress) {
                events.progress(percent);
            }
            show(events.status, std::to_string(percent) + "% are completed. Please wait...");
        }
    }
}

}  // namespace

SpreadsheetExport::SpreadsheetExport(SpreadsheetCreator create) : create_(std::move(create)) {}

SpreadsheetExport::Result SpreadsheetExport::exportList(const FileTable& table,
                                                        const Events& events) {
    if (table.empty()) {
        return Result::EmptyList;
    }
    std::unique_ptr<SpreadsheetApplication> created = tryCreate(create_);
    if (!created) {
        show(events.warning, kNoSpreadsheetMessage);
        return Result::NoApplication;
    }
    application_ = std::move(created);
    SpreadsheetApplication& app = *application_;

    show(events.status, "Please wait...");
    app.setCaption(kExportCaption);
    app.addWorkbook();
    app.addSheets(1, kWorksheetSheetType);
    app.nameFirstWorksheet(kExportSheetName);
    SpreadsheetSheet& sheet = app.worksheet(kExportSheetName);

    call(events.showProgress);
    try {
        fill(sheet, table, events);
        app.setVisible(true);
    } catch (...) {
        call(events.hideProgress);
        throw;
    }
    show(events.status, std::to_string(table.size()) + " files in list");
    call(events.hideProgress);
    return Result::Completed;
}

void SpreadsheetExport::quit() {
    if (application_) {
        application_->quit();
    }
}

}  // namespace folivar
