#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/JournalFile.h"

namespace folivar {

// What a batch or an undo says when it cannot use the journal.
inline constexpr const char* kJournalBusy =
    "Another window of the program is renaming or moving files: nothing was done";
std::string unusableJournal(const std::string& why);

// The batches journaled in the state folder, one file each, oldest first:
// "batch-<number>", and "journal", the one file of older versions, as the
// oldest of all. Only the holder of the journal's lock changes them.
class JournalHistory {
public:
    // Batches kept: an older one goes when a newer one comes.
    static constexpr std::size_t kKept = 20;

    struct Entry {
        std::uint64_t number = 0;  // 0: the file of an older version
        std::string path;
    };

    // The batches the folder holds now; none when it is missing.
    explicit JournalHistory(std::string folder);

    const std::vector<Entry>& entries() const { return entries_; }
    // The number of the newest batch; 0 when there is none.
    std::uint64_t newest() const { return entries_.empty() ? 0 : entries_.back().number; }
    // Where the next batch is written.
    std::string nextPath() const;

    enum class Found { Batch, Nothing, Unusable };
    // The batch an undo takes back: the newest one not undone, numbered from
    // lowest on, unless a void one comes first. Unusable: a file on the way
    // cannot be read as a journal, and why says which.
    Found toUndo(std::uint64_t lowest, Entry& entry, std::string& why) const;

    // No undo reaches any batch there is now: the newest is marked void.
    // False when that could not be written.
    bool putOutOfReach() const;

    // All but the newest kKept go.
    void prune();

    // A new batch's journal in folder beginning with text, on disk under the
    // newest number, the oldest beyond kKept gone; nullopt with the reason
    // when it cannot be written. Only the holder of the lock calls it.
    static std::optional<platform::JournalFile> addNewest(const std::string& folder,
                                                          std::string_view text, std::string& why);

private:
    std::string folder_;
    std::vector<Entry> entries_;
};

}  // namespace folivar
