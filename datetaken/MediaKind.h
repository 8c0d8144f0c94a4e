#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace folivar {

// What a file's first bytes say it is, as far as its date taken goes: a
// picture (its metadata read by exiv2), a video container (read by
// MediaInfo), or anything else (exiv2 still looks: it knows every picture
// and camera raw format by its own first bytes).
enum class MediaKind : std::uint8_t { Picture, Video, Other };

// The bytes kMediaHeaderSize tells are enough (an ISO base media file's
// ftyp box with its first compatible brands); fewer are read as they are.
inline constexpr std::size_t kMediaHeaderSize = 64;

MediaKind mediaKindOf(std::string_view header);

}  // namespace folivar
