#include "renaming/BatchJournal.h"

#include <unordered_map>

#include "platform/StateFolder.h"
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

std::unique_ptr<BatchJournal> BatchJournal::begin(const std::string& folder, const FileTable& table,
                                                  const RenameSettings& settings, std::string& why,
                                                  platform::StopQuery& stop) {
    if (!platform::makePrivateFolder(folder)) {
        why = "cannot make the folder " + folder;
        return nullptr;
    }
    std::optional<platform::JournalFile> file = platform::JournalFile::createIn(folder, why);
    if (!file) {
        return nullptr;
    }
    std::string text(journal::kFirstLine);
    journal::appendBatchLine(text, table.size());
    FolderNumbers folders(text);
    std::vector<std::string> planned(table.size());
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
        planned[i] = plan.folder + plan.name;
    }
    text += journal::kBegin;
    if (!file->append(text) || !file->sync() || !file->publishAs(folder + "/" + kFileName)) {
        why = "cannot write the journal in " + folder;
        return nullptr;
    }
    return std::unique_ptr<BatchJournal>(
        new BatchJournal(std::move(*file), std::move(planned), stop));
}

BatchJournal::BatchJournal(platform::JournalFile file, std::vector<std::string> planned,
                           platform::StopQuery& stop)
    : names_(stop), planned_(std::move(planned)), writer_(std::move(file)) {}

BatchJournal::~BatchJournal() = default;

bool BatchJournal::move(std::size_t row, const std::string& from, const std::string& to) {
    if (row >= planned_.size() || planned_[row] != to) {
        // Not findable by its planned name: on disk before the move.
        std::string line;
        journal::appendIntentLine(line, row, to);
        writer_.writeNow(std::move(line));
    }
    if (!names_.move(row, from, to)) {
        return false;
    }
    writer_.moved(row, to);
    return true;
}

void BatchJournal::end() {
    writer_.finish(std::string(journal::kEnd));
}

}  // namespace folivar
