#include "JournaledBatches.h"

#include <filesystem>
#include <memory>

#include "renaming/BatchJournal.h"
#include "renaming/JournalHistory.h"
#include "support/RecordingSink.h"

namespace folivar::test {

JournaledBatches::JournaledBatches() {
    clock.setLocalNow(platform::LocalTime{2026, 12, 2, 8, 14, 5, 9, 123});
}

void JournaledBatches::addFile(const std::string& relative) {
    const std::string full = tree.file(relative, "contents of " + relative);
    const auto slash = full.rfind('/');
    table.append(
        FileRow{full.substr(slash + 1), full.substr(0, slash + 1), "1", "", "1.1.2001", "0", "-"});
}

std::size_t JournaledBatches::run(RenameKind kind, const NamingScheme& scheme,
                                  const std::string& target) {
    // The side files as a batch start finds them.
    settings =
        withSideFiles(RenameSettings{kind, scheme, target.empty() ? "" : tree.at(target)}, table);
    std::string why;
    std::unique_ptr<BatchJournal> journal =
        BatchJournal::begin(journalFolder(), table, settings, why);
    EXPECT_TRUE(journal) << why;
    if (!journal) {
        return 0;
    }
    const std::size_t done = renameRows(table, settings, ProgressSink::silent(), *journal);
    journal->end();
    return done;
}

UndoOutcome JournaledBatches::undo(const UndoReach& reach) {
    RecordingSink sink;
    const UndoOutcome outcome = undoBatch(journalFolder(), table, sink, reach);
    summary = sink.lastStatus();
    return outcome;
}

std::string JournaledBatches::newestJournal() const {
    const JournalHistory history(journalFolder());
    return history.entries().empty() ? std::string() : history.entries().back().path;
}

void JournaledBatches::cutJournal(std::size_t bytes) const {
    std::filesystem::resize_file(newestJournal(), bytes);
}

std::size_t JournaledBatches::afterSources(const std::string& journal) {
    return journal.find('\n', journal.rfind("\nS\t") + 1) + 1;
}

std::vector<std::string> JournaledBatches::column(TFileColumn c) const {
    std::vector<std::string> texts;
    for (const FileRow& row : table) {
        texts.push_back(row.cell(c));
    }
    return texts;
}

}  // namespace folivar::test
