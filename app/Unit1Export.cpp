// EXPORT: the file list into a new workbook, shown with the desktop's
// spreadsheet program.
#include "app/ActionStrip.h"
#include "app/EngineBridge.h"
#include "app/Unit1.h"
#include "session/FileListSession.h"
#include "widgets/StyledButton.h"

namespace folivar {

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
