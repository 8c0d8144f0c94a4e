#include "filelist/PathPruning.h"

#include <algorithm>
#include <string_view>

#include "platform/FileSystem.h"

namespace folivar {

namespace {

// The path with every run of "/" made one and a final "/" dropped ("/" stays).
std::string comparable(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (c != '/' || out.empty() || out.back() != '/') {
            out += c;
        }
    }
    if (out.size() > 1 && out.back() == '/') {
        out.pop_back();
    }
    return out;
}

bool coversComparable(const std::string& covering, const std::string& covered,
                      bool includeSubfolders) {
    if (covering == covered) {
        return true;
    }
    if (!includeSubfolders || covering.empty() || !covered.starts_with(covering)) {
        return false;
    }
    // Only "/" itself ends in a separator here.
    if (covering.back() != '/' && covered[covering.size()] != '/') {
        return false;
    }
    // A ".." below the covering folder may lead out of it again.
    std::string_view rest = std::string_view(covered).substr(covering.size());
    while (!rest.empty()) {
        rest.remove_prefix(rest.front() == '/' ? 1 : 0);
        const std::size_t end = std::min(rest.find('/'), rest.size());
        if (rest.substr(0, end) == "..") {
            return false;
        }
        rest.remove_prefix(end);
    }
    return true;
}

}  // namespace

void prunePaths(std::vector<std::string>& paths, bool includeSubfolders) {
    std::vector<std::string> keys;
    keys.reserve(paths.size());
    for (const std::string& path : paths) {
        keys.push_back(comparable(path));
    }
    // Covering is a partial order, so what stays is each entry that nothing else
    // covers, or that only equal entries after it cover.
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        bool covered = false;
        for (std::size_t j = 0; j < paths.size() && !covered; ++j) {
            if (j == i || !coversComparable(keys[j], keys[i], includeSubfolders)) {
                continue;
            }
            covered = keys[j] != keys[i] || j < i;
        }
        if (!covered) {
            kept.push_back(std::move(paths[i]));
        }
    }
    paths = std::move(kept);
}

std::vector<std::string> foldersToScan(std::vector<std::string> paths, bool includeSubfolders) {
    prunePaths(paths, includeSubfolders);
    std::erase_if(
        paths, [](const std::string& path) { return !platform::fileSystem().isDirectory(path); });
    return paths;
}

}  // namespace folivar
