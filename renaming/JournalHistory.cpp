#include "renaming/JournalHistory.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

#include "platform/JournalFile.h"
#include "renaming/JournalLines.h"

namespace folivar {

namespace {

constexpr std::string_view kPrefix = "batch-";
constexpr std::string_view kOlderVersion = "journal";
// Enough of a file's end to hold its last status line whole.
constexpr std::size_t kTail = 64;

std::optional<std::uint64_t> numberOf(std::string_view name) {
    if (name == kOlderVersion) {
        return 0;
    }
    if (!name.starts_with(kPrefix)) {
        return std::nullopt;
    }
    name.remove_prefix(kPrefix.size());
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error != std::errc() || end != name.data() + name.size() || number == 0) {
        return std::nullopt;
    }
    return number;
}

}  // namespace

std::string unusableJournal(const std::string& why) {
    return "The undo journal cannot be used: " + why;
}

JournalHistory::JournalHistory(std::string folder) : folder_(std::move(folder)) {
    for (const std::string& name :
         platform::namesIn(folder_).value_or(std::vector<std::string>{})) {
        if (const std::optional<std::uint64_t> number = numberOf(name)) {
            entries_.push_back(Entry{*number, folder_ + "/" + name});
        }
    }
    std::sort(entries_.begin(), entries_.end(),
              [](const Entry& a, const Entry& b) { return a.number < b.number; });
}

std::string JournalHistory::nextPath() const {
    return folder_ + "/" + std::string(kPrefix) + std::to_string(newest() + 1);
}

JournalHistory::Found JournalHistory::toUndo(std::uint64_t lowest, Entry& entry,
                                             std::string& why) const {
    for (auto at = entries_.rbegin(); at != entries_.rend() && at->number >= lowest; ++at) {
        const platform::JournalRead read =
            platform::readJournalEnds(at->path, journal::kFirstLine.size(), kTail);
        if (read.access == platform::JournalAccess::Missing) {
            continue;
        }
        if (read.access == platform::JournalAccess::Unusable) {
            why = read.why;
            return Found::Unusable;
        }
        if (read.text != journal::kFirstLine && read.text != journal::kFirstLineV1) {
            why = at->path + " is not an undo journal";
            return Found::Unusable;
        }
        const BatchState state = journal::stateOfTail(read.tail);
        if (state == BatchState::Void) {
            return Found::Nothing;
        }
        if (isUndoable(state)) {
            entry = *at;
            return Found::Batch;
        }
    }
    return Found::Nothing;
}

bool JournalHistory::putOutOfReach() const {
    return entries_.empty() || platform::appendToJournal(entries_.back().path, journal::kVoid);
}

std::optional<platform::JournalFile> JournalHistory::addNewest(const std::string& folder,
                                                               std::string_view text,
                                                               std::string& why) {
    std::optional<platform::JournalFile> file = platform::JournalFile::createIn(folder, why);
    if (!file) {
        why = "cannot write in " + folder + ": " + why;
        return std::nullopt;
    }
    if (!file->append(text) || !file->sync()) {
        why = "cannot write the journal in " + folder + ": " + std::strerror(errno);
        file->discard();
        return std::nullopt;
    }
    if (!file->publishAs(JournalHistory(folder).nextPath())) {
        why = "cannot write the journal in " + folder;
        return std::nullopt;
    }
    JournalHistory(folder).prune();
    return file;
}

void JournalHistory::prune() {
    while (entries_.size() > kKept) {
        platform::removeJournalFile(entries_.front().path);
        entries_.erase(entries_.begin());
    }
}

}  // namespace folivar
