#include "app/ViewSelection.h"

#include <QItemSelectionModel>

namespace folivar {

std::vector<bool> selectedRows(const QItemSelectionModel& selection) {
    const QAbstractItemModel* model = selection.model();
    std::vector<bool> rows(model == nullptr ? 0 : static_cast<std::size_t>(model->rowCount()),
                           false);
    // Ranges, not indexes: selecting every one of 200,000 rows is one range.
    for (const QItemSelectionRange& range : selection.selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            if (row >= 0 && static_cast<std::size_t>(row) < rows.size()) {
                rows[static_cast<std::size_t>(row)] = true;
            }
        }
    }
    return rows;
}

void selectRows(QItemSelectionModel& selection, const std::vector<bool>& rows) {
    const QAbstractItemModel* model = selection.model();
    QItemSelection wanted;
    if (model != nullptr && model->columnCount() > 0) {
        const int lastColumn = model->columnCount() - 1;
        const auto count = std::min(rows.size(), static_cast<std::size_t>(model->rowCount()));
        std::size_t row = 0;
        while (row < count) {
            if (!rows[row]) {
                ++row;
                continue;
            }
            const std::size_t first = row;
            while (row < count && rows[row]) {
                ++row;
            }
            wanted.append(QItemSelectionRange(model->index(static_cast<int>(first), 0),
                                              model->index(static_cast<int>(row - 1), lastColumn)));
        }
    }
    // Replacing one selection of many ranges by another in one step has the
    // model compare them range by range, which takes minutes on 200,000 rows
    // selected every other one. Emptied first, neither side needs comparing.
    selection.clearSelection();
    selection.select(wanted, QItemSelectionModel::Select);
}

std::vector<bool> followRows(const std::vector<bool>& rows, const std::vector<std::size_t>& order) {
    std::vector<bool> moved(order.size(), false);
    for (std::size_t k = 0; k < order.size(); ++k) {
        moved[k] = order[k] < rows.size() && rows[order[k]];
    }
    return moved;
}

}  // namespace folivar
