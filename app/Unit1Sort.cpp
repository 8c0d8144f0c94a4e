// A click on a header of the file list sorts every row by that column.
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

}  // namespace folivar
