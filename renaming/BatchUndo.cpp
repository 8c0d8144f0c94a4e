#include "renaming/BatchUndo.h"

#include <unordered_map>

#include "filelist/ListStatus.h"
#include "filelist/ProgressReporter.h"
#include "platform/FileSystem.h"
#include "platform/HiddenName.h"
#include "platform/JournalFile.h"
#include "renaming/BatchJournal.h"
#include "renaming/BatchRecord.h"
#include "renaming/StatusAhead.h"

namespace folivar {

namespace {

std::string journalPath(const std::string& folder) {
    return folder + "/" + BatchJournal::kFileName;
}

BatchRecord readRecord(const std::string& folder) {
    const std::optional<std::string> text = platform::readWholeFile(journalPath(folder));
    return text ? BatchRecord::parse(*text) : BatchRecord{};
}

// The row showing a path: the batch's own row when the list is as it left
// it, else any row of that path.
class RowFinder {
public:
    explicit RowFinder(FileTable& table) : table_(table) {}

    FileRow* find(std::size_t row, const std::string& path) {
        if (row < table_.size() && shows(table_[row], path)) {
            return &table_[row];
        }
        if (!indexed_) {
            for (std::size_t i = 0; i < table_.size(); ++i) {
                byPath_.emplace(table_[i].file(), i);
            }
            indexed_ = true;
        }
        const auto found = byPath_.find(path);
        return found == byPath_.end() ? nullptr : &table_[found->second];
    }

private:
    static bool shows(const FileRow& row, const std::string& path) {
        return path.size() == row.Path.size() + row.FileName.size() &&
               path.compare(0, row.Path.size(), row.Path) == 0 &&
               path.compare(row.Path.size(), std::string::npos, row.FileName) == 0;
    }

    FileTable& table_;
    bool indexed_ = false;
    std::unordered_map<std::string, std::size_t> byPath_;
};

enum class Found { NotMoved, Moved, Gone, AlreadyBack };

// Where the file of a move is now; at: its status when Moved. ahead: the
// status of move.to as looked up a moment ago, trusted only when it shows
// the very file moved (a move taken back since cannot have put another file
// there: nothing is ever replaced).
Found locate(const JournaledMove& move, platform::FileStatus& at, bool existed,
             const platform::FileStatus& ahead) {
    if (existed && move.recorded && move.identity && MovedIdentity::of(ahead) == *move.identity) {
        at = ahead;
        return Found::Moved;
    }
    platform::FileSystem& fs = platform::fileSystem();
    platform::FileStatus old;
    if (!move.recorded) {
        // Maybe moved before the kill: only if it left its old name.
        if (fs.status(move.from, false, old) || !fs.status(move.to, false, at)) {
            return Found::NotMoved;
        }
        return Found::Moved;
    }
    if (fs.status(move.to, false, at)) {
        return Found::Moved;
    }
    if (move.identity && fs.status(move.from, false, old) &&
        MovedIdentity::of(old) == *move.identity) {
        return Found::AlreadyBack;  // an undo cut short took it back already
    }
    return Found::Gone;
}

const char* takeBack(const JournaledMove& move, const platform::FileStatus& at,
                     platform::StopQuery& stop) {
    if (move.identity && !(MovedIdentity::of(at) == *move.identity)) {
        return kNotRestoredChanged;
    }
    platform::FileSystem& fs = platform::fileSystem();
    if (fs.moveFile(move.to, move.from, stop)) {
        return kRestored;
    }
    platform::FileStatus old;
    if (fs.status(move.from, false, old)) {
        return kNotRestoredTaken;
    }
    if (!fs.isDirectory(platform::folderOf(move.from))) {
        return kNotRestoredNoFolder;
    }
    return kNotRestoredFailed;
}

const char* undoMove(const JournaledMove& move, bool existed, const platform::FileStatus& ahead,
                     platform::StopQuery& stop) {
    platform::FileStatus at;
    switch (locate(move, at, existed, ahead)) {
        case Found::NotMoved:
            return nullptr;
        case Found::Gone:
            return kNotRestoredGone;
        case Found::AlreadyBack:
            return kRestored;
        case Found::Moved:
            break;
    }
    return takeBack(move, at, stop);
}

void showOnRow(FileRow* row, const JournaledMove& move, const char* status) {
    if (row == nullptr) {
        return;
    }
    if (sameStatus(status, kRestored)) {
        const std::size_t slash = move.from.rfind('/');
        row->Path = move.from.substr(0, slash + 1);
        row->FileName = move.from.substr(slash + 1);
    }
    row->Status = status;
}

}  // namespace

UndoOutcome undoBatch(const std::string& folder, FileTable& table, ProgressSink& progress) {
    const BatchRecord record = readRecord(folder);
    ProgressReporter report(progress, record.moves.size());
    UndoOutcome outcome;
    if (!record.undoable()) {
        report.status(kNothingToUndo);
        return outcome;
    }
    outcome.anything = true;
    const std::string journal = journalPath(folder);
    // An undo killed in the middle is asked about at the next start, and
    // running it again finishes it.
    platform::appendToFile(journal, journal::kUndo);
    RowFinder finder(table);
    const std::size_t count = record.moves.size();
    // The last moved first.
    const auto moveAt = [&record, count](std::size_t k) -> const JournaledMove& {
        return record.moves[count - 1 - k];
    };
    StatusAhead ahead(count,
                      [&moveAt](std::size_t k) -> const std::string& { return moveAt(k).to; });
    bool stopped = false;
    for (std::size_t k = 0; k < count; ++k) {
        if (report.stopRequested()) {
            stopped = true;
            break;
        }
        const JournaledMove* move = &moveAt(k);
        platform::FileStatus seen;
        const bool existed = ahead.status(k, seen);
        const char* status = undoMove(*move, existed, seen, progress);
        // A move back that failed while a stop was asked for may be a copy
        // abandoned halfway: the file is where the batch put it.
        if (status != nullptr && sameStatus(status, kNotRestoredFailed) && report.stopRequested()) {
            stopped = true;
            break;
        }
        if (status != nullptr) {
            ++outcome.moves;
            if (sameStatus(status, kRestored)) {
                ++outcome.restored;
            }
            showOnRow(finder.find(move->row, move->to), *move, status);
        }
        report.rowDone();
    }
    if (stopped) {
        // Not asked about at the next start: the user stopped it, and the
        // next undo finishes it.
        platform::appendToFile(journal, journal::kKept);
        report.status(stoppedText(std::to_string(outcome.restored) + " files from " +
                                  std::to_string(count) + " are restored"));
        return outcome;
    }
    platform::appendToFile(journal, journal::kUndone);
    report.status(std::to_string(outcome.restored) + " files from " +
                  std::to_string(outcome.moves) + " are restored");
    return outcome;
}

bool interruptedBatch(const std::string& folder) {
    return readRecord(folder).interrupted;
}

void keepInterruptedBatch(const std::string& folder) {
    platform::appendToFile(journalPath(folder), journal::kKept);
}

}  // namespace folivar
