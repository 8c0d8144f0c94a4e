#include "datetaken/ExifDate.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string_view>

// exiv2 0.27 still names its pointers std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace folivar {

namespace {

// The tags of EXIF's Photo directory that date a picture: the moment it
// was taken, then the one it was stored, each with its offset from UTC and
// its fraction of a second.
enum ExifDateText : std::size_t {
    kOriginal,
    kOriginalOffset,
    kOriginalFraction,
    kDigitized,
    kDigitizedOffset,
    kDigitizedFraction,
    kExifDateTexts
};

constexpr std::array<std::uint16_t, kExifDateTexts> kExifDateTags{
    {0x9003, 0x9011, 0x9291, 0x9004, 0x9012, 0x9292}};

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

// The texts of the dating tags, in one pass over the metadata: comparing
// tag numbers, not building a key per tag and file.
std::array<std::string, kExifDateTexts> exifDateTexts(const Exiv2::ExifData& exif) {
    static const int photoDirectory = Exiv2::ExifKey("Exif.Photo.DateTimeOriginal").ifdId();
    std::array<std::string, kExifDateTexts> texts;
    for (const Exiv2::Exifdatum& datum : exif) {
        if (datum.ifdId() != photoDirectory) {
            continue;
        }
        for (std::size_t i = 0; i < kExifDateTexts; ++i) {
            if (datum.tag() == kExifDateTags[i]) {
                texts[i] = datum.toString();
            }
        }
    }
    return texts;
}

std::optional<StampedTime> exifDate(const std::array<std::string, kExifDateTexts>& texts,
                                    std::size_t date) {
    std::optional<StampedTime> taken = readDateTimeText(texts[date]);
    if (!taken) {
        return std::nullopt;
    }
    if (!taken->offsetMinutes) {
        taken->offsetMinutes = readOffsetText(texts[date + 1]);
    }
    if (const std::optional<int> fraction = readFractionText(texts[date + 2])) {
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
        const auto texts = exifDateTexts(image->exifData());
        for (const std::size_t date : {kOriginal, kDigitized}) {
            if (std::optional<StampedTime> taken = exifDate(texts, date)) {
                return taken;
            }
        }
        // XMP's keys are looked up only in pictures that have XMP.
        const Exiv2::XmpData& xmp = image->xmpData();
        for (std::size_t i = 0; i < (xmp.empty() ? 0 : kXmpTags.size()); ++i) {
            const auto found = xmp.findKey(Exiv2::XmpKey(kXmpTags[i]));
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
