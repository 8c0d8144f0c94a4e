#pragma once

#include <cstdint>
#include <string_view>

namespace folivar {

// Reads a whole number: blanks (spaces, tabs) around it are ignored, then an
// optional "+" or "-" and one or more decimal digits. Anything else, or a value
// outside the signed 64-bit range, throws EConvertError with
// "'<text>' is not a valid integer value".
int64_t StrToInt64(std::string_view text);

}  // namespace folivar
