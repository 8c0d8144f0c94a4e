#include "filelist/DeleteFiles.h"

#include <vector>

#include "filelist/ListStatus.h"
#include "platform/FileSystem.h"

namespace folivar {

namespace {

// Takes the rows of deleted files out of the table on every way out, so a row
// never outlives its file even when something throws midway.
class RowSweeper {
public:
    explicit RowSweeper(FileTable& table) : table_(table) {}
    ~RowSweeper() { table_.removeRows(std::move(gone_)); }
    RowSweeper(const RowSweeper&) = delete;
    RowSweeper& operator=(const RowSweeper&) = delete;

    void add(std::size_t row) { gone_.push_back(row); }

private:
    FileTable& table_;
    std::vector<std::size_t> gone_;
};

}  // namespace

DeleteFilesOutcome deleteFiles(FileTable& table, const RowSelection& selection,
                               ProgressSink& progress) {
    requireSelectionFits(selection, table.size());
    progress.status(kPleaseWait);
    DeleteFilesOutcome outcome;
    RowSelection staying(selection.size(), false);
    std::size_t reached = table.size();  // the rows from here on were not reached
    {
        // Rows go in one sweep at the end rather than one by one, which would
        // cost a move of the whole table tail per file.
        RowSweeper sweeper(table);
        for (std::size_t row = 0; row < table.size(); ++row) {
            if (!selection[row]) {
                continue;
            }
            progress.working();
            if (progress.stopRequested()) {
                outcome.stopped = true;
                reached = row;
                break;
            }
            if (platform::fileSystem().removeFileRetrying(table[row].file())) {
                sweeper.add(row);
                ++outcome.deleted;
            } else {
                staying[row] = true;
                ++outcome.remained;
            }
        }
    }
    outcome.selection.reserve(table.size());
    for (std::size_t row = 0; row < staying.size(); ++row) {
        if (row >= reached) {
            outcome.selection.push_back(selection[row]);
        } else if (staying[row] || !selection[row]) {
            outcome.selection.push_back(staying[row]);
        }
    }
    outcome.buttons = ActionButtons::afterRemoval(table.size());
    const std::string text = deletionText(table.size(), outcome.deleted, outcome.remained);
    progress.status(outcome.stopped ? stoppedText(text) : text);
    return outcome;
}

}  // namespace folivar
