#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "platform/DataSharing.h"
#include "platform/Descriptor.h"
#include "platform/DirectoryListing.h"
#include "platform/FileReader.h"
#include "platform/FileStatus.h"
#include "platform/FolderAccess.h"
#include "platform/FolderMaking.h"
#include "platform/NameExchange.h"
#include "platform/StopQuery.h"

namespace folivar::platform {

// Every file-system call the engine makes goes through this seam, so tests can
// put a failing implementation in place (CI runs as root, where permissions do
// not make anything fail).
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // nullptr when the folder cannot be listed (missing, not a folder, refused,
    // or readable but not searchable, so that no entry's status could be had),
    // with the reason in failure: running out of descriptors is told apart.
    virtual std::unique_ptr<DirectoryListing> openDirectory(const std::string& path,
                                                            OpenFailure& failure) = 0;
    std::unique_ptr<DirectoryListing> openDirectory(const std::string& path);

    virtual bool status(const std::string& path, bool follow, FileStatus& out) = 0;

    // The absolute path with every symbolic link, "." and ".." resolved;
    // nullopt when some part of it cannot be resolved.
    virtual std::optional<std::string> canonicalPath(const std::string& path) = 0;

    // Renames or moves one file; never replaces anything. False when not moved,
    // with the source as it was and nothing left at the destination. A copy to
    // another file system asks stop between its chunks; asked to stop, it is
    // abandoned: false, as for any failure.
    virtual bool moveFile(const std::string& from, const std::string& to, StopQuery& stop) = 0;
    bool moveFile(const std::string& from, const std::string& to) {
        return moveFile(from, to, StopQuery::never());
    }

    // Opens a regular file for reading (links followed); never blocks, and
    // refuses FIFOs, devices, sockets and the files of pseudo file systems
    // (proc, sysfs and the like), whose contents are made up as they are read.
    // nullptr when it cannot be read, with the reason in failure.
    virtual std::unique_ptr<FileReader> openForReading(const std::string& path,
                                                       OpenFailure& failure) = 0;

    // Deletes a file for good (not a folder). False when it is still there.
    virtual bool removeFile(const std::string& path) = 0;

    // Deletes a file for good as Delete File(s) and DEL DUPL do: a second
    // attempt when the first fails. Nothing is changed in between: a file's
    // own mode never decides whether it can be removed (its folder's does),
    // and no link is followed.
    bool removeFileRetrying(const std::string& path);

    // Opens a regular file read-only to share its data or have it shared,
    // without moving its access time where the owner allows that (links
    // followed). An invalid descriptor when it cannot be opened; status is
    // the open file's.
    virtual Descriptor openToShare(const std::string& path, FileStatus& status) = 0;

    // Stores length bytes at offset of the open file duplicate in the places
    // that hold the same bytes of original, if the kernel finds them equal
    // (see shareDataRange).
    virtual RangeSharing shareRange(int original, int duplicate, std::int64_t offset,
                                    std::int64_t length) = 0;

    // Gives the file at existing (links followed) the further name name;
    // never replaces anything. False when not linked.
    virtual bool hardLink(const std::string& existing, const std::string& name) = 0;

    // Swaps what the two names lead to, at once (see exchangeNames).
    virtual ExchangeResult exchangeNames(const std::string& a, const std::string& b) = 0;

    // What this user may do in the folder at path, told without changing it.
    virtual FolderAccess folderAccess(const std::string& path) = 0;

    // Makes the folders of folder (a path ending in "/") after its first kept
    // bytes that are missing, parent first, each as mkdir makes it (0777 less
    // the umask). The kept part must be a folder (links followed: the one the
    // user chose); each folder after it is opened without following a link
    // and made relative to its opened parent, so a link that appears on the
    // way is never followed. The listener, when given, hears of each folder
    // made. False when a folder on the way cannot be made or opened, or is
    // not a folder (a link included).
    virtual bool makeFolders(const std::string& folder, std::size_t kept,
                             FolderMaking* listener) = 0;

    // Removes an empty folder; never a link, never a folder with anything in
    // it. False when it is still there.
    virtual bool removeFolder(const std::string& path) = 0;

    // True when path names an existing folder (symbolic links followed).
    bool isDirectory(const std::string& path);

    // True when path names an existing file that is not a folder (links followed).
    bool fileExists(const std::string& path);
};

// The file system in use: the POSIX one unless a test replaced it.
FileSystem& fileSystem();

// Puts another implementation in place (nullptr: the POSIX one again) and
// returns the one that was in use. The caller keeps ownership.
FileSystem* setFileSystem(FileSystem* replacement);

}  // namespace folivar::platform
