#pragma once

#include <cstddef>
#include <cstdint>
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
    // The file as it stood after the move, when the move may have made a
    // new one (a copy); nullopt when that is its source, or when the journal
    // does not know (a move lost with the last records of a killed batch,
    // found by its planned name).
    std::optional<MovedIdentity> identity;
    // The file at from right before its move; nullopt when it could not be
    // looked at (or an older journal did not say).
    std::optional<MovedIdentity> source;
    // False: the move may or may not have been made before the batch was
    // killed; it was, if the file is found at to and not at from, and is the
    // source moved.
    bool recorded = true;

    // The file found at to is the one this move put there, unchanged since:
    // as the journal saw it after the move, else its source itself or, after
    // a move to another file system, its copy.
    bool madeIt(const MovedIdentity& found) const;
    // What the journal knows of the file this move put at to.
    const std::optional<MovedIdentity>& made() const { return identity ? identity : source; }
};

// A batch as its journal tells it.
struct BatchRecord {
    BatchState state = BatchState::Unknown;
    bool ended = false;  // the batch ran to its end
    std::size_t rows = 0;
    std::string when;                  // the local time it began; empty: not known
    std::size_t planned = 0;           // rows it was to move
    std::vector<std::string> folders;  // the folders they were in, in list order
    // Every move to take back, in the order made: the recorded ones, then,
    // after a batch that did not end, the rows after them that may have moved.
    std::vector<JournaledMove> moves;

    bool undoable() const { return isUndoable(state); }
    bool interrupted() const { return isInterrupted(state); }

    static BatchRecord parse(std::string_view text);
};

}  // namespace folivar
