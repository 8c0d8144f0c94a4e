#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/XdgDirectories.h"

namespace folivar::platform {

// The desktop's programs for file types, found as the desktop finds them: its
// mimeapps.list files (defaults, added and removed associations) and the
// programs' .desktop entries. Everything is read directly, no helper process
// runs, so an answer takes milliseconds. The entries are read once and again
// only after a folder of them changed.
class DesktopApplications {
public:
    explicit DesktopApplications(XdgDirectories dirs);

    // The desktop entry id (such as "libreoffice-calc.desktop") of the program
    // that opens files of the first of the MIME types that has one; empty when
    // no program opens any of them.
    std::string applicationFor(const std::vector<std::string>& mimeTypes);

private:
    struct Entry {
        bool usable = false;  // a program that can be started
        std::vector<std::string> mimeTypes;
    };

    bool entriesChanged() const;
    void readEntries();
    void readEntriesBelow(const std::string& root);
    bool usable(const std::string& id) const;
    std::vector<std::string> listFiles() const;

    XdgDirectories dirs_;
    std::map<std::string, Entry> entries_;  // by id: the first one found hides the others
    std::vector<std::string> order_;        // ids, the most important folder first
    std::vector<std::pair<std::string, std::int64_t>> folders_;  // read, with their change times
};

}  // namespace folivar::platform
