#pragma once

#include <cstddef>
#include <vector>

class QItemSelectionModel;

namespace folivar {

// Which rows of the selection model's model are selected, one flag per row.
std::vector<bool> selectedRows(const QItemSelectionModel& selection);

// Selects exactly the flagged rows, whole rows, in as few ranges as they form.
void selectRows(QItemSelectionModel& selection, const std::vector<bool>& rows);

// The flags of rows that moved: order[k] is the former index of the row now at k.
std::vector<bool> followRows(const std::vector<bool>& rows, const std::vector<std::size_t>& order);

}  // namespace folivar
