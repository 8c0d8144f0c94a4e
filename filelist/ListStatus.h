#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace folivar {

// What a command over the list shows while it works.
inline constexpr const char* kPleaseWait = "Please wait...";

// "<rows> files in list": the status most commands over the list end with.
std::string filesInListText(std::size_t rowCount);

// After files were deleted: "<rows> files in list; Deleted - <deleted>", then
// "; Remained - <remained>" when some file stayed.
std::string deletionText(std::size_t rowCount, std::int32_t deleted, std::int32_t remained);

// After LINK DUPL: "<rows> files in list; Shared - <n>; Linked - <n>;
// Remained - <n>; Reclaimed - <size>", the size as the information box of SUM
// gives it.
std::string linkingText(std::size_t rowCount, std::int32_t shared, std::int32_t linked,
                        std::int32_t remained, std::int64_t reclaimed);

// After work the user stopped: "Stopped - " and what was done.
std::string stoppedText(const std::string& done);

}  // namespace folivar
