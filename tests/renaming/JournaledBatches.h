#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "filelist/FileTable.h"
#include "renaming/BatchUndo.h"
#include "renaming/RenameOperations.h"
#include "support/ScriptedClock.h"
#include "support/TempTree.h"

namespace folivar::test {

inline const NamingScheme kCounter{"", FileStructure::Counter, 4, 1};

// Files listed as a scan lists them, batches run over them as the session
// runs them (journaled, then ended), and their undo, with the journal in a
// state folder of the test's own.
class JournaledBatches : public testing::Test {
protected:
    JournaledBatches();

    // A file of that contents in the tree and a row for it.
    void addFile(const std::string& relative);
    // The batch; the number of files done.
    std::size_t run(RenameKind kind, const NamingScheme& scheme = kCounter,
                    const std::string& target = "");
    // Sets summary to the last status text.
    UndoOutcome undo(const UndoReach& reach = {});

    std::string journalFolder() const { return state.path() + "/folivar"; }
    // The newest batch's journal file.
    std::string newestJournal() const;
    // The journal as a kill would have left it: cut after its first bytes.
    void cutJournal(std::size_t bytes) const;
    // Where a kill leaves a journal once every file moved and before any
    // move was recorded: right after the last file was written down (a small
    // batch writes them all before its first move).
    static std::size_t afterSources(const std::string& journal);
    std::vector<std::string> column(TFileColumn c) const;

    ScriptedClock clock;
    TempTree tree;
    TempTree state;
    FileTable table;
    RenameSettings settings;
    std::string summary;
};

}  // namespace folivar::test
