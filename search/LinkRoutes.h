#pragma once

#include <optional>
#include <string>
#include <unordered_map>

namespace folivar {

// Decides whether a symbolic link to a folder is a route for the walk. A link
// whose target lies inside the walked folder, where the walk reaches it anyway
// through real folders, is not: that folder is listed under its own path
// whatever order the names are listed in. A link that leads out of the walked
// folder is a route.
class LinkRoutes {
public:
    // root: the walk's root as given, with its separator.
    explicit LinkRoutes(std::string root);

    // linkPath: the link as the walk names it (its folder and its name).
    bool isRoute(const std::string& linkPath);

private:
    bool reachable(const std::string& relative);
    bool canEnter(const std::string& folder);

    std::string root_;
    std::optional<std::string> canonicalRoot_;
    std::unordered_map<std::string, bool> enterable_;  // real folders asked about
};

}  // namespace folivar
