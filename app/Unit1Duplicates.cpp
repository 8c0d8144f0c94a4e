// FIND DUPL and DEL DUPL: one button, two operations in turn over the file list.
#include "app/BusyStrip.h"
#include "app/LongWork.h"
#include "app/Unit1.h"
#include "app/WindowProgress.h"
#include "filelist/ListStatus.h"
#include "session/FileListSession.h"

namespace folivar {

void TForm1::FindDuplButtonClick() {
    guarded([this] {
        BusyStrip strip = busyStrip();
        const LongWork::Running running(*work_);
        strip.hideButtons();
        WindowProgress shown = progress();
        shown.status(kPleaseWait);
        if (duplicateMode_) {
            strip.showProgress(true);
            const DuplicateFinder::SearchOutcome found = session_->findDuplicates(shown);
            applyButtons(found.buttons);
            if (found.deleteMode) {
                setDuplicateMode(false);
            }
        } else {
            strip.showBanner();
            applyButtons(session_->deleteDuplicates(shown).buttons);
        }
    });
}

}  // namespace folivar
