#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "datetaken/DatesTaken.h"
#include "duplicates/DuplicateFinder.h"
#include "export/SpreadsheetExport.h"
#include "filelist/ActionButtons.h"
#include "filelist/DeleteFiles.h"
#include "filelist/FileTable.h"
#include "filelist/OpenRequests.h"
#include "filelist/ProgressSink.h"
#include "filelist/RowSelection.h"
#include "filelist/ScanDriver.h"
#include "filelist/ScanSettings.h"
#include "renaming/BatchStart.h"
#include "renaming/BatchUndo.h"
#include "renaming/NamePreview.h"
#include "renaming/RenameOperations.h"
#include "search/EasyFileSearch.h"
#include "session/RowsObserver.h"
#include "session/ScanOutcome.h"

namespace folivar {

// The file list and everything that works on it, without a window: the rows,
// the search component and the scan over it, the last sorted column, the move
// target folder, the duplicate finder between a search and its deletions,
// and the export's spreadsheet application. Each command takes plain
// settings, reports through a ProgressSink and returns what the window is to
// show; every change to the rows is told to the one observer.
class FileListSession {
public:
    explicit FileListSession(SpreadsheetCreator createSpreadsheet = {});
    ~FileListSession();
    FileListSession(const FileListSession&) = delete;
    FileListSession& operator=(const FileListSession&) = delete;

    // Who hears of every change to the rows; nullptr: nobody.
    void setObserver(RowsObserver* observer) { observer_ = observer; }

    const FileTable& rows() const { return table_; }
    // "<rows> files in list"
    std::string filesInList() const;

    // SCAN: refuses without folders or masks, prunes the folders, then empties
    // the list and fills it with a row per file found, showing each folder as
    // it is entered and the summary at the end.
    ScanOutcome scan(const ScanSettings& settings, ProgressSink& progress);

    // The search component of every scan, as the last scan set it; its events
    // are bound once, to the scan.
    const TEasyFileSearch& search() const { return search_; }
    // How far the walk reads folders ahead of the one it reports.
    void setReadAhead(const WalkReadAhead& readAhead) { search_.SetReadAhead(readAhead); }

    // A click on the header of a column (0..6): ascending, or descending when
    // the column was the last sorted ascending. Returns the order applied
    // (element k: the former index of the row now at k). A cell that does not
    // read as its column's number or date throws EConvertError, and no row moves.
    std::vector<std::size_t> sortByColumn(int column);

    // The column the rows stand sorted by, after a header click; nullopt
    // once they were put in another order (a scan, a shuffle, a duplicate
    // search) or never sorted.
    struct SortedColumn {
        int column = 0;
        bool descending = false;
        bool operator==(const SortedColumn&) const = default;
    };
    std::optional<SortedColumn> sortedBy() const { return sortedBy_; }

    // Shuffle Items; returns the order applied, as sortByColumn does.
    std::vector<std::size_t> shuffle();

    // Sort by Date Taken, oldest first, reading the dates not read yet;
    // returns the order applied, as sortByColumn does (none but the rows'
    // own when it was stopped while reading).
    std::vector<std::size_t> sortByDateTaken(ProgressSink& progress);
    // The dates taken read so far, by file.
    const DatesTaken& datesTaken() const { return dates_; }

    // Work the window does over the list (opening files, selecting rows)
    // between "Please wait..." and "<rows> files in list".
    void workOverList(ProgressSink& progress, const std::function<void()>& work) const;

    // The list commands over the selected rows: what the desktop is to open,
    // the folder to show in the shell panes, and those that change the list.
    std::vector<OpenRequest> filesToOpen(const RowSelection& selection) const;
    std::optional<OpenRequest> fileToOpen(const RowSelection& selection) const;
    std::optional<OpenRequest> folderToOpen(const RowSelection& selection) const;
    std::optional<std::string> shellFolder(const RowSelection& selection) const;
    ActionButtons deleteItems(const RowSelection& selection, ProgressSink& progress);
    DeleteFilesOutcome deleteFiles(const RowSelection& selection, ProgressSink& progress);
    // The text for the information box; nullopt when no row is selected.
    std::optional<std::string> sumSizes(const RowSelection& selection,
                                        ProgressSink& progress) const;

    // RENAME, MOVE and REN+MOV over every row, into the move target folder for
    // the moving ones, in two steps so that the window can ask in between:
    // the batch is made ready (see BatchStart; names made of the date taken
    // have every row's date read first), then run, when it may, and returns
    // the number of files done. A moving operation without a move target
    // folder touches no row; a batch another instance keeps from running
    // says so. Stopped while it reads the dates, no file moves (the dates read
    // are kept) and the status says "Stopped - 12 files in list; no file is
    // renamed" (or "... moved").
    BatchStart prepareRename(RenameKind kind, const NamingScheme& scheme,
                             ProgressSink& progress = ProgressSink::silent()) const;
    std::size_t rename(BatchStart batch, ProgressSink& progress);
    // Both steps: a batch whose journal cannot be written does not run.
    std::size_t rename(RenameKind kind, const NamingScheme& scheme, ProgressSink& progress);
    // What rename() would do to every row, touching no file; for a moving
    // operation into the move target folder. Dates taken not read yet are
    // read first, told to progress. There is no preview (nullopt) for a moving
    // operation without a move target folder, or when stopped meanwhile; the
    // status says "<rows> files in list", or that it was stopped.
    std::optional<std::vector<PreviewRow>> preview(
        RenameKind kind, const NamingScheme& scheme,
        ProgressSink& progress = ProgressSink::silent()) const;

    // Where the journal of the batches is kept (the user's state folder
    // unless set; empty: no journal, no undo).
    const std::string& journalFolder() const { return journalFolder_; }
    void setJournalFolder(std::string folder) { journalFolder_ = std::move(folder); }
    // Takes the newest batch not undone yet back, a RENAME, MOVE or REN+MOV
    // or a LINK DUPL (see undoBatch), also one of an earlier run of the
    // program; never one from before a batch that ran without its journal.
    UndoOutcome undoLastBatch(ProgressSink& progress);
    // What the journal holds for the start to ask about (see checkJournal);
    // the interrupted batch is then undone, if it still is the one to take
    // back, or kept, and not asked about again.
    JournalCheck checkJournal() const;
    UndoOutcome undoInterruptedBatch(const InterruptedBatch& batch, ProgressSink& progress);
    void keepInterruptedBatch(const InterruptedBatch& batch);

    // The folder as the folder picker gave it; empty when none was chosen.
    const std::string& moveTarget() const { return moveTarget_; }
    void setMoveTarget(std::string folder) { moveTarget_ = std::move(folder); }

    // FIND DUPL and DEL DUPL. A deletion deletes only what the last search
    // compared. Both may drop rows and put the rest in another order; given
    // order, it receives that order as sortByColumn returns it.
    DuplicateFinder::SearchOutcome findDuplicates(ProgressSink& progress,
                                                  std::vector<std::size_t>* order = nullptr);
    DuplicateFinder::DeleteOutcome deleteDuplicates(ProgressSink& progress,
                                                    std::vector<std::size_t>* order = nullptr);

    // For the window, two calls after FIND DUPL:
    // - Keep This Copy (PopupMenu1's KeepThisCopy1) over the selected rows:
    //   each selected "Dupl" becomes its group's "Orig" and the former "Orig"
    //   a "Dupl" (the last selected of a group wins). Returns the number of
    //   groups whose "Orig" changed; the rows' cells are told to the observer.
    std::size_t keepThisCopy(const RowSelection& selection);
    // - LINK DUPL (LinkDuplButton) over the rows the last search marked
    //   "Dupl", only while they and their "Orig" are the files compared:
    //   data shared where the file system can ("Shared"), else names linked
    //   ("Linked") if mayLink answers yes; it is called at most once a run,
    //   and only when some "Dupl" can only be linked (the window asks the
    //   user there). Every other row "Remained". The run is journaled as the
    //   newest batch, so undoLastBatch takes it back; the status line tells
    //   the counts and "Reclaimed - <size>". While another instance runs a
    //   batch nothing is done and the status says so; where the journal
    //   cannot be written, data is still shared but nothing is linked.
    DuplicateFinder::LinkOutcome linkDuplicates(ProgressSink& progress,
                                                const std::function<bool()>& mayLink);
    // The same with the answer given ahead.
    DuplicateFinder::LinkOutcome linkDuplicates(ProgressSink& progress, bool mayLink);

    // EXPORT, into a new workbook of the spreadsheet application.
    SpreadsheetExport::Outcome exportList(ProgressSink& progress);

    // The window is closing: the spreadsheet application of the last export
    // is told to quit.
    void close();

    // Rows from elsewhere in place of the list's, and one cell rewritten:
    // for a list made without a scan (tests, a list kept aside).
    void replaceRows(std::vector<FileRow> rows);
    void setCell(std::size_t row, TFileColumn column, std::string text);

private:
    FileTable table_;
    TEasyFileSearch search_;
    ScanDriver driver_{search_, table_};
    std::int8_t lastSortedColumn_ = -1;
    std::optional<SortedColumn> sortedBy_;
    std::string moveTarget_;
    std::string journalFolder_;
    // No undo reaches a batch numbered below: one that ran without its
    // journal came after them.
    std::uint64_t lowestUndoable_ = 0;
    DuplicateFinder finder_;
    // Read on first need, also by a preview, which changes nothing else.
    mutable DatesTaken dates_;
    SpreadsheetExport export_;
    RowsObserver* observer_ = nullptr;
};

}  // namespace folivar
