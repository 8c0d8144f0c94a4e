#include "search/StatusHint.h"

#include <algorithm>

namespace folivar {

StatusHint::StatusHint(const std::vector<std::string>& includes,
                       const std::vector<std::string>& excludes)
    : holdsAnyDotAny_(std::find(includes.begin(), includes.end(), "*.*") != includes.end()) {
    try {
        for (const std::string& mask : includes) {
            includes_.emplace_back(mask);
        }
        for (const std::string& mask : excludes) {
            excludes_.emplace_back(mask);
        }
    } catch (const EMaskException&) {
        valid_ = false;
    }
}

bool StatusHint::wants(std::string_view name, bool isDirectory) const {
    if (!valid_) {
        return false;
    }
    auto matches = [name](const TMask& mask) { return mask.Matches(name); };
    if (std::any_of(excludes_.begin(), excludes_.end(), matches)) {
        return false;
    }
    return (isDirectory && holdsAnyDotAny_) ||
           std::any_of(includes_.begin(), includes_.end(), matches);
}

}  // namespace folivar
