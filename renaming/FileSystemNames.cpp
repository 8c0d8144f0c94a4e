#include "renaming/FileSystemNames.h"

#include "platform/FileSystem.h"

namespace folivar {

bool FileSystemNames::fileExists(const std::string& path) {
    return platform::fileSystem().fileExists(path);
}

bool FileSystemNames::move(std::size_t, const std::string& from, const std::string& to) {
    return platform::fileSystem().moveFile(from, to, *stop_);
}

}  // namespace folivar
