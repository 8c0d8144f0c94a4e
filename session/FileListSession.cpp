#include "session/FileListSession.h"

#include <algorithm>
#include <memory>
#include <numeric>
#include <optional>
#include <utility>

#include "datetaken/DateTakenSort.h"
#include "duplicates/LinkJournal.h"
#include "filelist/ColumnSort.h"
#include "filelist/DeleteItems.h"
#include "filelist/EConvertError.h"
#include "filelist/ListStatus.h"
#include "filelist/PathPruning.h"
#include "filelist/ProgressReporter.h"
#include "filelist/Shuffle.h"
#include "filelist/SizeSum.h"
#include "platform/StateFolder.h"
#include "renaming/JournalHistory.h"
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

// Runs work over the table; given order, it receives where the rows went
// (as sortByColumn returns it), read from their files before and after.
template <typename Work>
auto tellingOrder(const FileTable& table, std::vector<std::size_t>* order, Work work) {
    const std::vector<std::string> before =
        order != nullptr ? filesOf(table) : std::vector<std::string>{};
    auto outcome = work();
    if (order != nullptr) {
        *order = orderBetween(before, filesOf(table));
    }
    return outcome;
}

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
    // A size that is no number, a mask that is none: the text says which.
    const auto stoppedBy = [&outcome](const std::exception& error) {
        outcome.result = ScanOutcome::Result::Stopped;
        outcome.error = error.what();
        return outcome;
    };
    ScanDriver::Totals totals;
    try {
        driver_.prepare(settings);
        sortedBy_.reset();
        dates_.clear();
        {
            const Change change(observer_, Change::Of::Rows);
            totals = driver_.walk(*outcome.folders, report);
        }
        // The move target chosen stays in sight after a scan to its end.
        const bool target = !moveTarget_.empty() && !totals.stopped;
        report.status(scanSummary(table_.size(), totals) +
                      (target ? "; Put files into " + moveTarget_ : std::string()));
    } catch (const EConvertError& error) {
        return stoppedBy(error);
    } catch (const EMaskException& error) {
        return stoppedBy(error);
    }
    outcome.buttons = ActionButtons::forRows(table_.size());
    outcome.stopped = totals.stopped;
    return outcome;
}

std::vector<std::size_t> FileListSession::sortByColumn(int column) {
    const Change change(observer_, Change::Of::Rows);
    const bool descending = column == lastSortedColumn_;
    std::vector<std::size_t> order = clickColumn(table_, column, lastSortedColumn_);
    sortedBy_ = SortedColumn{column, descending};
    return order;
}

std::vector<std::size_t> FileListSession::shuffle() {
    const Change change(observer_, Change::Of::Rows);
    sortedBy_.reset();
    return shuffleRows(table_);
}

std::vector<std::size_t> FileListSession::sortByDateTaken(ProgressSink& progress) {
    const Change change(observer_, Change::Of::Rows);
    std::optional<std::vector<std::size_t>> order =
        folivar::sortByDateTaken(table_, dates_, progress);
    if (!order) {
        // Stopped: every row where it was.
        std::vector<std::size_t> kept(table_.size());
        std::iota(kept.begin(), kept.end(), std::size_t{0});
        return kept;
    }
    sortedBy_.reset();  // by no column
    return std::move(*order);
}

void FileListSession::workOverList(ProgressSink& progress,
                                   const std::function<void()>& work) const {
    progress.status(kPleaseWait);
    work();
    progress.status(filesInList());
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

BatchStart FileListSession::prepareRename(RenameKind kind, const NamingScheme& scheme,
                                          ProgressSink& progress) const {
    const RenameSettings settings{kind, scheme, moveTarget_, &dates_};
    if (kind != RenameKind::Rename && moveTarget_.empty()) {
        return BatchStart::prepare(journalFolder_, table_, settings);  // refused, no date read
    }
    if (usesDatesTaken(settings) && !dates_.readAll(table_, progress)) {
        ProgressReporter(progress).status(
            stoppedText(filesInList() + (kind == RenameKind::Rename ? "; no file is renamed"
                                                                    : "; no file is moved")));
        return BatchStart::stopped();
    }
    return BatchStart::prepare(journalFolder_, table_, settings);
}

std::size_t FileListSession::rename(BatchStart batch, ProgressSink& progress) {
    if (batch.state() == BatchStart::State::Stopped) {
        return 0;  // prepareRename said so
    }
    if (!batch.mayRun()) {
        progress.status(batch.state() == BatchStart::State::Busy ? batch.why() : filesInList());
        return 0;
    }
    lowestUndoable_ = std::max(lowestUndoable_, batch.lowestInReach());
    const Change change(observer_, Change::Of::Cells);
    const std::vector<std::string> before = filesOf(table_);
    const std::size_t done = renameRows(table_, batch.settings(), progress, batch.names(progress));
    batch.end();
    dates_.follow(before, table_);
    return done;
}

std::size_t FileListSession::rename(RenameKind kind, const NamingScheme& scheme,
                                    ProgressSink& progress) {
    return rename(prepareRename(kind, scheme, progress), progress);
}

std::optional<std::vector<PreviewRow>> FileListSession::preview(RenameKind kind,
                                                                const NamingScheme& scheme,
                                                                ProgressSink& progress) const {
    if (kind != RenameKind::Rename && moveTarget_.empty()) {
        progress.status(filesInList());
        return std::nullopt;
    }
    progress.status(kPleaseWait);
    const RenameSettings settings{kind, scheme, moveTarget_, &dates_};
    if (usesDatesTaken(settings) && !dates_.readAll(table_, progress)) {
        ProgressReporter(progress).status(stoppedText(filesInList() + "; no preview is made"));
        return std::nullopt;
    }
    std::vector<PreviewRow> rows = previewRows(table_, settings);
    progress.status(filesInList());
    return rows;
}

UndoOutcome FileListSession::undoLastBatch(ProgressSink& progress) {
    if (journalFolder_.empty()) {
        progress.status(kNothingToUndo);
        return {};
    }
    const Change change(observer_, Change::Of::Cells);
    const std::vector<std::string> before = filesOf(table_);
    UndoOutcome outcome =
        undoBatch(journalFolder_, table_, progress, UndoReach{lowestUndoable_, std::nullopt});
    dates_.follow(before, table_);
    return outcome;
}

JournalCheck FileListSession::checkJournal() const {
    return journalFolder_.empty() ? JournalCheck{} : folivar::checkJournal(journalFolder_);
}

UndoOutcome FileListSession::undoInterruptedBatch(const InterruptedBatch& batch,
                                                  ProgressSink& progress) {
    const Change change(observer_, Change::Of::Cells);
    return undoBatch(journalFolder_, table_, progress, UndoReach{lowestUndoable_, batch.number});
}

void FileListSession::keepInterruptedBatch(const InterruptedBatch& batch) {
    folivar::keepInterruptedBatch(journalFolder_, batch.number);
}

DuplicateFinder::SearchOutcome FileListSession::findDuplicates(ProgressSink& progress,
                                                               std::vector<std::size_t>* order) {
    const Change change(observer_, Change::Of::Rows);
    sortedBy_.reset();  // the copies stand together, by size
    return tellingOrder(table_, order, [&] { return finder_.search(table_, progress); });
}

DuplicateFinder::DeleteOutcome FileListSession::deleteDuplicates(ProgressSink& progress,
                                                                 std::vector<std::size_t>* order) {
    const Change change(observer_, Change::Of::Rows);
    return tellingOrder(table_, order, [&] { return finder_.deleteDuplicates(table_, progress); });
}

std::size_t FileListSession::keepThisCopy(const RowSelection& selection) {
    const Change change(observer_, Change::Of::Cells);
    return finder_.keepThisCopy(table_, selection);
}

DuplicateFinder::LinkOutcome FileListSession::linkDuplicates(ProgressSink& progress,
                                                             const std::function<bool()>& mayLink) {
    LinkJournal::Start start = LinkJournal::Start::Unjournaled;
    std::string why;
    const std::unique_ptr<LinkJournal> journal =
        LinkJournal::begin(journalFolder_, table_.size(), start, why);
    if (start == LinkJournal::Start::Busy) {
        progress.status(why);
        return DuplicateFinder::LinkOutcome{.rowCount = table_.size()};
    }
    const Change change(observer_, Change::Of::Cells);
    const DuplicateFinder::LinkPlan plan = finder_.planLink(table_);
    // A link is made only where its undo is written down.
    const bool link = journal && plan.asksBeforeLinking() && mayLink();
    LinkRecorder& recorder = journal ? static_cast<LinkRecorder&>(*journal) : LinkRecorder::none();
    DuplicateFinder::LinkOutcome outcome = finder_.linkDuplicates(table_, progress, link, recorder);
    if (journal) {
        journal->end();
    } else if (plan.asksBeforeLinking()) {
        progress.status(linkingText(outcome.rowCount, outcome.shared, outcome.linked,
                                    outcome.remained, outcome.reclaimed) +
                        "; nothing linked without the undo journal: " + why);
    }
    return outcome;
}

DuplicateFinder::LinkOutcome FileListSession::linkDuplicates(ProgressSink& progress, bool mayLink) {
    return linkDuplicates(progress, [mayLink] { return mayLink; });
}

SpreadsheetExport::Outcome FileListSession::exportList(ProgressSink& progress) {
    return export_.exportList(table_, progress);
}

void FileListSession::close() {
    export_.quit();
}

void FileListSession::replaceRows(std::vector<FileRow> rows) {
    const Change change(observer_, Change::Of::Rows);
    sortedBy_.reset();
    table_.clear();
    dates_.clear();
    for (FileRow& row : rows) {
        table_.append(std::move(row));
    }
}

void FileListSession::setCell(std::size_t row, TFileColumn column, std::string text) {
    const Change change(observer_, Change::Of::Cells);
    table_[row].cell(column) = std::move(text);
}

}  // namespace folivar
