#pragma once

#include <cstddef>
#include <string_view>

namespace folivar {

std::size_t utf8MultiByteLength(std::string_view text, std::size_t pos);

// Length of the character that starts at text[pos]: 2 to 4 for a well-formed
// UTF-8 multi-byte sequence, 1 for anything else (ASCII or a stray byte).
inline std::size_t utf8CharLength(std::string_view text, std::size_t pos) {
    return static_cast<unsigned char>(text[pos]) < 0x80 ? 1 : utf8MultiByteLength(text, pos);
}

// Upper-cases 'a'..'z' only.
constexpr unsigned char asciiUpper(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

}  // namespace folivar
