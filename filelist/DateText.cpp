#include "filelist/DateText.h"

#include <cstdio>

#include "filelist/EConvertError.h"

namespace folivar {

namespace {

[[noreturn]] void notADate(std::string_view text) {
    throw EConvertError("'" + std::string(text) + "' is not a valid date");
}

// Reads 1 to maxDigits digits from the front of s, up to the next '.' or the end.
bool readField(std::string_view& s, std::size_t maxDigits, int& value) {
    std::size_t n = 0;
    value = 0;
    while (n < s.size() && s[n] >= '0' && s[n] <= '9') {
        if (n == maxDigits) {
            return false;
        }
        value = value * 10 + (s[n] - '0');
        ++n;
    }
    if (n == 0) {
        return false;
    }
    s.remove_prefix(n);
    return true;
}

bool readSeparator(std::string_view& s) {
    if (s.empty() || s.front() != '.') {
        return false;
    }
    s.remove_prefix(1);
    return true;
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::string DateToStr(const TSystemTime& time) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%u.%u.%04u", unsigned{time.Day}, unsigned{time.Month},
                  unsigned{time.Year});
    return buffer;
}

TDateTime StrToDate(std::string_view text) {
    std::string_view s = text;
    int day = 0, month = 0, year = 0;
    // A year as long as a TSystemTime can hold, so every cell written here reads back.
    if (!readField(s, 2, day) || !readSeparator(s) || !readField(s, 2, month) ||
        !readSeparator(s) || !readField(s, 5, year) || !s.empty()) {
        notADate(text);
    }
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) {
        notADate(text);
    }
    return EncodeDate(year, month, day);
}

}  // namespace folivar
