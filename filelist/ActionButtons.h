#pragma once

#include <cstddef>
#include <optional>

namespace folivar {

// What an operation does to the enabled state of RENAME and FIND DUPL, which
// need at least one and at least two rows. nullopt: the button keeps the
// state it had.
struct ActionButtons {
    std::optional<bool> rename;
    std::optional<bool> findDupl;

    // A scan: each enabled exactly when the rows allow it.
    static ActionButtons forRows(std::size_t rowCount) { return {rowCount >= 1, rowCount >= 2}; }

    // Rows went: a button the rows no longer allow is disabled; none is ever
    // enabled, since another operation may have disabled it.
    static ActionButtons afterRemoval(std::size_t rowCount) {
        ActionButtons buttons;
        if (rowCount < 1) {
            buttons.rename = false;
        }
        if (rowCount < 2) {
            buttons.findDupl = false;
        }
        return buttons;
    }

    friend bool operator==(const ActionButtons&, const ActionButtons&) = default;
};

}  // namespace folivar
