#include "app/KeptSelection.h"

#include <QItemSelectionModel>
#include <QScrollBar>

#include "app/FileListView.h"

namespace folivar {

KeptSelection::KeptSelection(FileListView& view)
    : view_(view),
      rows_(view.selectedRows()),
      scrolledDown_(view.verticalScrollBar()->value()),
      scrolledRight_(view.horizontalScrollBar()->value()) {
    const QModelIndex current = view.selectionModel()->currentIndex();
    if (current.isValid()) {
        currentRow_ = current.row();
        currentColumn_ = current.column();
    }
}

KeptSelection::~KeptSelection() {
    int current = order_.empty() ? currentRow_ : -1;
    if (!order_.empty()) {
        rows_ = followOrder(rows_, order_);
        for (std::size_t k = 0; k < order_.size() && currentRow_ >= 0; ++k) {
            if (order_[k] == static_cast<std::size_t>(currentRow_)) {
                current = static_cast<int>(k);
                break;
            }
        }
    }
    view_.selectRows(rows_);
    if (current >= 0) {
        view_.selectionModel()->setCurrentIndex(view_.model()->index(current, currentColumn_),
                                                QItemSelectionModel::NoUpdate);
    }
    view_.verticalScrollBar()->setValue(scrolledDown_);
    view_.horizontalScrollBar()->setValue(scrolledRight_);
}

}  // namespace folivar
