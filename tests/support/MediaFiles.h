#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace folivar::test {

// EXIF tags by exiv2's keys ("Exif.Photo.DateTimeOriginal") and their texts.
using ExifTags = std::map<std::string, std::string>;

// Pictures made by exiv2 (a blank picture with these tags), or written here
// as phones do where exiv2 cannot write them (HEIF). Each returns path.
std::string writeJpeg(const std::string& path, const ExifTags& tags);
std::string writePng(const std::string& path, const ExifTags& tags);
std::string writeWebp(const std::string& path, const ExifTags& tags);
std::string writeTiff(const std::string& path, const ExifTags& tags);
std::string writeHeic(const std::string& path, const ExifTags& tags);
// A JPEG whose metadata holds XMP only.
std::string writeJpegXmp(const std::string& key, const std::string& value, const std::string& path);

// Video containers with the header that holds their date and nothing to play.
// ISO media (MP4, MOV, M4V, 3GP by brand): creation time in seconds since 1970, UTC.
std::string writeIsoMedia(const std::string& path, const std::string& brand, long long creationUtc);
// Matroska: DateUTC, seconds since 1970.
std::string writeMatroska(const std::string& path, long long dateUtc);
// AVI with an IDIT chunk ("SAT APR 15 12:34:56 2023"), a local time.
std::string writeAvi(const std::string& path, const std::string& idit);

// A damaged container, 81 bytes: a QuickTime file by its first box, whose
// picture item properties claim `entries` entries and hold one. MediaInfo
// counts through them all (about 15 ns each).
std::string writeCountedOutContainer(const std::string& path, std::uint32_t entries);

// The file cut to its first bytes.
void truncateTo(const std::string& path, long long size);

}  // namespace folivar::test
