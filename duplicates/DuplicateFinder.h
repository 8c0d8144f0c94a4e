#pragma once

#include <cstddef>
#include <cstdint>

#include "duplicates/ContentClassifier.h"
#include "duplicates/DuplicateLinker.h"
#include "duplicates/DuplicateRecords.h"
#include "duplicates/LinkRecorder.h"
#include "filelist/ActionButtons.h"
#include "filelist/FileTable.h"
#include "filelist/ProgressSink.h"
#include "filelist/RowSelection.h"

namespace folivar {

// FIND DUPL, DEL DUPL, LINK DUPL and Keep This Copy over the file list. The window shows what the
// sink is told and applies the outcome to its buttons; nothing here knows of widgets.
class DuplicateFinder {
public:
    struct SearchOutcome {
        std::int32_t duplicatesFound = 0;
        std::size_t rowCount = 0;  // rows left in the list
        // True: caption "DEL DUPL", the next click deletes. False: the mode
        // stays as it was ("FIND DUPL").
        bool deleteMode = false;
        ActionButtons buttons;  // both disabled when nothing was found
        // The user stopped it: no row is marked, the rows are in their order
        // of before and the mode stays.
        bool stopped = false;
    };

    struct DeleteOutcome {
        std::int32_t deleted = 0;
        std::int32_t remained = 0;
        std::size_t rowCount = 0;
        ActionButtons buttons;
        bool stopped = false;  // the user stopped it: the rows not reached stay
    };

    // What the searches so far have read, summed over every size run.
    struct ReadStatistics {
        std::int64_t bytesRead = 0;
        std::size_t filesOpened = 0;
        std::size_t peakOpenFiles = 0;
        std::size_t peakBlockBytes = 0;
    };

    DuplicateFinder();
    explicit DuplicateFinder(ContentClassifier::Options options);

    // Sorts the list by size, gives every set of identical files a group
    // number (in the order the sets are found), marks the first row of a set
    // "Orig" and the others "Dupl", and removes the rows in no set. A Size
    // text that is not a whole number throws EConvertError before any row
    // changes. Asked to stop (between size runs and between two reads of a
    // file), it leaves every row as it was before the search, in its order of
    // before, and says "Stopped - <rows> files in list; no duplicates are
    // marked"; a deletion after it finds nothing to delete.
    SearchOutcome search(FileTable& table, ProgressSink& progress);

    // Deletes the file of every row not marked "Orig" and removes its row,
    // but only a file that the last search marked "Dupl", that is still the
    // file it compared, and whose group's "Orig" file is still there as it
    // was; any other row stays and counts as remained. Asked to stop, it ends
    // before the next file and says "Stopped - " and what it deleted.
    DeleteOutcome deleteDuplicates(FileTable& table, ProgressSink& progress);

    // Keep This Copy: each selected row marked "Dupl" by the last search
    // becomes the "Orig" of its group and the group's former "Orig" a "Dupl"
    // (of several selected rows of one group, the last in list order); the
    // files' identities as compared go with the marks, and Group numbers
    // stay. Other rows are left as they are. Returns the number of groups
    // whose "Orig" changed. A selection of another number of rows changes
    // nothing (see requireSelectionFits).
    std::size_t keepThisCopy(FileTable& table, const RowSelection& selection);
    // Whether Keep This Copy may choose the row: marked "Dupl".
    static bool markedDuplicate(const FileRow& row);

    // LINK DUPL (see DuplicateLinker): what it would do, then the run.
    using LinkPlan = DuplicateLinker::Plan;
    using LinkOutcome = DuplicateLinker::Outcome;
    LinkPlan planLink(FileTable& table);
    LinkOutcome linkDuplicates(FileTable& table, ProgressSink& progress, bool mayHardLink,
                               LinkRecorder& recorder = LinkRecorder::none());

    const ReadStatistics& readStatistics() const { return readStats_; }

private:
    struct Marking;

    void markRun(FileTable& table, std::size_t first, std::size_t end, Marking& marking,
                 ProgressSink& progress);

    ContentClassifier classifier_;
    DuplicateRecords records_;
    DuplicateLinker::Memory linkMemory_;
    ReadStatistics readStats_;
};

}  // namespace folivar
