#pragma once

#include <cstddef>

namespace folivar {

// done x 100 / total rounded to the nearest whole number, halves to even
// (12.5 -> 12, 37.5 -> 38), computed exactly in integers. total must not be 0.
int progressPercent(std::size_t done, std::size_t total);

}  // namespace folivar
