#include <gtest/gtest.h>

#include <string>

#include "datetaken/MediaKind.h"

namespace folivar {
namespace {

using namespace std::string_literals;

// An ftyp box of the given size with a major brand and compatible brands.
std::string ftyp(char size, const std::string& major, const std::string& compatible) {
    return "\0\0\0"s + size + "ftyp" + major + "\0\0\0\0"s + compatible;
}

TEST(MediaKindTest, TheFirstBytesChooseTheReader) {
    const struct {
        const char* what;
        std::string header;
        MediaKind kind;
    } cases[] = {
        {"Matroska", "\x1a\x45\xdf\xa3"s, MediaKind::Video},
        {"MP4", ftyp(24, "isom", "isomavc1"), MediaKind::Video},
        {"QuickTime", ftyp(20, "qt  ", "qt  "), MediaKind::Video},
        {"QuickTime without ftyp", "\0\0\0\x08moov\0\0\0\0"s, MediaKind::Video},
        {"HEIC", ftyp(24, "heic", "mif1heic"), MediaKind::Picture},
        {"AVIF", ftyp(28, "avif", "avifmif1miaf"), MediaKind::Picture},
        {"a picture named by a compatible brand only", ftyp(24, "hei=", "mif1heic"),
         MediaKind::Picture},
        {"a brand past the end of the box is another box's",
         ftyp(20, "mp42", "isom") + "\0\0\0\x08mif1"s, MediaKind::Video},
        {"AVI", "RIFF\0\0\0\0AVI "s, MediaKind::Video},
        {"WebP", "RIFF\0\0\0\0WEBP"s, MediaKind::Picture},
        {"JPEG", "\xff\xd8\xff\xe1\0\0Exif\0\0\0\0"s, MediaKind::Other},
        {"too short to tell",
         "\0\0\0\x18"s
         "ftyp",
         MediaKind::Other},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mediaKindOf(c.header), c.kind) << c.what;
    }
}

}  // namespace
}  // namespace folivar
