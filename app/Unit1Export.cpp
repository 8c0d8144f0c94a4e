// EXPORT: the file list into a new workbook, shown with the desktop's
// spreadsheet program.
#include <string>
#include <utility>

#include "app/BusyStrip.h"
#include "app/EngineBridge.h"
#include "app/LongWork.h"
#include "app/Unit1.h"
#include "app/WindowProgress.h"
#include "export/XlsxApplication.h"
#include "session/FileListSession.h"

namespace folivar {

SpreadsheetCreator TForm1::spreadsheetCreator() {
    // Through desktop_ at the time of the call: tests install their own desktop
    // after the window is made.
    XlsxDesktop desktop;
    desktop.hasSpreadsheetApplication = [this] { return desktop_->hasSpreadsheetApplication(); };
    desktop.open = [this](const std::string& file, const std::string& directory) {
        desktop_->open(fromEngine(file), fromEngine(directory));
    };
    return XlsxApplication::creator(std::move(desktop));
}

void TForm1::ExportButtonClick() {
    guarded([this] {
        // The export says when the bar takes the buttons' place: only once the
        // workbook is there.
        BusyStrip strip = busyStrip();
        WindowProgress shown = progress(&strip);
        SpreadsheetExport::Outcome outcome;
        {
            const LongWork::Running running(*work_);
            outcome = session_->exportList(shown);
        }
        if (!outcome.warning.empty()) {
            desktop_->warning(fromEngine(outcome.warning));
        }
    });
}

}  // namespace folivar
