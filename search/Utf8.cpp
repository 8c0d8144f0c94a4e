#include "search/Utf8.h"

namespace folivar {

namespace {
bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}
}  // namespace

std::size_t utf8MultiByteLength(std::string_view text, std::size_t pos) {
    const std::size_t left = text.size() - pos;
    const auto c0 = static_cast<unsigned char>(text[pos]);
    if (c0 < 0xC2 || c0 > 0xF4 || left < 2) {
        return 1;
    }
    const auto c1 = static_cast<unsigned char>(text[pos + 1]);
    if (c0 < 0xE0) {
        return isContinuation(c1) ? 2 : 1;
    }
    // The second byte's range rules out overlong forms, surrogates and values above U+10FFFF.
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (c0 == 0xE0) {
        lo = 0xA0;
    } else if (c0 == 0xED) {
        hi = 0x9F;
    } else if (c0 == 0xF0) {
        lo = 0x90;
    } else if (c0 == 0xF4) {
        hi = 0x8F;
    }
    if (c1 < lo || c1 > hi) {
        return 1;
    }
    const std::size_t length = c0 < 0xF0 ? 3 : 4;
    if (left < length) {
        return 1;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!isContinuation(static_cast<unsigned char>(text[pos + i]))) {
            return 1;
        }
    }
    return length;
}

}  // namespace folivar
