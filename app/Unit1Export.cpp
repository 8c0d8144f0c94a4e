// EXPORT: the file list into a new workbook, shown with the desktop's
// spreadsheet program.
#include <string>
#include <utility>

#include "app/ActionStrip.h"
#include "app/EngineBridge.h"
#include "app/Unit1.h"
#include "export/XlsxApplication.h"
#include "session/FileListSession.h"
#include "widgets/StyledButton.h"

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
        SpreadsheetExport::Outcome outcome;
        {
            LongOperation work = strip_->begin(LongOperation::Strip::BarWhenTold, ExportButton);
            outcome = session_->exportList(work);
        }
        if (!outcome.warning.empty()) {
            desktop_->warning(fromEngine(outcome.warning));
        }
    });
}

}  // namespace folivar
