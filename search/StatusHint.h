#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "search/Masks.h"

namespace folivar {

// Tells the read-ahead which entries the walk will want the status of: those
// whose names pass the exclude and include masks. Only a hint: the walk tests
// the names itself, in its own order, so that an invalid mask raises where it
// always does. With an invalid mask in either list it wants nothing. Safe to
// ask from several threads at once.
class StatusHint {
public:
    StatusHint(const std::vector<std::string>& includes, const std::vector<std::string>& excludes);

    bool wants(std::string_view name, bool isDirectory) const;

private:
    std::vector<TMask> includes_;
    std::vector<TMask> excludes_;
    bool holdsAnyDotAny_ = false;
    bool valid_ = true;
};

}  // namespace folivar
