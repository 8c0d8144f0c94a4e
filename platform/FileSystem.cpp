#include "platform/FileSystem.h"

#include <sys/stat.h>

#include "platform/PosixFileSystem.h"

namespace folivar::platform {

bool FileStatus::isDirectory() const {
    return S_ISDIR(mode);
}
bool FileStatus::isRegular() const {
    return S_ISREG(mode);
}
bool FileStatus::isSymbolicLink() const {
    return S_ISLNK(mode);
}
bool FileStatus::ownerCanWrite() const {
    return (mode & S_IWUSR) != 0;
}

std::unique_ptr<DirectoryListing> FileSystem::openDirectory(const std::string& path) {
    OpenFailure failure = OpenFailure::None;
    return openDirectory(path, failure);
}

bool FileSystem::removeFileRetrying(const std::string& path) {
    return removeFile(path) || removeFile(path);
}

bool FileSystem::isDirectory(const std::string& path) {
    FileStatus st;
    return status(path, true, st) && st.isDirectory();
}

bool FileSystem::fileExists(const std::string& path) {
    FileStatus st;
    return status(path, true, st) && !st.isDirectory();
}

namespace {
FileSystem* current = nullptr;
}

FileSystem& fileSystem() {
    if (current != nullptr) {
        return *current;
    }
    static PosixFileSystem posix;
    return posix;
}

FileSystem* setFileSystem(FileSystem* replacement) {
    FileSystem* previous = &fileSystem();
    current = replacement;
    return previous;
}

}  // namespace folivar::platform
