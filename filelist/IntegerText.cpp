#include "filelist/IntegerText.h"

#include <limits>
#include <string>

#include "filelist/EConvertError.h"

namespace folivar {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

[[noreturn]] void notAnInteger(std::string_view text) {
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace

int64_t StrToInt64(std::string_view text) {
    std::string_view s = text;
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) {
        notAnInteger(text);
    }
    // The magnitude of the most negative value is one more than the largest.
    const uint64_t limit =
        static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + (negative ? 1u : 0u);
    uint64_t magnitude = 0;
    for (char c : s) {
        if (c < '0' || c > '9') {
            notAnInteger(text);
        }
        const auto digit = static_cast<uint64_t>(c - '0');
        if (magnitude > (limit - digit) / 10) {
            notAnInteger(text);
        }
        magnitude = magnitude * 10 + digit;
    }
    if (!negative) {
        return static_cast<int64_t>(magnitude);
    }
    // Negate in unsigned arithmetic so the most negative value does not overflow.
    return static_cast<int64_t>(0u - magnitude);
}

}  // namespace folivar
