// FIND DUPL and DEL DUPL: one button, two operations in turn over the file
// list; LINK DUPL beside it, and Keep This Copy from ListView's menu.
#include <cstddef>
#include <utility>
#include <vector>

#include "app/ActionStrip.h"
#include "app/FileListView.h"
#include "app/KeptSelection.h"
#include "app/Unit1.h"
#include "session/FileListSession.h"
#include "widgets/StyledButton.h"

namespace folivar {

void TForm1::FindDuplButtonClick() {
    guarded([this] {
        // The rows that remain keep their selection, for a SUM or Open after.
        KeptSelection kept(*ListView);
        std::vector<std::size_t> order;
        LongOperation work =
            strip_->begin(duplicateMode_ ? LongOperation::Strip::Bar : LongOperation::Strip::Banner,
                          strip_->findDuplButton());
        if (duplicateMode_) {
            const DuplicateFinder::SearchOutcome found = session_->findDuplicates(work, &order);
            strip_->apply(found.buttons);
            if (found.deleteMode) {
                setDuplicateMode(false);
            }
        } else {
            strip_->apply(session_->deleteDuplicates(work, &order).buttons);
        }
        kept.follow(std::move(order));
    });
}

void TForm1::LinkDuplButtonClick() {
    guarded([this] {
        LongOperation work = strip_->begin(LongOperation::Strip::Bar, strip_->linkDuplButton());
        // Asked by the engine once, and only when some copy can only be linked.
        session_->linkDuplicates(work, [this] {
            return desktop_->askYesNo(QStringLiteral(
                "These duplicates cannot share their data on this file system.\n"
                "Replace them by hard links to their originals? Linked files are one file: "
                "a change to one is a change to all."));
        });
    });
}

void TForm1::KeepThisCopy1Click() {
    guarded([this] { session_->keepThisCopy(ListView->selectedRows()); });
}

}  // namespace folivar
