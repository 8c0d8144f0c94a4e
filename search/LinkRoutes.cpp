#include "search/LinkRoutes.h"

#include "platform/FileSystem.h"

namespace folivar {

LinkRoutes::LinkRoutes(std::string root)
    : root_(std::move(root)), canonicalRoot_(platform::fileSystem().canonicalPath(root_)) {}

bool LinkRoutes::isRoute(const std::string& linkPath) {
    if (!canonicalRoot_) {
        return true;
    }
    const std::optional<std::string> target = platform::fileSystem().canonicalPath(linkPath);
    if (!target) {
        return true;  // gone since it was listed: opening it will tell
    }
    const std::string& base = *canonicalRoot_;
    if (*target == base) {
        return false;
    }
    const bool atTop = base == "/";
    const bool inside = target->size() > base.size() &&
                        target->compare(0, base.size(), base) == 0 &&
                        (atTop || (*target)[base.size()] == '/');
    if (!inside) {
        return true;
    }
    return !reachable(target->substr(atTop ? 1 : base.size() + 1));
}

// The target's folders below the root, down to its parent, must all be
// listable: otherwise the link is the only way to the target.
bool LinkRoutes::reachable(const std::string& relative) {
    std::string folder = root_;
    std::size_t start = 0;
    for (std::size_t slash = relative.find('/'); slash != std::string::npos;
         slash = relative.find('/', start)) {
        folder.append(relative, start, slash - start);
        if (!canEnter(folder)) {
            return false;
        }
        folder += '/';
        start = slash + 1;
    }
    return true;
}

bool LinkRoutes::canEnter(const std::string& folder) {
    const auto known = enterable_.find(folder);
    if (known != enterable_.end()) {
        return known->second;
    }
    const bool listable = platform::fileSystem().openDirectory(folder) != nullptr;
    enterable_.emplace(folder, listable);
    return listable;
}

}  // namespace folivar
