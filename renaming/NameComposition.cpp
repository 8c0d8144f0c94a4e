#include "renaming/NameComposition.h"

#include "datetaken/CalendarTime.h"
#include "datetaken/DateFormat.h"

namespace folivar {

std::string CounterText(std::int64_t value, int capacity) {
    std::string digits = std::to_string(value);
    if (capacity > 0 && digits.size() < static_cast<std::size_t>(capacity)) {
        digits.insert(0, static_cast<std::size_t>(capacity) - digits.size(), '0');
    }
    return digits;
}

std::string_view ExtensionOf(std::string_view name) {
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string_view BaseOf(std::string_view name) {
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

bool usesDateTaken(FileStructure structure) {
    return structure == FileStructure::DateCounter ||
           structure == FileStructure::PrefixDateCounter || structure == FileStructure::DateOldName;
}

std::string ComposeName(const NamingScheme& scheme, std::size_t row, std::string_view oldName,
                        const platform::LocalTime* taken) {
    const std::string date = taken != nullptr && usesDateTaken(scheme.structure)
                                 ? formatDate(scheme.dateFormat, *taken)
                                 : std::string();
    const std::string counter =
        CounterText(scheme.origin + static_cast<std::int64_t>(row), scheme.capacity);
    const std::string& prefix = scheme.prefix;
    const std::string_view extension = ExtensionOf(oldName);
    std::string name;
    switch (scheme.structure) {
        case FileStructure::Counter:
            name = counter;
            name += extension;
            break;
        case FileStructure::CounterPrefix:
            name = counter + prefix;
            name += extension;
            break;
        case FileStructure::PrefixCounter:
            name = prefix + counter;
            name += extension;
            break;
        case FileStructure::CounterOldName:
            name = counter;
            name += oldName;
            break;
        case FileStructure::PrefixOldName:
            name = prefix;
            name += oldName;
            break;
        case FileStructure::CounterPrefixOldName:
            name = counter + prefix;
            name += oldName;
            break;
        case FileStructure::PrefixCounterOldName:
            name = prefix + counter;
            name += oldName;
            break;
        case FileStructure::DateCounter:
            name = date + counter;
            name += extension;
            break;
        case FileStructure::PrefixDateCounter:
            name = prefix + date + counter;
            name += extension;
            break;
        case FileStructure::DateOldName:
            name = date;
            name += oldName;
            break;
    }
    return name;
}

std::optional<std::string> WithoutLastForbiddenCharacter(std::string_view text) {
    // Every forbidden character is ASCII, so no byte of a longer UTF-8
    // character is taken for one.
    const std::size_t at = text.find_last_of(kForbiddenNameCharacters);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    std::string shortened(text.substr(0, at));
    shortened += text.substr(at + 1);
    return shortened;
}

std::optional<std::string> DateFormatWithoutForbiddenCharacter(std::string_view format) {
    // Names and numbers are letters and digits: only the format's own
    // characters can be forbidden ones, and a sample date shows whether one is.
    static const platform::LocalTime sample = *calendarTime(2001, 12, 31, 23, 59, 58, 999);
    if (formatDate(format, sample).find_first_of(kForbiddenNameCharacters) == std::string::npos) {
        return std::nullopt;
    }
    return WithoutLastForbiddenCharacter(format);
}

}  // namespace folivar
