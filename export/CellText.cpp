#include "export/CellText.h"

#include <cstddef>
#include <cstdint>

namespace folivar {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// "_xHHHH_" starting at position i.
bool isEscapeAt(std::string_view text, std::size_t i) {
    if (i + 7 > text.size() || text[i] != '_' || text[i + 1] != 'x' || text[i + 6] != '_') {
        return false;
    }
    return isHexDigit(text[i + 2]) && isHexDigit(text[i + 3]) && isHexDigit(text[i + 4]) &&
           isHexDigit(text[i + 5]);
}

// The length of the valid UTF-8 sequence at position i, or 0 when the byte
// there does not start one (overlong forms, surrogates and values past
// U+10FFFF are not valid).
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(text[i + k]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    std::uint8_t low = 0x80;
    std::uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size() || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

bool isControl(std::uint8_t c) {
    return c < 0x20 && c != '\t' && c != '\n';
}

// U+FFFE and U+FFFF: valid UTF-8, yet no XML character.
bool isNonCharacterAt(std::string_view text, std::size_t i) {
    return static_cast<std::uint8_t>(text[i]) == 0xEF &&
           static_cast<std::uint8_t>(text[i + 1]) == 0xBF &&
           static_cast<std::uint8_t>(text[i + 2]) >= 0xBE;
}

void appendEscape(std::string& out, unsigned code) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "_x";
    for (int shift = 12; shift >= 0; shift -= 4) {
        out += kHex[(code >> static_cast<unsigned>(shift)) & 0xFU];
    }
    out += '_';
}

}  // namespace

bool isPlainCellText(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        if (c == '_' && isEscapeAt(text, i)) {
            return false;
        }
        if (c < 0x80) {
            if (isControl(c)) {
                return false;
            }
            ++i;
            continue;
        }
        const std::size_t length = sequenceLength(text, i);
        if (length == 0 || (length == 3 && isNonCharacterAt(text, i))) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string cellText(std::string_view text) {
    if (isPlainCellText(text)) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        if (c == '_' && isEscapeAt(text, i)) {
            appendEscape(out, '_');
            ++i;
            continue;
        }
        if (c < 0x80) {
            if (isControl(c)) {
                appendEscape(out, c);
            } else {
                out += static_cast<char>(c);
            }
            ++i;
            continue;
        }
        const std::size_t length = sequenceLength(text, i);
        if (length == 0) {
            out += kReplacement;
            ++i;
        } else if (length == 3 && isNonCharacterAt(text, i)) {
            appendEscape(out, static_cast<std::uint8_t>(text[i + 2]) == 0xBE ? 0xFFFEU : 0xFFFFU);
            i += length;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

}  // namespace folivar
