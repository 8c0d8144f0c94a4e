#include "platform/XdgDirectories.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace folivar::platform {

namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::vector<std::string> split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        if (end > start) {
            parts.emplace_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

// Relative entries are to be ignored, as the base directory rules say.
void appendAbsolute(std::vector<std::string>& to, const std::vector<std::string>& from) {
    for (const std::string& dir : from) {
        if (dir.front() == '/') {
            to.push_back(dir);
        }
    }
}

void appendHome(std::vector<std::string>& to, const char* name, const char* underHome) {
    const std::string set = variable(name);
    if (!set.empty() && set.front() == '/') {
        to.push_back(set);
        return;
    }
    const std::string home = variable("HOME");
    if (!home.empty() && home.front() == '/') {
        to.push_back(home + underHome);
    }
}

void appendSystem(std::vector<std::string>& to, const char* name, const char* defaults) {
    const std::size_t before = to.size();
    appendAbsolute(to, split(variable(name), ':'));
    if (to.size() == before) {
        appendAbsolute(to, split(defaults, ':'));
    }
}

}  // namespace

XdgDirectories XdgDirectories::fromEnvironment() {
    XdgDirectories dirs;
    appendHome(dirs.configDirs, "XDG_CONFIG_HOME", "/.config");
    appendSystem(dirs.configDirs, "XDG_CONFIG_DIRS", "/etc/xdg");
    appendHome(dirs.dataDirs, "XDG_DATA_HOME", "/.local/share");
    appendSystem(dirs.dataDirs, "XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    for (std::string desktop : split(variable("XDG_CURRENT_DESKTOP"), ':')) {
        for (char& c : desktop) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        dirs.desktops.push_back(desktop);
    }
    return dirs;
}

}  // namespace folivar::platform
