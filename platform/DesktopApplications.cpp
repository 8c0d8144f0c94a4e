#include "platform/DesktopApplications.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string_view>
#include <system_error>

#include "platform/KeyFile.h"

namespace folivar::platform {

namespace {

namespace fs = std::filesystem;

const std::string kEntryGroup = "Desktop Entry";

// A folder's last change, -1 when it is not there: adding or removing an entry
// changes it.
std::int64_t changeTime(const std::string& folder) {
    std::error_code error;
    const auto time = fs::last_write_time(folder, error);
    return error ? -1 : static_cast<std::int64_t>(time.time_since_epoch().count());
}

bool isExecutable(const std::string& path) {
    return ::access(path.c_str(), X_OK) == 0 && !fs::is_directory(path);
}

// TryExec names the program that must be there for the entry to count: a path,
// or a name looked up in $PATH.
bool programExists(const std::string& program) {
    if (program.find('/') != std::string::npos) {
        return isExecutable(program);
    }
    const char* path = std::getenv("PATH");
    std::string_view dirs = path != nullptr ? path : "";
    while (!dirs.empty()) {
        const std::size_t colon = std::min(dirs.find(':'), dirs.size());
        const std::string dir(dirs.substr(0, colon));
        dirs.remove_prefix(std::min(colon + 1, dirs.size()));
        if (!dir.empty() && isExecutable(dir + "/" + program)) {
            return true;
        }
    }
    return false;
}

// The program an Exec line starts: its first word, which may be quoted.
std::string programOf(const std::string& exec) {
    std::string program;
    std::size_t i = exec.find_first_not_of(' ');
    if (i == std::string::npos) {
        return program;
    }
    if (exec[i] != '"') {
        return exec.substr(i, exec.find(' ', i) - i);
    }
    for (++i; i < exec.size() && exec[i] != '"'; ++i) {
        if (exec[i] == '\\' && i + 1 < exec.size()) {
            ++i;
        }
        program += exec[i];
    }
    return program;
}

// An entry counts when it starts a program that is there: TryExec names one
// to look for, and the one its Exec line starts must be there too (a program
// removed without its entry opens nothing).
bool entryIsUsable(const KeyFile& entry) {
    if (entry.value(kEntryGroup, "Type") != "Application" ||
        entry.value(kEntryGroup, "Hidden") == "true") {
        return false;
    }
    const std::string tryExec = entry.value(kEntryGroup, "TryExec");
    if (!tryExec.empty() && !programExists(tryExec)) {
        return false;
    }
    if (entry.value(kEntryGroup, "DBusActivatable") == "true") {
        return true;  // the session bus starts it
    }
    const std::string program = programOf(entry.value(kEntryGroup, "Exec"));
    return !program.empty() && programExists(program);
}

bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

DesktopApplications::DesktopApplications(XdgDirectories dirs) : dirs_(std::move(dirs)) {}

std::vector<std::string> DesktopApplications::listFiles() const {
    std::vector<std::string> files;
    const auto add = [&](const std::string& dir) {
        for (const std::string& desktop : dirs_.desktops) {
            files.push_back(dir + "/" + desktop + "-mimeapps.list");
        }
        files.push_back(dir + "/mimeapps.list");
    };
    for (const std::string& dir : dirs_.configDirs) {
        add(dir);
    }
    for (const std::string& dir : dirs_.dataDirs) {
        add(dir + "/applications");
    }
    return files;
}

bool DesktopApplications::entriesChanged() const {
    if (folders_.empty()) {
        return true;
    }
    return std::any_of(folders_.begin(), folders_.end(), [](const auto& folder) {
        return changeTime(folder.first) != folder.second;
    });
}

void DesktopApplications::readEntriesBelow(const std::string& root) {
    folders_.emplace_back(root, changeTime(root));
    std::error_code error;
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error);
    std::vector<std::pair<std::string, std::string>> found;  // id, file
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const fs::path& path = it->path();
        if (it->is_directory(error)) {
            folders_.emplace_back(path.string(), changeTime(path.string()));
        } else if (path.extension() == ".desktop") {
            // The id is the path below the folder, "/" turned into "-".
            std::string id = path.lexically_relative(root).string();
            std::replace(id.begin(), id.end(), '/', '-');
            found.emplace_back(std::move(id), path.string());
        }
    }
    std::sort(found.begin(), found.end());
    for (const auto& [id, file] : found) {
        if (entries_.count(id) != 0) {
            continue;  // a more important folder has its own
        }
        Entry entry;
        if (const std::optional<KeyFile> keys = KeyFile::read(file)) {
            entry.usable = entryIsUsable(*keys);
            entry.mimeTypes = keys->list(kEntryGroup, "MimeType");
        }
        entries_.emplace(id, std::move(entry));
        order_.push_back(id);
    }
}

void DesktopApplications::readEntries() {
    entries_.clear();
    order_.clear();
    folders_.clear();
    for (const std::string& dir : dirs_.dataDirs) {
        readEntriesBelow(dir + "/applications");
    }
}

bool DesktopApplications::usable(const std::string& id) const {
    const auto found = entries_.find(id);
    return found != entries_.end() && found->second.usable;
}

std::string DesktopApplications::applicationFor(const std::vector<std::string>& mimeTypes) {
    if (entriesChanged()) {
        readEntries();
    }
    std::vector<KeyFile> lists;
    for (const std::string& file : listFiles()) {
        if (std::optional<KeyFile> list = KeyFile::read(file)) {
            lists.push_back(std::move(*list));
        }
    }
    for (const std::string& type : mimeTypes) {
        // The first default that is there wins.
        for (const KeyFile& list : lists) {
            for (const std::string& id : list.list("Default Applications", type)) {
                if (usable(id)) {
                    return id;
                }
            }
        }
        // Then associations added by hand, and the entries' own, less those removed.
        std::set<std::string> removed;
        for (const KeyFile& list : lists) {
            for (const std::string& id : list.list("Added Associations", type)) {
                if (removed.count(id) == 0 && usable(id)) {
                    return id;
                }
            }
            for (std::string& id : list.list("Removed Associations", type)) {
                removed.insert(std::move(id));
            }
        }
        for (const std::string& id : order_) {
            const Entry& entry = entries_.at(id);
            if (entry.usable && removed.count(id) == 0 && contains(entry.mimeTypes, type)) {
                return id;
            }
        }
    }
    return {};
}

}  // namespace folivar::platform
