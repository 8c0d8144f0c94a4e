#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace folivar {

// Which rows of the file list are selected: one flag per row, in list order.
using RowSelection = std::vector<bool>;

// Every one of rowCount rows selected.
RowSelection selectAll(std::size_t rowCount);

// Each row selected exactly when it was not.
RowSelection invertSelection(const RowSelection& selection);

// The selected row that comes first in list order; nullopt when none is.
std::optional<std::size_t> firstSelected(const RowSelection& selection);

// The selection of a table of rowCount rows holding these row indexes; an
// index past the end throws std::out_of_range.
RowSelection selectionOf(std::size_t rowCount, const std::vector<std::size_t>& rows);

// The selection after the rows were put in another order: order[k] is the
// former index of the row now at k, and it stays selected when it was.
RowSelection followOrder(const RowSelection& selection, const std::vector<std::size_t>& order);

// That order, read from the files the rows named before and after a command
// that may also have dropped rows: a file listed twice is matched in turn,
// and a row that is new has a former index past every old one.
std::vector<std::size_t> orderBetween(const std::vector<std::string>& before,
                                      const std::vector<std::string>& after);

// A list command was handed a selection for another number of rows. Acting on
// it could open or delete the wrong files, so the command touches nothing.
void requireSelectionFits(const RowSelection& selection, std::size_t rowCount);

}  // namespace folivar
