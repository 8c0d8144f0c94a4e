#include "datetaken/DateFormat.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace folivar {

namespace {

constexpr std::array<std::string_view, 12> kMonths{{"January", "February", "March", "April", "May",
                                                    "June", "July", "August", "September",
                                                    "October", "November", "December"}};
constexpr std::array<std::string_view, 7> kDays{
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"}};

void appendNumber(std::string& out, int value, std::size_t digits) {
    std::string text = std::to_string(value);
    if (text.size() < digits) {
        out.append(digits - text.size(), '0');
    }
    out += text;
}

// How many times c stands at the start of text.
std::size_t runOf(std::string_view text, char c) {
    std::size_t n = 0;
    while (n < text.size() && text[n] == c) {
        ++n;
    }
    return n;
}

std::string_view nameOf(std::string_view whole, std::size_t letters) {
    return letters == 3 ? whole.substr(0, 3) : whole;
}

// An AM/PM marker makes h and hh count 12 hours, wherever it stands outside
// quotes.
bool hasMarker(std::string_view format) {
    bool quoted = false;
    for (char c : format) {
        if (c == '\'') {
            quoted = !quoted;
        } else if (!quoted && (c == 'A' || c == 'a')) {
            return true;
        }
    }
    return false;
}

int twelveHour(int hour) {
    const int h = hour % 12;
    return h == 0 ? 12 : h;
}

}  // namespace

std::string formatDate(std::string_view format, const platform::LocalTime& time) {
    const bool twelve = hasMarker(format);
    const std::size_t month = static_cast<std::size_t>(std::clamp(time.month, 1, 12) - 1);
    const std::size_t weekday = static_cast<std::size_t>(std::clamp(time.dayOfWeek, 0, 6));
    std::string out;
    std::size_t at = 0;
    while (at < format.size()) {
        const std::string_view rest = format.substr(at);
        const char c = rest[0];
        std::size_t used = std::max<std::size_t>(runOf(rest, c), 1);
        switch (c) {
            case '\'': {
                if (rest.size() > 1 && rest[1] == '\'') {
                    out += '\'';
                    used = 2;
                    break;
                }
                // Up to the closing quote, with '' for a quote inside; an
                // unclosed quote takes the rest.
                std::size_t i = 1;
                while (i < rest.size()) {
                    if (rest[i] == '\'') {
                        if (i + 1 < rest.size() && rest[i + 1] == '\'') {
                            out += '\'';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    out += rest[i++];
                }
                used = i;
                break;
            }
            case 'y':
                if (used >= 4) {
                    used = 4;
                    appendNumber(out, time.year, 4);
                } else if (used >= 2) {
                    used = 2;
                    appendNumber(out, time.year % 100, 2);
                } else {
                    out += c;
                }
                break;
            case 'M':
                used = std::min<std::size_t>(used, 4);
                if (used >= 3) {
                    out += nameOf(kMonths[month], used);
                } else {
                    appendNumber(out, time.month, used);
                }
                break;
            case 'd':
                used = std::min<std::size_t>(used, 4);
                if (used >= 3) {
                    out += nameOf(kDays[weekday], used);
                } else {
                    appendNumber(out, time.day, used);
                }
                break;
            case 'H':
            case 'h':
            case 'm':
            case 's': {
                used = std::min<std::size_t>(used, 2);
                const int value = c == 'H'   ? time.hour
                                  : c == 'h' ? (twelve ? twelveHour(time.hour) : time.hour)
                                  : c == 'm' ? time.minute
                                             : time.second;
                appendNumber(out, value, used);
                break;
            }
            case 'z': {
                used = used >= 3 ? 3 : 1;
                std::string fraction;
                appendNumber(fraction, time.millisecond, 3);
                if (used == 1) {
                    // The fraction of the second, as after a decimal point.
                    while (fraction.size() > 1 && fraction.back() == '0') {
                        fraction.pop_back();
                    }
                }
                out += fraction;
                break;
            }
            case 'A':
            case 'a': {
                used = rest.size() > 1 && rest[1] == (c == 'A' ? 'P' : 'p') ? 2 : 1;
                const bool pm = time.hour >= 12;
                out += c == 'A' ? (pm ? "PM" : "AM") : (pm ? "pm" : "am");
                break;
            }
            default:
                out.append(rest.substr(0, used));
                break;
        }
        at += used;
    }
    return out;
}

}  // namespace folivar
