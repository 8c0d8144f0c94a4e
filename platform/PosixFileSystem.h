#pragma once

#include "platform/FileSystem.h"

namespace folivar::platform {

// Folder listings read with getdents64 into one buffer per listing; entry status
// with statx relative to the open folder, so no path is resolved twice.
class PosixFileSystem : public FileSystem {
public:
    using FileSystem::openDirectory;
    std::unique_ptr<DirectoryListing> openDirectory(const std::string& path,
                                                    OpenFailure& failure) override;
    bool status(const std::string& path, bool follow, FileStatus& out) override;
    std::optional<std::string> canonicalPath(const std::string& path) override;
    using FileSystem::moveFile;
    bool moveFile(const std::string& from, const std::string& to, StopQuery& stop) override;
    std::unique_ptr<FileReader> openForReading(const std::string& path,
                                               OpenFailure& failure) override;
    bool removeFile(const std::string& path) override;
    Descriptor openToShare(const std::string& path, FileStatus& status) override;
    RangeSharing shareRange(int original, int duplicate, std::int64_t offset,
                            std::int64_t length) override;
    bool hardLink(const std::string& existing, const std::string& name) override;
    ExchangeResult exchangeNames(const std::string& a, const std::string& b) override;
    FolderAccess folderAccess(const std::string& path) override;
    bool makeFolders(const std::string& folder, std::size_t kept, FolderMaking* listener) override;
    bool removeFolder(const std::string& path) override;
};

}  // namespace folivar::platform
