#include "filelist/DeleteItems.h"

#include "filelist/ListStatus.h"

namespace folivar {

ActionButtons deleteItems(FileTable& table, const RowSelection& selection, ProgressSink& progress) {
    requireSelectionFits(selection, table.size());
    progress.status(kPleaseWait);
    std::vector<std::size_t> doomed;
    for (std::size_t row = 0; row < selection.size(); ++row) {
        if (selection[row]) {
            doomed.push_back(row);
        }
    }
    table.removeRows(std::move(doomed));
    progress.status(filesInListText(table.size()));
    return ActionButtons::afterRemoval(table.size());
}

}  // namespace folivar
