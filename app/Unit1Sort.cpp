// A click on a header of the file list sorts every row by that column; Sort
// by Date Taken sorts them by when their photos and videos were taken.
#include "app/ActionStrip.h"
#include "app/FileListView.h"
#include "app/KeptSelection.h"
#include "app/Unit1.h"
#include "session/FileListSession.h"

namespace folivar {

void TForm1::ListViewColumnClick(int column) {
    guarded([this, column] {
        // A cell that is no number or date stops the sort before any row
        // moves: the selection then stays as it was.
        KeptSelection kept(*ListView);
        kept.follow(session_->sortByColumn(column));
    });
}

void TForm1::SortByDateTaken1Click() {
    guarded([this] {
        KeptSelection kept(*ListView);
        // Reading the dates of 200,000 files takes a while.
        LongOperation work = strip_->begin(LongOperation::Strip::Bar, nullptr);
        kept.follow(session_->sortByDateTaken(work));
    });
}

}  // namespace folivar
