#include "filelist/DeleteItems.h"

namespace folivar {

ButtonsAfterRemoval deleteItems(FileTable& table, const RowSelection& selection,
                                const StatusSink& status) {
    requireSelectionFits(selection, table.size());
    report(status, kPleaseWait);
    std::vector<std::size_t> doomed;
    for (std::size_t row = 0; row < selection.size(); ++row) {
        if (selection[row]) {
            doomed.push_back(row);
        }
    }
    table.removeRows(std::move(doomed));
    report(status, filesInListText(table.size()));
    return buttonsAfterRemoval(table.size());
}

}  // namespace folivar
