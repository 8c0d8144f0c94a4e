// FIND DUPL and DEL DUPL: one button, two operations in turn over the file list.
#include "app/ActionStrip.h"
#include "app/Unit1.h"
#include "session/FileListSession.h"
#include "widgets/StyledButton.h"

namespace folivar {

void TForm1::FindDuplButtonClick() {
    guarded([this] {
        LongOperation work =
            strip_->begin(duplicateMode_ ? LongOperation::Strip::Bar : LongOperation::Strip::Banner,
                          strip_->findDuplButton());
        if (duplicateMode_) {
            const DuplicateFinder::SearchOutcome found = session_->findDuplicates(work);
            strip_->apply(found.buttons);
            if (found.deleteMode) {
                setDuplicateMode(false);
            }
        } else {
            strip_->apply(session_->deleteDuplicates(work).buttons);
        }
    });
}

}  // namespace folivar
