#include "datetaken/ExifDate.h"

#include <array>
#include <mutex>
#include <string_view>

// exiv2 0.27 still names its pointers std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace folivar {

namespace {

struct ExifDateTags {
    const char* dateTime;
    const char* offset;
    const char* fraction;
};

constexpr std::array<ExifDateTags, 2> kExifTags{{
    {"Exif.Photo.DateTimeOriginal", "Exif.Photo.OffsetTimeOriginal",
     "Exif.Photo.SubSecTimeOriginal"},
    {"Exif.Photo.DateTimeDigitized", "Exif.Photo.OffsetTimeDigitized",
     "Exif.Photo.SubSecTimeDigitized"},
}};

constexpr std::array<const char*, 2> kXmpTags{{"Xmp.exif.DateTimeOriginal", "Xmp.xmp.CreateDate"}};

// Once for the process: XMP's parser is made ready for several threads,
// HEIF and the other ISO media pictures are read, and exiv2 keeps its
// complaints about damaged files to itself.
void prepareExiv2() {
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::XmpParser::initialize();
        Exiv2::enableBMFF(true);
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    });
}

// exiv2's own video readers (QuickTime, Matroska, RIFF, ASF) are still
// experimental: a video is MediaInfo's to read.
bool isVideo(const Exiv2::Image& image) {
    return image.mimeType().rfind("video/", 0) == 0;
}

std::string exifText(const Exiv2::ExifData& exif, const char* key) {
    const auto found = exif.findKey(Exiv2::ExifKey(key));
    return found == exif.end() ? std::string() : found->toString();
}

std::optional<StampedTime> exifDate(const Exiv2::ExifData& exif, const ExifDateTags& tags) {
    std::optional<StampedTime> taken = readDateTimeText(exifText(exif, tags.dateTime));
    if (!taken) {
        return std::nullopt;
    }
    if (!taken->offsetMinutes) {
        taken->offsetMinutes = readOffsetText(exifText(exif, tags.offset));
    }
    if (const std::optional<int> fraction = readFractionText(exifText(exif, tags.fraction))) {
        taken->time.millisecond = *fraction;
    }
    return taken;
}

}  // namespace

std::optional<StampedTime> pictureDateTaken(const std::string& path) {
    prepareExiv2();
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path);
        if (image.get() == nullptr || isVideo(*image)) {
            return std::nullopt;
        }
        image->readMetadata();
        for (const ExifDateTags& tags : kExifTags) {
            if (std::optional<StampedTime> taken = exifDate(image->exifData(), tags)) {
                return taken;
            }
        }
        const Exiv2::XmpData& xmp = image->xmpData();
        for (const char* key : kXmpTags) {
            const auto found = xmp.findKey(Exiv2::XmpKey(key));
            if (found == xmp.end()) {
                continue;
            }
            if (std::optional<StampedTime> taken = readDateTimeText(found->toString())) {
                return taken;
            }
        }
    } catch (...) {
        // A damaged or unknown file: exiv2 says so by throwing, and the
        // name or the modification time gives the date instead.
    }
    return std::nullopt;
}

}  // namespace folivar

#pragma GCC diagnostic pop
