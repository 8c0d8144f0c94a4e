#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace folivar {

// A block to read file contents into, left as it is until read into.
inline std::unique_ptr<char[]> allocateBlock(std::size_t size) {
    return std::make_unique_for_overwrite<char[]>(std::max<std::size_t>(size, 1));
}

// Picks candidates only: equal contents are always confirmed byte for byte.
inline std::uint64_t hashOfBlock(const char* data, std::size_t size) {
    return std::hash<std::string_view>{}(std::string_view(data, size));
}

}  // namespace folivar
