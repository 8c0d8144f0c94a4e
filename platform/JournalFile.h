#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Descriptor.h"

namespace folivar::platform {

// A file written only by appending, readable by its owner alone (0600). It is
// made under a hidden temporary name and takes its real name when published,
// so whoever reads that name finds the old file or the new one from its start.
class JournalFile {
public:
    // A new, empty file in folder; nullopt with the reason when it cannot be made.
    // Temporary files of runs killed before they published theirs go first.
    static std::optional<JournalFile> createIn(const std::string& folder, std::string& why);

    // Adds the bytes at the end; false when not all of them were written.
    bool append(std::string_view bytes);
    // The data written so far is on the disk.
    bool sync();
    // The file takes this name (replacing the file of that name: our own
    // earlier one), and the name is on the disk.
    bool publishAs(const std::string& path);

private:
    JournalFile(Descriptor fd, std::string path) : fd_(std::move(fd)), path_(std::move(path)) {}

    Descriptor fd_;
    std::string path_;
};

// The whole file; nullopt when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// Adds the text at the end of an existing file and syncs it. False when the
// file is missing or the text could not be written.
bool appendToFile(const std::string& path, std::string_view text);

}  // namespace folivar::platform
