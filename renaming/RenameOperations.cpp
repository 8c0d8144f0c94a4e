#include "renaming/RenameOperations.h"

#include <functional>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "renaming/TimeSuffix.h"

namespace folivar {

namespace {

// A composed name that is not one name of one folder (a prefix may hold a "/"
// anywhere but at its end) would send the file somewhere else: such a row is
// an error and its file is not touched.
bool isPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// The folder with one separator after it: "/" stays "/".
std::string folderWithSeparator(const std::string& folder) {
    return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

void report(const RenameCallbacks& callbacks, std::size_t done, std::size_t rows,
            const char* verb) {
    if (callbacks.status) {
        callbacks.status(std::to_string(done) + " files from " + std::to_string(rows) + " are " +
                         verb);
    }
}

}  // namespace

std::size_t RenameFiles(FileTable& table, const NamingScheme& scheme,
                        const RenameCallbacks& callbacks) {
    platform::FileSystem& fs = platform::fileSystem();
    ProgressReporter progress(table.size(), callbacks.progress);
    std::size_t done = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        FileRow& row = table[i];
        const std::string newName = ComposeName(scheme, i, row.FileName);
        if (newName == row.FileName) {
            row.Status = kInvariably;
        } else if (!isPlainName(newName)) {
            row.Status = kError;
        } else if (fs.moveFile(row.file(), row.Path + newName)) {
            row.FileName = newName;
            row.Status = kRenamed;
            ++done;
        } else {
            // The move never replaces, so a taken name is only asked about after
            // a refusal: one call less per file, the same outcome. A folder of
            // that name is not a file that exists.
            row.Status = fs.fileExists(row.Path + newName) ? kAlreadyExists : kError;
        }
        progress.rowDone();
    }
    report(callbacks, done, table.size(), "renamed");
    return done;
}

namespace {

// Moves every row into the target folder under the name `compose` gives it. A
// row already there under that name is left alone; a name taken in the target
// gets the time of day before its extension (not tested again: a second clash
// in the same millisecond fails the move).
std::size_t moveRows(FileTable& table, const std::string& targetFolder,
                     const RenameCallbacks& callbacks,
                     const std::function<std::string(std::size_t, const FileRow&)>& compose) {
    platform::FileSystem& fs = platform::fileSystem();
    const std::string target = folderWithSeparator(targetFolder);
    ProgressReporter progress(table.size(), callbacks.progress);
    std::size_t done = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        FileRow& row = table[i];
        std::string newName = compose(i, row);
        const bool unchanged = newName == row.FileName && target == row.Path;
        if (!unchanged && isPlainName(newName) && fs.fileExists(target + newName)) {
            newName = WithSuffixBeforeExtension(newName, ExtensionOf(row.FileName).size(),
                                                TimeSuffix(platform::clock().localNow()));
        }
        if (unchanged) {
            row.Status = kInvariably;
        } else if (!isPlainName(newName)) {
            row.Status = kError;
        } else if (fs.moveFile(row.file(), target + newName)) {
            row.FileName = newName;
            row.Path = target;
            row.Status = kMoved;
            ++done;
        } else {
            row.Status = kError;
        }
        progress.rowDone();
    }
    report(callbacks, done, table.size(), "moved");
    return done;
}

}  // namespace

std::size_t MoveFiles(FileTable& table, const std::string& targetFolder,
                      const RenameCallbacks& callbacks) {
    return moveRows(table, targetFolder, callbacks,
                    [](std::size_t, const FileRow& row) { return row.FileName; });
}

std::size_t RenameAndMoveFiles(FileTable& table, const NamingScheme& scheme,
                               const std::string& targetFolder, const RenameCallbacks& callbacks) {
    return moveRows(table, targetFolder, callbacks, [&scheme](std::size_t i, const FileRow& row) {
        return ComposeName(scheme, i, row.FileName);
    });
}

}  // namespace folivar
