#include "export/ExportFolders.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/TemporaryFolder.h"

namespace folivar {

namespace {

constexpr std::string_view kWorkbookStem = "FileList";
constexpr std::string_view kWorkbookExtension = ".xlsx";
// " YYYY-MM-DD HH.MM.SS"
constexpr std::string_view kTimePattern = " 0000-00-00 00.00.00";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool matchesTime(std::string_view text) {
    if (text.size() != kTimePattern.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (kTimePattern[i] == '0' ? !isDigit(text[i]) : text[i] != kTimePattern[i]) {
            return false;
        }
    }
    return true;
}

bool olderThanLifetime(const platform::FileStatus& status, std::int64_t now) {
    return now - status.modificationTime.seconds > kExportFolderLifetime;
}

// Ours, a real folder or file and not a link to one, and old enough.
bool ownOldEntry(const platform::FileStatus& status, std::int64_t now) {
    return status.owner == platform::currentUser() && olderThanLifetime(status, now);
}

// Collects the workbooks of an old export folder; false when anything in it
// speaks for keeping the folder.
bool collectWorkbooks(const std::string& folder, std::int64_t now,
                      std::vector<std::string>& workbooks) {
    platform::FileSystem& fs = platform::fileSystem();
    std::unique_ptr<platform::DirectoryListing> listing = fs.openDirectory(folder);
    if (listing == nullptr) {
        return false;
    }
    platform::DirectoryEntry entry;
    while (listing->next(entry)) {
        platform::FileStatus status;
        if (!isWorkbookName(entry.name) || !listing->status(entry, false, status) ||
            !status.isRegular() || !ownOldEntry(status, now)) {
            return false;
        }
        workbooks.push_back(folder + "/" + std::string(entry.name));
    }
    return true;
}

bool isExportFolderName(std::string_view name) {
    return name.size() == kExportFolderPrefix.size() + 6 && name.starts_with(kExportFolderPrefix);
}

}  // namespace

std::string workbookName(const platform::LocalTime& time) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, " %04d-%02d-%02d %02d.%02d.%02d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    std::string name(kWorkbookStem);
    name += stamp;
    name += kWorkbookExtension;
    return name;
}

bool isWorkbookName(std::string_view name) {
    if (!name.starts_with(kWorkbookStem) || !name.ends_with(kWorkbookExtension)) {
        return false;
    }
    const std::string_view middle = name.substr(
        kWorkbookStem.size(), name.size() - kWorkbookStem.size() - kWorkbookExtension.size());
    return middle.empty() || matchesTime(middle);
}

std::size_t removeOldExportFolders(const std::string& parent, std::int64_t now) {
    platform::FileSystem& fs = platform::fileSystem();
    std::unique_ptr<platform::DirectoryListing> listing = fs.openDirectory(parent);
    if (listing == nullptr) {
        return 0;
    }
    std::vector<std::string> folders;
    platform::DirectoryEntry entry;
    while (listing->next(entry)) {
        platform::FileStatus status;
        if (isExportFolderName(entry.name) && listing->status(entry, false, status) &&
            status.isDirectory() && ownOldEntry(status, now)) {
            folders.push_back(parent + "/" + std::string(entry.name));
        }
    }
    listing.reset();
    std::size_t removed = 0;
    for (const std::string& folder : folders) {
        std::vector<std::string> workbooks;
        if (!collectWorkbooks(folder, now, workbooks)) {
            continue;
        }
        for (const std::string& workbook : workbooks) {
            fs.removeFile(workbook);
        }
        if (platform::removeEmptyFolder(folder)) {
            ++removed;
        }
    }
    return removed;
}

void removeOldExports() noexcept {
    try {
        removeOldExportFolders(platform::temporaryFolder(), platform::secondsSinceEpoch());
    } catch (...) {
        // Only tidying: a start never fails for it.
    }
}

}  // namespace folivar
