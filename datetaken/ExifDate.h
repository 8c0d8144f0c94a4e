#pragma once

#include <optional>
#include <string>

#include "datetaken/DateTimeText.h"

namespace folivar {

// The date a picture was taken by its metadata, read with exiv2 (JPEG,
// HEIC/HEIF, AVIF, PNG, WebP, TIFF and the camera raw formats): EXIF's
// DateTimeOriginal, else its CreateDate (DateTimeDigitized), each with its
// offset and fraction of a second where the picture has them; else XMP's
// DateTimeOriginal or CreateDate. exiv2 reads the metadata only, not the
// pictures. nullopt when the file has none of them, is damaged, or is no
// picture (a video exiv2 knows is left to MediaInfo). Never throws.
std::optional<StampedTime> pictureDateTaken(const std::string& path);

}  // namespace folivar
