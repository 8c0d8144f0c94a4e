#include "search/MaskList.h"

#include <algorithm>

namespace folivar {

MaskList::MaskList(const std::vector<std::string>& masks)
    : texts_(masks),
      compiled_(masks.size()),
      holdsAnyDotAny_(std::find(masks.begin(), masks.end(), "*.*") != masks.end()) {}

bool MaskList::MatchesAny(std::string_view name) {
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        if (!compiled_[i]) {
            compiled_[i].emplace(texts_[i]);
        }
        if (compiled_[i]->Matches(name)) {
            return true;
        }
    }
    return false;
}

}  // namespace folivar
