// EXPORT: the file list into a new workbook, shown with the desktop's
// spreadsheet program.
#include <QProgressBar>
#include <QPushButton>
#include <string>
#include <utility>

#include "app/EngineBridge.h"
#include "app/Unit1.h"
#include "export/XlsxApplication.h"
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

void TForm1::showExportProgress(bool shown) {
    for (QWidget* button : {ScanButton, RenameButton, FindDuplButton}) {
        button->setVisible(!shown);
    }
    // The bar keeps the position it had until the first row is written.
    ProgressBar->setVisible(shown);
    if (shown) {
        ProgressBar->repaint();
    }
}

void TForm1::ExportButtonClick() {
    guarded([this] {
        SpreadsheetExport::Events events;
        events.status = [this](const std::string& text) { showStatus(fromEngine(text)); };
        events.warning = [this](const std::string& text) { desktop_->warning(fromEngine(text)); };
        events.showProgress = [this] { showExportProgress(true); };
        events.progress = [this](int percent) {
            ProgressBar->setValue(percent);
            ProgressBar->repaint();
        };
        events.hideProgress = [this] { showExportProgress(false); };
        spreadsheetExport_.exportList(fileTable_, events);
    });
}

}  // namespace folivar
