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
    // A side file of the row, moved right after the row's file.
    bool side = false;

    // The file found at to is the one this move put there, unchanged since:
    // as the journal saw it after the move, else its source itself or, after
    // a move to another file system, its copy.
    bool madeIt(const MovedIdentity& found) const;
    // What the journal knows of the file this move put at to.
    const std::optional<MovedIdentity>& made() const { return identity ? identity : source; }
};

// A folder the batch made, or was about to make, for a date folder.
struct MadeFolder {
    std::string path;
    bool told = false;  // what came of the making is written down
    bool made = false;  // told: the batch made it, and it is this folder
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

// One "Dupl" of a LINK DUPL batch that was to become another name of its
// "Orig", as the journal tells it.
struct JournaledLink {
    std::size_t row = 0;
    std::string path;            // the "Dupl"'s name, then the link's
    std::string original;        // its "Orig"
    std::string aside;           // the hidden name the link was made under
    MovedIdentity duplicate;     // the "Dupl" as compared
    MovedIdentity originalFile;  // the "Orig" as compared
    bool recorded = false;       // the link was made; else it may or may not have been
};

// A "Dupl" of a LINK DUPL batch whose data was shared.
struct JournaledShare {
    std::size_t row = 0;
    std::string path;
};

// A batch as its journal tells it.
struct BatchRecord {
    BatchState state = BatchState::Unknown;
    bool ended = false;  // the batch ran to its end
    std::size_t rows = 0;
    std::string when;                  // the local time it began; empty: not known
    std::size_t planned = 0;           // rows it was to move or link
    std::vector<std::string> folders;  // the folders they were in, in list order
    // Every move to take back, in the order made: the recorded ones, then,
    // after a batch that did not end, the rows after them that may have moved.
    // A row's side files come right after its file.
    std::vector<JournaledMove> moves;
    std::vector<MadeFolder> madeFolders;  // in the order made, parents first
    // A LINK DUPL batch: its links, in the order begun, and its shares.
    std::vector<JournaledLink> links;
    std::vector<JournaledShare> shares;

    bool undoable() const { return isUndoable(state); }
    bool interrupted() const { return isInterrupted(state); }

    static BatchRecord parse(std::string_view text);
};

}  // namespace folivar
