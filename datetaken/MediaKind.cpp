#include "datetaken/MediaKind.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace folivar {

namespace {

// Brands of ISO base media files that hold pictures (HEIF, AVIF, Canon's CR3);
// every other brand is a video (MP4, MOV, M4V, 3GP).
constexpr std::array<std::string_view, 11> kPictureBrands{
    {"heic", "heix", "hevc", "hevx", "heim", "heis", "mif1", "msf1", "avif", "avis", "crx "}};

// The first box of a QuickTime file made before the ftyp box was.
constexpr std::array<std::string_view, 6> kOldQuickTimeBoxes{
    {"moov", "mdat", "wide", "free", "skip", "pnot"}};

bool isOneOf(std::string_view text, auto const& list) {
    for (std::string_view entry : list) {
        if (text == entry) {
            return true;
        }
    }
    return false;
}

// A box's size and type, then a brand or a RIFF form.
constexpr std::size_t kMajorBrandEnd = 12;

// A picture by its major brand or by any compatible brand the header holds:
// HEIF files name their kind in either place, and MediaInfo, which reads the
// videos, can spend minutes on a damaged picture's item properties.
bool picturesBrand(std::string_view header) {
    const auto byte = [header](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(header[i]));
    };
    const std::size_t boxSize = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
    const std::size_t end = std::min(boxSize, header.size());
    if (isOneOf(header.substr(8, 4), kPictureBrands)) {
        return true;
    }
    // After the major brand, its minor version, then the compatible brands.
    for (std::size_t at = 16; at + 4 <= end; at += 4) {
        if (isOneOf(header.substr(at, 4), kPictureBrands)) {
            return true;
        }
    }
    return false;
}

}  // namespace

MediaKind mediaKindOf(std::string_view header) {
    if (header.size() >= 4 && header.substr(0, 4) == "\x1a\x45\xdf\xa3") {
        return MediaKind::Video;  // Matroska, WebM
    }
    if (header.size() < kMajorBrandEnd) {
        return MediaKind::Other;
    }
    const std::string_view box = header.substr(4, 4);
    const std::string_view brand = header.substr(8, 4);
    if (box == "ftyp") {
        return picturesBrand(header) ? MediaKind::Picture : MediaKind::Video;
    }
    if (isOneOf(box, kOldQuickTimeBoxes)) {
        return MediaKind::Video;
    }
    if (header.substr(0, 4) == "RIFF") {
        if (brand == "AVI ") {
            return MediaKind::Video;
        }
        if (brand == "WEBP") {
            return MediaKind::Picture;
        }
    }
    return MediaKind::Other;
}

}  // namespace folivar
