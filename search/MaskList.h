#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/Masks.h"

namespace folivar {

// A list of masks for one walk, each compiled when a name first reaches it and
// kept from then on. An invalid mask raises when it is reached, and again each
// time it is reached later.
class MaskList {
public:
    explicit MaskList(const std::vector<std::string>& masks);

    // True at the first mask, in list order, that matches the name.
    bool MatchesAny(std::string_view name);

    // True when the list holds the very text "*.*".
    bool HoldsAnyDotAny() const { return holdsAnyDotAny_; }

private:
    std::vector<std::string> texts_;
    std::vector<std::optional<TMask>> compiled_;
    bool holdsAnyDotAny_ = false;
};

}  // namespace folivar
