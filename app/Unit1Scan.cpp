// SCAN: the scan itself, and the search component's four events.
#include <string>
#include <utility>

#include "app/ActionStrip.h"
#include "app/ScanSettingsPanel.h"
#include "app/Unit1.h"
#include "session/FileListSession.h"
#include "widgets/StyledButton.h"

namespace folivar {

// The component's events, as the session bound them to its scan.
void TForm1::EasyFileSearch1FileFound(TFileInformations FileFound) {
    session_->search().OnFileFound(std::move(FileFound));
}

bool TForm1::EasyFileSearch1AcceptFile(TFileInformations FileFound) {
    return session_->search().OnAcceptFile(std::move(FileFound));
}

void TForm1::EasyFileSearch1ChangeFolder(std::string NewPath) {
    session_->search().OnChangeFolder(std::move(NewPath));
}

void TForm1::EasyFileSearch1Statistics(TStatistics Stats) {
    session_->search().OnStatistics(Stats);
}

void TForm1::ScanButtonClick() {
    guarded([this] {
        ScanOutcome outcome;
        {
            LongOperation work = strip_->begin(LongOperation::Strip::Kept, strip_->scanButton());
            outcome = session_->scan(scan_->settings(), work);
        }
        if (outcome.folders) {
            scan_->showFolders(*outcome.folders);
        }
        switch (outcome.result) {
            case ScanOutcome::Result::NoPath:
                desktop_->beep();
                scan_->focusFolders();
                break;
            case ScanOutcome::Result::NoMask:
                desktop_->beep();
                scan_->focusMasks();
                break;
            case ScanOutcome::Result::Stopped:
                desktop_->error(QString::fromStdString(outcome.error));
                break;
            case ScanOutcome::Result::Completed:
                setDuplicateMode(true);
                strip_->apply(outcome.buttons);
                break;
        }
    });
}

}  // namespace folivar
