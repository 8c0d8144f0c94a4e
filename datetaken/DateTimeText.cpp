#include "datetaken/DateTimeText.h"

#include <cstddef>

#include "datetaken/CalendarTime.h"

namespace folivar {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\0')) {
        text.remove_suffix(1);
    }
    return text;
}

// Reads exactly n digits from the front of text, taking them off.
std::optional<int> takeNumber(std::string_view& text, std::size_t n) {
    if (text.size() < n) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (!isDigit(text[i])) {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    text.remove_prefix(n);
    return value;
}

bool take(std::string_view& text, char c) {
    if (!text.empty() && text.front() == c) {
        text.remove_prefix(1);
        return true;
    }
    return false;
}

bool takeWord(std::string_view& text, std::string_view word) {
    if (text.substr(0, word.size()) == word) {
        text.remove_prefix(word.size());
        return true;
    }
    return false;
}

}  // namespace

platform::LocalTime StampedTime::local() const {
    return offsetMinutes ? localTimeOf(time, *offsetMinutes) : time;
}

std::optional<int> readFractionText(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    int milliseconds = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (!isDigit(digits[i])) {
            return std::nullopt;
        }
        if (i < 3) {
            milliseconds = milliseconds * 10 + (digits[i] - '0');
        }
    }
    for (std::size_t i = digits.size(); i < 3; ++i) {
        milliseconds *= 10;
    }
    return milliseconds;
}

std::optional<int> readOffsetText(std::string_view text) {
    text = trimmed(text);
    if (text == "Z") {
        return 0;
    }
    int sign = 1;
    if (take(text, '-')) {
        sign = -1;
    } else if (!take(text, '+')) {
        return std::nullopt;
    }
    const std::optional<int> hours = takeNumber(text, 2);
    if (!hours) {
        return std::nullopt;
    }
    int minutes = 0;
    if (!text.empty()) {
        take(text, ':');
        const std::optional<int> m = takeNumber(text, 2);
        if (!m || !text.empty()) {
            return std::nullopt;
        }
        minutes = *m;
    }
    if (*hours > 14 || minutes > 59) {
        return std::nullopt;
    }
    return sign * (*hours * 60 + minutes);
}

std::optional<StampedTime> readDateTimeText(std::string_view text) {
    text = trimmed(text);
    std::optional<int> offset;
    if (takeWord(text, "UTC ")) {
        offset = 0;
    }
    const auto year = takeNumber(text, 4);
    const char dateSeparator = text.empty() ? '\0' : text.front();
    if (!year || (dateSeparator != ':' && dateSeparator != '-')) {
        return std::nullopt;
    }
    text.remove_prefix(1);
    const auto month = takeNumber(text, 2);
    if (!month || !take(text, dateSeparator)) {
        return std::nullopt;
    }
    const auto day = takeNumber(text, 2);
    if (!day || !(take(text, ' ') || take(text, 'T'))) {
        return std::nullopt;
    }
    const auto hour = takeNumber(text, 2);
    if (!hour || !take(text, ':')) {
        return std::nullopt;
    }
    const auto minute = takeNumber(text, 2);
    std::optional<int> second = 0;
    if (take(text, ':')) {
        second = takeNumber(text, 2);
    }
    if (!minute || !second) {
        return std::nullopt;
    }
    int milliseconds = 0;
    if (take(text, '.') || take(text, ',')) {
        std::size_t digits = 0;
        while (digits < text.size() && isDigit(text[digits])) {
            ++digits;
        }
        const std::optional<int> fraction = readFractionText(text.substr(0, digits));
        if (!fraction) {
            return std::nullopt;
        }
        milliseconds = *fraction;
        text.remove_prefix(digits);
    }
    text = trimmed(text);
    if (text == "UTC") {
        offset = 0;
    } else if (!text.empty()) {
        offset = readOffsetText(text);
        if (!offset) {
            return std::nullopt;
        }
    }
    const std::optional<platform::LocalTime> time =
        calendarTime(*year, *month, *day, *hour, *minute, *second, milliseconds);
    if (!time) {
        return std::nullopt;
    }
    return StampedTime{*time, offset};
}

}  // namespace folivar
