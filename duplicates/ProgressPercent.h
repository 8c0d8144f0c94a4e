#pragma once

#include <cstddef>

namespace folivar {

// done x 100 / total rounded to the nearest whole number, halves to even,
// and never above 100 (the progress bar's range). 0 when total is 0.
int progressPercent(std::size_t done, std::size_t total);

}  // namespace folivar
