#include "session/FileListSession.h"

#include <utility>

#include "filelist/ColumnSort.h"
#include "filelist/DeleteItems.h"
#include "filelist/EConvertError.h"
#include "filelist/ListStatus.h"
#include "filelist/PathPruning.h"
#include "filelist/ProgressReporter.h"
#include "filelist/Shuffle.h"
#include "filelist/SizeSum.h"
#include "platform/StateFolder.h"
#include "renaming/BatchJournal.h"
#include "renaming/FileSystemNames.h"
#include "search/Masks.h"

namespace folivar {

namespace {

// The one place that tells the observer, on every way out: of rows about to
// change and changed, or of cells rewritten in place once they are.
class Change {
public:
    enum class Of { Rows, Cells };

    Change(RowsObserver* observer, Of what) : observer_(observer), what_(what) {
        if (observer_ != nullptr && what_ == Of::Rows) {
            observer_->rowsAboutToChange();
        }
    }
    ~Change() {
        if (observer_ == nullptr) {
            return;
        }
        if (what_ == Of::Rows) {
            observer_->rowsChanged();
        } else {
            observer_->cellsChanged();
        }
    }
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;

private:
    RowsObserver* observer_;
    Of what_;
};

}  // namespace

FileListSession::FileListSession(SpreadsheetCreator createSpreadsheet)
    : journalFolder_(platform::stateFolder()), export_(std::move(createSpreadsheet)) {}

FileListSession::~FileListSession() = default;

std::string FileListSession::filesInList() const {
    return filesInListText(table_.size());
}

ScanOutcome FileListSession::scan(const ScanSettings& settings, ProgressSink& progress) {
    ProgressReporter report(progress);
    ScanOutcome outcome;
    if (settings.folders.empty()) {
        report.status("You must enter a pathname!");
        outcome.result = ScanOutcome::Result::NoPath;
        return outcome;
    }
    if (settings.includeMasks.empty()) {
        report.status("You must enter a mask!");
        outcome.result = ScanOutcome::Result::NoMask;
        return outcome;
    }
    outcome.folders =
        foldersToScan(settings.folders, settings.options.contains(okIncludeSubfolder));
    ScanDriver::Totals totals;
    try {
        driver_.prepare(settings);
        {
            const Change change(observer_, Change::Of::Rows);
            totals = driver_.walk(*outcome.folders, report);
        }
        report.status(scanSummary(table_.size(), totals));
    } catch (const EConvertError& error) {
        outcome.result = ScanOutcome::Result::Stopped;
        outcome.error = error.what();
        return outcome;
    } catch (const EMaskException& error) {
        outcome.result = ScanOutcome::Result::Stopped;
        outcome.error = error.what();
        return outcome;
    }
    outcome.buttons = ActionButtons::forRows(table_.size());
    outcome.stopped = totals.stopped;
    return outcome;
}

std::vector<std::size_t> FileListSession::sortByColumn(int column) {
    const Change change(observer_, Change::Of::Rows);
    return clickColumn(table_, column, lastSortedColumn_);
}

std::vector<std::size_t> FileListSession::shuffle() {
    const Change change(observer_, Change::Of::Rows);
    return shuffleRows(table_);
}

std::vector<OpenRequest> FileListSession::filesToOpen(const RowSelection& selection) const {
    return openFilesRequests(table_, selection);
}

std::optional<OpenRequest> FileListSession::fileToOpen(const RowSelection& selection) const {
    return openFileRequest(table_, selection);
}

std::optional<OpenRequest> FileListSession::folderToOpen(const RowSelection& selection) const {
    return openFolderRequest(table_, selection);
}

std::optional<std::string> FileListSession::shellFolder(const RowSelection& selection) const {
    return folivar::shellFolder(table_, selection);
}

ActionButtons FileListSession::deleteItems(const RowSelection& selection, ProgressSink& progress) {
    const Change change(observer_, Change::Of::Rows);
    return folivar::deleteItems(table_, selection, progress);
}

DeleteFilesOutcome FileListSession::deleteFiles(const RowSelection& selection,
                                                ProgressSink& progress) {
    const Change change(observer_, Change::Of::Rows);
    return folivar::deleteFiles(table_, selection, progress);
}

std::optional<std::string> FileListSession::sumSizes(const RowSelection& selection,
                                                     ProgressSink& progress) const {
    return folivar::sumSizes(table_, selection, progress);
}

std::size_t FileListSession::rename(RenameKind kind, const NamingScheme& scheme,
                                    ProgressSink& progress) {
    if (kind != RenameKind::Rename && moveTarget_.empty()) {
        progress.status(filesInList());
        return 0;
    }
    const Change change(observer_, Change::Of::Cells);
    const RenameSettings settings{kind, scheme, moveTarget_};
    std::string why;
    std::unique_ptr<BatchJournal> journal =
        journalFolder_.empty()
            ? nullptr
            : BatchJournal::begin(journalFolder_, table_, settings, why, progress);
    // Without a journal the batch runs as ever, but cannot be undone: the
    // journal that is there tells of an older batch.
    lastBatchUnrecorded_ = journal == nullptr;
    if (!journal) {
        FileSystemNames names(progress);
        return renameRows(table_, settings, progress, names);
    }
    const std::size_t done = renameRows(table_, settings, progress, *journal);
    journal->end();
    return done;
}

std::vector<PreviewRow> FileListSession::preview(RenameKind kind,
                                                 const NamingScheme& scheme) const {
    if (kind != RenameKind::Rename && moveTarget_.empty()) {
        return {};
    }
    return previewRows(table_, RenameSettings{kind, scheme, moveTarget_});
}

UndoOutcome FileListSession::undoLastBatch(ProgressSink& progress) {
    if (lastBatchUnrecorded_ || journalFolder_.empty()) {
        progress.status(kNothingToUndo);
        return {};
    }
    const Change change(observer_, Change::Of::Cells);
    return undoBatch(journalFolder_, table_, progress);
}

bool FileListSession::hasInterruptedBatch() const {
    return !journalFolder_.empty() && interruptedBatch(journalFolder_);
}

void FileListSession::keepInterruptedBatch() {
    folivar::keepInterruptedBatch(journalFolder_);
}

DuplicateFinder::SearchOutcome FileListSession::findDuplicates(ProgressSink& progress) {
    const Change change(observer_, Change::Of::Rows);
    return finder_.search(table_, progress);
}

DuplicateFinder::DeleteOutcome FileListSession::deleteDuplicates(ProgressSink& progress) {
    const Change change(observer_, Change::Of::Rows);
    return finder_.deleteDuplicates(table_, progress);
}

SpreadsheetExport::Outcome FileListSession::exportList(ProgressSink& progress) {
    return export_.exportList(table_, progress);
}

void FileListSession::close() {
    export_.quit();
}

void FileListSession::replaceRows(std::vector<FileRow> rows) {
    const Change change(observer_, Change::Of::Rows);
    table_.clear();
    for (FileRow& row : rows) {
        table_.append(std::move(row));
    }
}

void FileListSession::setCell(std::size_t row, TFileColumn column, std::string text) {
    const Change change(observer_, Change::Of::Cells);
    table_[row].cell(column) = std::move(text);
}

}  // namespace folivar
