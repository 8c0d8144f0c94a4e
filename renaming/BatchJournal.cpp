#include "renaming/BatchJournal.h"

#include <unordered_map>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/StateFolder.h"
#include "renaming/JournalHistory.h"
#include "renaming/JournalLines.h"
#include "renaming/NoNamesTaken.h"

namespace folivar {

namespace {

// Folders by number: 100,000 rows of one folder name it once.
class FolderNumbers {
public:
    explicit FolderNumbers(std::string& out) : out_(out) {}

    std::size_t of(const std::string& folder) {
        const auto [at, added] = ids_.try_emplace(folder, ids_.size());
        if (added) {
            journal::appendFolderLine(out_, at->second, folder);
        }
        return at->second;
    }

private:
    std::string& out_;
    std::unordered_map<std::string, std::size_t> ids_;
};

}  // namespace

std::unique_ptr<BatchJournal> BatchJournal::begin(std::optional<platform::JournalLock>& lock,
                                                  const std::string& folder, const FileTable& table,
                                                  const RenameSettings& settings,
                                                  std::string& why) {
    if (!lock) {
        why = "the journal is not locked";
        return nullptr;
    }
    std::string text(journal::kFirstLine);
    journal::appendBatchLine(text, table.size(), journal::whenText(platform::clock().localNow()));
    FolderNumbers folders(text);
    const SideFiles none;
    const SideFiles& sides = settings.sides ? *settings.sides : none;
    std::vector<Planned> planned(table.size() + sides.size());
    std::vector<JournalWriter::Source> sources;
    NoNamesTaken noneTaken;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const FileRow& row = table[i];
        const RowPlan plan = planRow(settings, i, row, noneTaken);
        if (plan.settled != nullptr) {
            continue;
        }
        const std::size_t from = folders.of(row.Path);
        const std::size_t to = folders.of(plan.folder);
        journal::appendPlannedLine(text, i, from, row.FileName, to, plan.name);
        planned[i] = Planned{plan.folder + plan.name, sources.size()};
        sources.push_back(JournalWriter::Source{i, row.file()});
        const auto [first, last] = sides.of(i);
        for (std::size_t k = first; k < last; ++k) {
            const std::size_t entry = table.size() + k;
            const std::string name = sides.newName(k, plan.name);
            journal::appendSideLine(text, entry, i, from, sides[k].name, to, name);
            planned[entry] = Planned{plan.folder + name, sources.size()};
            sources.push_back(JournalWriter::Source{entry, row.Path + sides[k].name});
        }
    }
    text += journal::kBegin;
    std::optional<platform::JournalFile> file = JournalHistory::addNewest(folder, text, why);
    if (!file) {
        return nullptr;
    }
    auto journal = std::unique_ptr<BatchJournal>(new BatchJournal(
        std::move(*lock), std::move(*file), std::move(planned), std::move(sources)));
    journal->rows_ = table.size();
    lock.reset();
    return journal;
}

std::unique_ptr<BatchJournal> BatchJournal::begin(const std::string& folder, const FileTable& table,
                                                  const RenameSettings& settings,
                                                  std::string& why) {
    std::optional<platform::JournalLock> lock;
    if (!platform::makePrivateFolder(folder)) {
        why = "cannot make the folder " + folder;
        return nullptr;
    }
    switch (platform::JournalLock::take(folder, lock, why)) {
        case platform::JournalLock::Result::Taken:
            break;
        case platform::JournalLock::Result::Busy:
            why = kJournalBusy;
            return nullptr;
        default:
            return nullptr;
    }
    return begin(lock, folder, table, settings, why);
}

BatchJournal::BatchJournal(platform::JournalLock lock, platform::JournalFile file,
                           std::vector<Planned> planned, std::vector<JournalWriter::Source> sources)
    : lock_(std::move(lock)),
      planned_(std::move(planned)),
      writer_(std::move(file), std::move(sources)) {}

BatchJournal::~BatchJournal() = default;

bool BatchJournal::move(std::size_t row, const std::string& from, const std::string& to) {
    if (row >= rows_ || planned_[row].to.empty()) {
        return names_.move(row, from, to);  // not the batch's: never taken back
    }
    return moveEntry(row, from, to);
}

bool BatchJournal::moveSide(std::size_t k, const std::string& from, const std::string& to) {
    const std::size_t entry = rows_ + k;
    // A side file found after the batch was written down stays where it is.
    return entry < planned_.size() && !planned_[entry].to.empty() && moveEntry(entry, from, to);
}

bool BatchJournal::moveEntry(std::size_t entry, const std::string& from, const std::string& to) {
    const Planned& plan = planned_[entry];
    if (plan.to != to) {
        // Not findable by its planned name: on disk before the move.
        std::string line;
        journal::appendIntentLine(line, entry, to);
        writer_.writeNow(std::move(line));
    }
    writer_.awaitSource(plan.source);
    if (!names_.move(entry, from, to)) {
        return false;
    }
    writer_.moved(plan.source, to);
    return true;
}

bool BatchJournal::makeFolders(const std::string& folder, std::size_t kept,
                               std::vector<std::string>& made) {
    made_ = &made;
    const bool there = platform::fileSystem().makeFolders(folder, kept, this);
    made_ = nullptr;
    return there;
}

void BatchJournal::before(const std::string& path) {
    std::string line;
    journal::appendMakingLine(line, foldersMade_, path);
    writer_.writeNow(std::move(line));
}

void BatchJournal::after(const std::string& path, const platform::FileStatus* made) {
    std::string line;
    journal::appendMadeLine(line, foldersMade_++, made);
    writer_.writeNow(std::move(line));
    if (made != nullptr && made_ != nullptr) {
        made_->push_back(path);
    }
}

void BatchJournal::end() {
    writer_.finish(std::string(journal::kEnd));
}

}  // namespace folivar
