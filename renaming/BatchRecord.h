#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "renaming/JournalLines.h"

namespace folivar {

// One move of a batch as the journal tells it.
struct JournaledMove {
    std::size_t row = 0;  // the row of the list it was made for
    std::string from;     // the file's path before the batch
    std::string to;       // where the move put it
    // The file as it stood after the move; nullopt when the journal does not
    // know it (a move lost with the last records of a killed batch, found by
    // its planned name).
    std::optional<MovedIdentity> identity;
    // False: the move may or may not have been made before the batch was
    // killed; it was, if the file is found at to and not at from.
    bool recorded = true;
};

// The last batch as its journal tells it.
struct BatchRecord {
    bool begun = false;   // files may have moved
    bool ended = false;   // the batch ran to its end
    bool undone = false;  // an undo ran to its end
    // A batch or its undo that did not end, and that nobody has decided on yet.
    bool interrupted = false;
    std::size_t rows = 0;
    // Every move to take back, in the order made: the recorded ones, then,
    // after a batch that did not end, the rows after them that may have moved.
    std::vector<JournaledMove> moves;

    bool undoable() const { return begun && !undone; }

    static BatchRecord parse(std::string_view text);
};

}  // namespace folivar
