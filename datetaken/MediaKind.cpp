#include "datetaken/MediaKind.h"

#include <array>

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

}  // namespace

MediaKind mediaKindOf(std::string_view header) {
    if (header.size() >= 4 && header.substr(0, 4) == "\x1a\x45\xdf\xa3") {
        return MediaKind::Video;  // Matroska, WebM
    }
    if (header.size() < kMediaHeaderSize) {
        return MediaKind::Other;
    }
    const std::string_view box = header.substr(4, 4);
    const std::string_view brand = header.substr(8, 4);
    if (box == "ftyp") {
        return isOneOf(brand, kPictureBrands) ? MediaKind::Picture : MediaKind::Video;
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
