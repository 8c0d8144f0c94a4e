// A click on a header of the file list sorts every row by that column.
#include <QItemSelectionModel>
#include <QTableView>
#include <cstddef>
#include <vector>

#include "app/FileListModel.h"
#include "app/Unit1.h"
#include "app/ViewSelection.h"
#include "filelist/ColumnSort.h"

namespace folivar {

void TForm1::ListViewColumnClick(int column) {
    guarded([this, column] {
        QItemSelectionModel* selection = ListView->selectionModel();
        const std::vector<bool> selected = selectedRows(*selection);
        const QModelIndex current = selection->currentIndex();
        const int currentRow = current.isValid() ? current.row() : -1;
        const int currentColumn = current.isValid() ? current.column() : 0;
        const auto restore = [&](const std::vector<bool>& rows, int row) {
            selectRows(*selection, rows);
            if (row >= 0) {
                selection->setCurrentIndex(listModel_->index(row, currentColumn),
                                           QItemSelectionModel::NoUpdate);
            }
        };

        std::vector<std::size_t> order;
        listModel_->beginBulkUpdate();
        try {
            order = clickColumn(fileTable_, column, lastSortedColumn_);
        } catch (...) {
            // A cell that is no number or date stops the sort before any row
            // moves: the selection stays as it was.
            listModel_->endBulkUpdate();
            restore(selected, currentRow);
            throw;
        }
        listModel_->endBulkUpdate();

        // The selection and the current row stay with their files.
        int movedCurrent = -1;
        for (std::size_t k = 0; k < order.size() && currentRow >= 0; ++k) {
            if (order[k] == static_cast<std::size_t>(currentRow)) {
                movedCurrent = static_cast<int>(k);
                break;
            }
        }
        restore(followRows(selected, order), movedCurrent);
    });
}

}  // namespace folivar
