#include "datetaken/NameDate.h"

#include <array>
#include <cstddef>

#include "datetaken/CalendarTime.h"

namespace folivar {

namespace {

// The shapes tried at each place of a name, the longest first. Letters stand
// for the digits of year, Month, Day, hour, minute and second; "?" for one
// separator: "-", "_", ".", " " or "T"; anything else for itself.
constexpr std::array<std::string_view, 6> kShapes{{
    "YYYYMMDD?hhmmss",
    "YYYYMMDDhhmmss",
    "YYYY?MM?DD?hh?mm?ss",
    "YYYY?MM?DD?hhmmss",
    "YYYY?MM?DD",
    "YYYYMMDD",
}};

constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2099;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSeparator(char c) {
    return c == '-' || c == '_' || c == '.' || c == ' ' || c == 'T';
}

struct Fields {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

int* fieldFor(char letter, Fields& fields) {
    switch (letter) {
        case 'Y':
            return &fields.year;
        case 'M':
            return &fields.month;
        case 'D':
            return &fields.day;
        case 'h':
            return &fields.hour;
        case 'm':
            return &fields.minute;
        case 's':
            return &fields.second;
        default:
            return nullptr;
    }
}

// The shape at the start of text: the characters it takes, 0 when it does not fit.
std::size_t match(std::string_view shape, std::string_view text, Fields& fields) {
    if (text.size() < shape.size()) {
        return 0;
    }
    fields = Fields{};
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const char c = text[i];
        if (int* field = fieldFor(shape[i], fields)) {
            if (!isDigit(c)) {
                return 0;
            }
            *field = *field * 10 + (c - '0');
        } else if (shape[i] == '?' ? !isSeparator(c) : c != shape[i]) {
            return 0;
        }
    }
    return shape.size();
}

// Three more digits straight after the seconds are their milliseconds.
int millisecondsAfter(std::string_view rest, std::size_t& taken) {
    if (rest.size() >= 3 && isDigit(rest[0]) && isDigit(rest[1]) && isDigit(rest[2]) &&
        (rest.size() == 3 || !isDigit(rest[3]))) {
        taken = 3;
        return (rest[0] - '0') * 100 + (rest[1] - '0') * 10 + (rest[2] - '0');
    }
    taken = 0;
    return 0;
}

std::optional<platform::LocalTime> dateAt(std::string_view text) {
    for (std::string_view shape : kShapes) {
        Fields f;
        std::size_t taken = match(shape, text, f);
        if (taken == 0 || f.year < kFirstYear || f.year > kLastYear) {
            continue;
        }
        int milliseconds = 0;
        if (shape.back() == 's') {
            std::size_t more = 0;
            milliseconds = millisecondsAfter(text.substr(taken), more);
            taken += more;
        }
        if (taken < text.size() && isDigit(text[taken])) {
            continue;  // part of a longer number
        }
        if (auto time =
                calendarTime(f.year, f.month, f.day, f.hour, f.minute, f.second, milliseconds)) {
            return time;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<platform::LocalTime> dateInName(std::string_view name) {
    for (std::size_t at = 0; at < name.size(); ++at) {
        if (!isDigit(name[at]) || (at > 0 && isDigit(name[at - 1]))) {
            continue;
        }
        if (auto time = dateAt(name.substr(at))) {
            return time;
        }
    }
    return std::nullopt;
}

}  // namespace folivar
