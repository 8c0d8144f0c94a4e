#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "datetaken/CpuBoundedRead.h"
#include "datetaken/DateTimeText.h"

namespace folivar {

// The date a video was taken by its container, read with MediaInfo (MP4,
// MOV, M4V, 3GP, Matroska and WebM, AVI): the recording date where the
// camera wrote one with its date and time, else the creation time of the
// container (UTC in MP4, MOV and Matroska), else AVI's IDIT date. MediaInfo
// is asked to read no more than the container's headers. nullopt when none
// of them is there or the file is damaged. Never throws.
std::optional<StampedTime> videoDateTaken(const std::string& path);

// Reading a video container's headers takes milliseconds of processor time;
// one that takes seconds is a damaged file that MediaInfo loops over.
inline constexpr std::chrono::milliseconds kVideoReadLimit{3000};

// As above, giving the file up once MediaInfo has spent `processorLimit` on it.
BoundedDate videoDateTaken(const std::string& path, std::chrono::milliseconds processorLimit);

}  // namespace folivar
