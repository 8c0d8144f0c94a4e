#pragma once

#include <string>
#include <string_view>

#include "platform/LocalTime.h"

namespace folivar {

// " (hmsms)": hours, minutes, seconds and milliseconds of the time of day, each
// without leading zeros, joined without separators. 14:05:09.123 gives
// " (1459123)", 09:05:03.040 gives " (95340)".
std::string TimeSuffix(const platform::LocalTime& now);

// The name with the suffix put in front of the extension the name ends with
// (from the last dot), or at its end when extensionLength is 0.
std::string WithSuffixBeforeExtension(std::string_view name, std::size_t extensionLength,
                                      std::string_view suffix);

}  // namespace folivar
