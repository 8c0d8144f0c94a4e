#pragma once

#include <cstdint>
#include <string>

namespace folivar::test {

// Sizes from 320 MiB on are compared in chunks of this many bytes.
constexpr std::int64_t kLargeComparisonSize = 335'544'320;
constexpr std::int64_t kLargeComparisonChunk = 67'108'864;

// The chunk in which two files of size bytes are compared: size div 5 + 1
// below 320 MiB, so that the last read of a file comes back short, and 64 MiB
// from there on. A size below 0 is no true size and gets the large chunk.
std::int64_t comparisonChunkSize(std::int64_t size);

// The plain way to tell two files apart, kept as the reference the duplicate
// finder's tests measure it against. Compares two files of the same size chunk
// by chunk, the first difference ending it. True only when both are readable
// regular files, are two different physical files
// (FileIdentity::samePhysicalFile), and hold the same bytes to their ends.
bool filesIdentical(const std::string& first, const std::string& second, std::int64_t size);

}  // namespace folivar::test
