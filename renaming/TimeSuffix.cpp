#include "renaming/TimeSuffix.h"

namespace folivar {

std::string TimeSuffix(const platform::LocalTime& now) {
    return " (" + std::to_string(now.hour) + std::to_string(now.minute) +
           std::to_string(now.second) + std::to_string(now.millisecond) + ")";
}

std::string WithSuffixBeforeExtension(std::string_view name, std::size_t extensionLength,
                                      std::string_view suffix) {
    const std::size_t cut = name.size() - std::min(extensionLength, name.size());
    std::string result(name.substr(0, cut));
    result += suffix;
    result += name.substr(cut);
    return result;
}

}  // namespace folivar
