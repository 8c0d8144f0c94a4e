#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Descriptor.h"

namespace folivar::platform {

// A file written only by appending, readable by its owner alone (0600). It is
// made under a hidden temporary name and takes its real name when published,
// so whoever reads that name finds the file from its start.
class JournalFile {
public:
    // A new, empty file in folder; nullopt with the reason when it cannot be made.
    // Temporary files of runs killed before they published theirs go first.
    static std::optional<JournalFile> createIn(const std::string& folder, std::string& why);

    // Adds the bytes at the end; false when not all of them were written.
    bool append(std::string_view bytes);
    // The data written so far is on the disk.
    bool sync();
    // The file takes this name, never replacing a file that has it, and the
    // name is on the disk.
    bool publishAs(const std::string& path);
    // The file was not to be: it goes, unpublished.
    void discard();

private:
    JournalFile(Descriptor fd, std::string path) : fd_(std::move(fd)), path_(std::move(path)) {}

    Descriptor fd_;
    std::string path_;
};

// How a file of the journal's folder was found.
enum class JournalAccess : std::uint8_t { Opened, Missing, Unusable };

// Opens a file of the journal's folder (O_CLOEXEC, O_NOFOLLOW and O_NONBLOCK
// added to flags): a FIFO put in its place never blocks, no link is followed,
// and only a regular file owned by this user is taken. Unusable: why tells
// what stands there instead.
JournalAccess openJournalFile(const std::string& path, int flags, Descriptor& fd, std::string& why);

struct JournalRead {
    JournalAccess access = JournalAccess::Missing;
    std::string text;  // the file's bytes, or its first ones
    std::string tail;  // readJournalEnds: its last bytes
    std::string why;   // Unusable: what stands at the path
};

// The whole file.
JournalRead readJournalFile(const std::string& path);
// Only its first head and last tail bytes (overlapping when the file is
// short): enough to tell who wrote it and how it ends.
JournalRead readJournalEnds(const std::string& path, std::size_t head, std::size_t tail);

// Adds the text at the end of an existing journal file and syncs it. False
// when the file is missing or unusable, or the text could not be written.
bool appendToJournal(const std::string& path, std::string_view text);

// Removes a file of the journal's folder (a link is removed, not followed).
void removeJournalFile(const std::string& path);

// The names of the entries in a folder ("." and ".." left out); nullopt when
// it cannot be listed.
std::optional<std::vector<std::string>> namesIn(const std::string& folder);

}  // namespace folivar::platform
