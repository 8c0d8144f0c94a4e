#pragma once

#include <QModelIndex>
#include <cstddef>
#include <vector>

#include "filelist/RowSelection.h"

namespace folivar {

class FileListView;

// Keeps the list's selection and current row on their rows across a command
// that puts the rows in another order: given the order applied, they move
// with their rows; without one (the command stopped before any row moved),
// they come back as they were. Either way when this goes, and the view stays
// where it was scrolled to: it does not jump to the selection.
class KeptSelection {
public:
    explicit KeptSelection(FileListView& view);
    ~KeptSelection();
    KeptSelection(const KeptSelection&) = delete;
    KeptSelection& operator=(const KeptSelection&) = delete;

    // order[k]: the former index of the row now at k.
    void follow(std::vector<std::size_t> order) { order_ = std::move(order); }

private:
    FileListView& view_;
    RowSelection rows_;
    int currentRow_ = -1;
    int currentColumn_ = 0;
    int scrolledDown_ = 0;
    int scrolledRight_ = 0;
    std::vector<std::size_t> order_;
};

}  // namespace folivar
