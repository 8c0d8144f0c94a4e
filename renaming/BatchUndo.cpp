#include "renaming/BatchUndo.h"

#include <unordered_map>
#include <vector>

#include "duplicates/LinkUndo.h"
#include "filelist/ListStatus.h"
#include "filelist/ProgressReporter.h"
#include "platform/FileSystem.h"
#include "platform/HiddenName.h"
#include "platform/JournalFile.h"
#include "platform/JournalLock.h"
#include "renaming/BatchRecord.h"
#include "renaming/JournalHistory.h"
#include "renaming/RenameOperations.h"
#include "renaming/StatusAhead.h"

namespace folivar {

namespace {

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
    if (existed && move.recorded && move.madeIt(MovedIdentity::of(ahead))) {
        at = ahead;
        return Found::Moved;
    }
    platform::FileSystem& fs = platform::fileSystem();
    platform::FileStatus old;
    if (!move.recorded) {
        // Maybe moved before the kill: only if it left its old name, and what
        // stands at the new one is the file planned, or its copy.
        if (fs.status(move.from, false, old) || !fs.status(move.to, false, at) ||
            !move.madeIt(MovedIdentity::of(at))) {
            return Found::NotMoved;
        }
        return Found::Moved;
    }
    if (fs.status(move.to, false, at)) {
        return Found::Moved;
    }
    // An undo cut short took it back already; across file systems as a copy,
    // which keeps the size and modification time but not the inode.
    if (move.made() && fs.status(move.from, false, old) &&
        move.made()->sameState(MovedIdentity::of(old))) {
        return Found::AlreadyBack;
    }
    return Found::Gone;
}

const char* takeBack(const JournaledMove& move, const platform::FileStatus& at,
                     platform::StopQuery& stop) {
    if (!move.madeIt(MovedIdentity::of(at))) {
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

// The folders the batch made, deepest first, each while it is empty and the
// folder made.
void removeMadeFolders(const std::vector<MadeFolder>& folders) {
    platform::FileSystem& fs = platform::fileSystem();
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        platform::FileStatus st;
        if ((folder->told && !folder->made) || !fs.status(folder->path, false, st) ||
            !st.isDirectory() ||
            (folder->told && (st.device != folder->device || st.inode != folder->inode))) {
            continue;
        }
        fs.removeFolder(folder->path);  // refused while anything is in it
    }
}

// The side files of row among sides go back after its file; false when one
// that had moved stays.
bool undoSides(const std::vector<const JournaledMove*>& sides, std::size_t row,
               platform::StopQuery& stop) {
    bool all = true;
    for (const JournaledMove* side : sides) {
        if (side->row != row) {
            continue;
        }
        const char* status = undoMove(*side, false, platform::FileStatus{}, stop);
        all = all && (status == nullptr || sameStatus(status, kRestored));
    }
    return all;
}

// Back at its old path, with its side files or without some.
bool restored(const char* status) {
    return sameStatus(status, kRestored) || sameStatus(status, kRestoredSideStays);
}

void showOnRow(FileRow* row, const JournaledMove& move, const char* status) {
    if (row == nullptr) {
        return;
    }
    if (restored(status)) {
        const std::size_t slash = move.from.rfind('/');
        row->Path = move.from.substr(0, slash + 1);
        row->FileName = move.from.substr(slash + 1);
    }
    row->Status = status;
}

enum class Lookup { Batch, Nothing, Busy, Unusable };

// Takes the journal's lock and reads the batch an undo within reach takes
// back; why tells what makes the journal unusable.
Lookup lookUp(const std::string& folder, const UndoReach& reach,
              std::optional<platform::JournalLock>& lock, JournalHistory::Entry& entry,
              BatchRecord& record, std::string& why) {
    switch (platform::JournalLock::take(folder, lock, why)) {
        case platform::JournalLock::Result::Taken:
            break;
        case platform::JournalLock::Result::Busy:
            return Lookup::Busy;
        case platform::JournalLock::Result::NoFolder:
            return Lookup::Nothing;
        case platform::JournalLock::Result::Unusable:
            return Lookup::Unusable;
    }
    switch (JournalHistory(folder).toUndo(reach.lowest, entry, why)) {
        case JournalHistory::Found::Batch:
            break;
        case JournalHistory::Found::Nothing:
            return Lookup::Nothing;
        case JournalHistory::Found::Unusable:
            return Lookup::Unusable;
    }
    const platform::JournalRead read = platform::readJournalFile(entry.path);
    if (read.access == platform::JournalAccess::Unusable) {
        why = read.why;
        return Lookup::Unusable;
    }
    record = BatchRecord::parse(read.text);
    const bool wanted = !reach.only || *reach.only == entry.number;
    return record.undoable() && wanted ? Lookup::Batch : Lookup::Nothing;
}

}  // namespace

UndoOutcome undoBatch(const std::string& folder, FileTable& table, ProgressSink& progress,
                      const UndoReach& reach) {
    UndoOutcome outcome;
    std::optional<platform::JournalLock> lock;
    JournalHistory::Entry entry;
    BatchRecord record;
    std::string why;
    switch (lookUp(folder, reach, lock, entry, record, why)) {
        case Lookup::Batch:
            break;
        case Lookup::Nothing:
            progress.status(kNothingToUndo);
            return outcome;
        case Lookup::Busy:
            progress.status(kJournalBusy);
            return outcome;
        case Lookup::Unusable:
            progress.status(unusableJournal(why));
            return outcome;
    }
    ProgressReporter report(progress,
                            record.moves.size() + record.links.size() + record.shares.size());
    outcome.anything = true;
    // An undo killed in the middle is asked about at the next start, and
    // running it again finishes it.
    platform::appendToJournal(entry.path, journal::kUndo);
    RowFinder finder(table);
    const std::size_t count = record.moves.size();
    // The last moved first.
    const auto moveAt = [&record, count](std::size_t k) -> const JournaledMove& {
        return record.moves[count - 1 - k];
    };
    StatusAhead ahead(count,
                      [&moveAt](std::size_t k) -> const std::string& { return moveAt(k).to; });
    // A row's side files come right before its file, the last moved first:
    // they wait for it.
    std::vector<const JournaledMove*> sides;
    bool stopped = false;
    for (std::size_t k = 0; k < count; ++k) {
        if (report.stopRequested()) {
            stopped = true;
            break;
        }
        const JournaledMove* move = &moveAt(k);
        platform::FileStatus seen;
        const bool existed = ahead.status(k, seen);
        if (move->side) {
            sides.push_back(move);
            report.rowDone();
            continue;
        }
        const char* status = undoMove(*move, existed, seen, progress);
        // A move back that failed while a stop was asked for may be a copy
        // abandoned halfway: the file is where the batch put it, and so are
        // its side files.
        if (status != nullptr && sameStatus(status, kNotRestoredFailed) && report.stopRequested()) {
            stopped = true;
            break;
        }
        if (status != nullptr && sameStatus(status, kRestored) &&
            !undoSides(sides, move->row, progress)) {
            status = kRestoredSideStays;
        }
        std::erase_if(sides, [move](const JournaledMove* side) { return side->row == move->row; });
        if (status != nullptr) {
            ++outcome.moves;
            if (restored(status)) {
                ++outcome.restored;
            }
            showOnRow(finder.find(move->row, move->to), *move, status);
        }
        report.rowDone();
    }
    const auto tell = [&](std::size_t row, const std::string& path, const char* status) {
        ++outcome.moves;
        if (sameStatus(status, kRestored)) {
            ++outcome.restored;
        }
        if (FileRow* shown = finder.find(row, path)) {
            shown->Status = status;
        }
    };
    // LINK DUPL: the last linked first, each link a step of its own; shared
    // data stays shared, its files never were one.
    for (auto link = record.links.rbegin(); link != record.links.rend() && !stopped; ++link) {
        if (report.stopRequested()) {
            stopped = true;
            break;
        }
        if (const char* status = undoLink(*link)) {
            tell(link->row, link->path, status);
        }
        report.rowDone();
    }
    removeMadeFolders(record.madeFolders);
    if (stopped) {
        // Not asked about at the next start: the user stopped it, and the
        // next undo finishes it.
        platform::appendToJournal(entry.path, journal::kKept);
        const std::size_t all = count + record.links.size() + record.shares.size();
        report.status(stoppedText(std::to_string(outcome.restored) + " files from " +
                                  std::to_string(all) + " are restored"));
        return outcome;
    }
    for (const JournaledShare& share : record.shares) {
        tell(share.row, share.path, kRestored);
        report.rowDone();
    }
    platform::appendToJournal(entry.path, journal::kUndone);
    report.status(std::to_string(outcome.restored) + " files from " +
                  std::to_string(outcome.moves) + " are restored");
    return outcome;
}

JournalCheck checkJournal(const std::string& folder) {
    JournalCheck check;
    std::optional<platform::JournalLock> lock;
    JournalHistory::Entry entry;
    BatchRecord record;
    std::string why;
    switch (lookUp(folder, {}, lock, entry, record, why)) {
        case Lookup::Batch:
            if (record.interrupted() && record.planned > 0) {
                check.interrupted =
                    InterruptedBatch{entry.number, record.planned, record.folders, record.when};
            }
            break;
        case Lookup::Unusable:
            check.unusable = unusableJournal(why);
            break;
        case Lookup::Nothing:
        case Lookup::Busy:  // a batch that is running
            break;
    }
    return check;
}

void keepInterruptedBatch(const std::string& folder, std::uint64_t number) {
    std::optional<platform::JournalLock> lock;
    std::string why;
    if (platform::JournalLock::take(folder, lock, why) != platform::JournalLock::Result::Taken) {
        return;  // asked again next time
    }
    const JournalHistory history(folder);
    for (const JournalHistory::Entry& entry : history.entries()) {
        if (entry.number == number) {
            platform::appendToJournal(entry.path, journal::kKept);
        }
    }
}

}  // namespace folivar
