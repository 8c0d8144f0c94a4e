#include "platform/TemporaryFolder.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <system_error>
#include <vector>

namespace folivar::platform {

std::string temporaryFolder() {
    const char* tmpdir = std::getenv("TMPDIR");
    std::string folder = tmpdir != nullptr && tmpdir[0] != '\0' ? tmpdir : "/tmp";
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

std::string createUniqueFolder(const std::string& parent, const std::string& prefix) {
    std::string pattern = parent;
    if (pattern.empty() || pattern.back() != '/') {
        pattern += '/';
    }
    pattern += prefix + "XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(),
                                "Cannot create a folder in " + parent);
    }
    return std::string(buffer.data());
}

std::uint32_t currentUser() {
    return ::geteuid();
}

std::int64_t secondsSinceEpoch() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

bool removeEmptyFolder(const std::string& path) {
    return ::rmdir(path.c_str()) == 0;
}

}  // namespace folivar::platform
