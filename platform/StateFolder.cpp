#include "platform/StateFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace folivar::platform {

namespace {

std::string absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

}  // namespace

std::string stateFolder() {
    std::string base = absoluteVariable("XDG_STATE_HOME");
    if (base.empty()) {
        const std::string home = absoluteVariable("HOME");
        if (home.empty()) {
            return {};
        }
        base = home + "/.local/state";
    }
    while (base.size() > 1 && base.back() == '/') {
        base.pop_back();
    }
    return base == "/" ? "/folivar" : base + "/folivar";
}

bool makePrivateFolder(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    // Every missing part from the top down, as the base directory rules ask.
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        return false;
    }
    return (st.st_mode & 07777) == 0700 || ::chmod(path.c_str(), 0700) == 0;
}

}  // namespace folivar::platform
