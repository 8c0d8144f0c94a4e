#pragma once

#include <optional>
#include <string_view>

#include "platform/LocalTime.h"

namespace folivar {

// The date and time a file name holds, as cameras, phones and messengers
// write them: IMG_20230415_123456.jpg, PXL_20230415_123456789.jpg,
// 2023-04-15 12.34.56.jpg, VID-20230415-WA0001.mp4 (a day alone is taken at
// midnight), 20230415123456.jpg. A run of digits counts only whole: the
// digits of a longer number are no date. The first run that is a real date
// and time wins; 2023-02-30 is no date, and nor is a year before 1900 or
// after 2099.
std::optional<platform::LocalTime> dateInName(std::string_view name);

}  // namespace folivar
