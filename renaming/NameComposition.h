#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/LocalTime.h"

namespace folivar {

// The structures of a new name, in the order the "File Structure" list shows them.
enum class FileStructure : int {
    Counter = 0,           // "counter"
    CounterPrefix,         // "counter+prefix"
    PrefixCounter,         // "prefix+counter"
    CounterOldName,        // "counter+oldname"
    PrefixOldName,         // "prefix+oldname"
    CounterPrefixOldName,  // "counter+prefix+oldname"
    PrefixCounterOldName,  // "prefix+counter+oldname"
    DateCounter,           // "date+counter"
    PrefixDateCounter,     // "prefix+date+counter"
    DateOldName,           // "date+oldname"
};

// The structures that name a file by the date it was taken.
bool usesDateTaken(FileStructure structure);

// The date format a new list starts with.
inline constexpr const char* kDefaultDateFormat = "yyyy-MM-dd_HH.mm.ss_";

struct NamingScheme {
    std::string prefix = "pic";
    FileStructure structure = FileStructure::PrefixCounter;
    int capacity = 4;                             // digits, 1..6
    std::int64_t origin = 1;                      // the top row's number
    std::string dateFormat = kDefaultDateFormat;  // a Qt date-time format (see formatDate)
};

// The counter's digits, zero-padded to the capacity and never cut.
std::string CounterText(std::int64_t value, int capacity);

// From the last dot to the end, the dot included; empty without a dot.
std::string_view ExtensionOf(std::string_view name);

// Everything before the last dot; the whole name without a dot.
std::string_view BaseOf(std::string_view name);

// The new name of the row at position row (0 for the top row) whose FileName
// cell holds oldName, and whose file was taken at taken (a structure that
// names files by their date taken writes no date without one).
std::string ComposeName(const NamingScheme& scheme, std::size_t row, std::string_view oldName,
                        const platform::LocalTime* taken = nullptr);

// Characters a name may not hold; the prefix refuses them wherever they stand.
inline constexpr std::string_view kForbiddenNameCharacters = "\\/:*?\"<>|";
inline constexpr const char* kForbiddenPrefixWarning =
    "The file name should not contain the following symbols: \\/:*?\"<>|";

// The text without its last character that a name may not hold; nullopt when
// it holds none. The prefix check removes one such character per warning, so
// a text with several gets one warning for each.
std::optional<std::string> WithoutLastForbiddenCharacter(std::string_view text);

// The date format without its last character that makes a date name hold a
// character a name may not hold; nullopt when the dates it writes hold none.
std::optional<std::string> DateFormatWithoutForbiddenCharacter(std::string_view format);

}  // namespace folivar
