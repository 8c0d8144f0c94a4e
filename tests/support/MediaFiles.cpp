#include "support/MediaFiles.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <stdexcept>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace folivar::test {

namespace {

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

void setTags(Exiv2::Image& image, const ExifTags& tags) {
    for (const auto& [key, value] : tags) {
        image.exifData()[key] = value;
    }
    image.writeMetadata();
}

std::string withTags(const std::string& path, const ExifTags& tags) {
    Exiv2::XmpParser::initialize();
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    setTags(*image, tags);
    return path;
}

std::string made(int type, const std::string& path, const ExifTags& tags) {
    Exiv2::XmpParser::initialize();
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::create(type, path);
    setTags(*image, tags);
    return path;
}

std::string big32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}
std::string big16(std::uint16_t v) {
    return {static_cast<char>(v >> 8), static_cast<char>(v)};
}
std::string little32(std::uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}
std::string little16(std::uint16_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8)};
}

std::string box(const std::string& type, const std::string& payload) {
    return big32(static_cast<std::uint32_t>(8 + payload.size())) + type + payload;
}
std::string fullBox(const std::string& type, std::uint8_t version, const std::string& payload) {
    return box(type, std::string(1, static_cast<char>(version)) + std::string(3, '\0') + payload);
}

// An EBML element whose size fits one byte or takes eight.
std::string element(const std::string& id, const std::string& payload) {
    std::string size;
    if (payload.size() < 127) {
        size = std::string(1, static_cast<char>(0x80 | payload.size()));
    } else {
        size = std::string(1, '\x01') + std::string(3, '\0') +
               big32(static_cast<std::uint32_t>(payload.size()));
    }
    return id + size + payload;
}

std::string chunk(const std::string& id, std::string payload) {
    const auto size = static_cast<std::uint32_t>(payload.size());
    if (payload.size() % 2 == 1) {
        payload += '\0';
    }
    return id + little32(size) + payload;
}

}  // namespace

std::string writeJpeg(const std::string& path, const ExifTags& tags) {
    return made(Exiv2::ImageType::jpeg, path, tags);
}

std::string writePng(const std::string& path, const ExifTags& tags) {
    return made(Exiv2::ImageType::png, path, tags);
}

std::string writeWebp(const std::string& path, const ExifTags& tags) {
    // One lossless pixel.
    writeBytes(path, std::string("RIFF\x1a\0\0\0WEBPVP8L\x0d\0\0\0\x2f\0\0\0\x10\x07\x10\x11\x11"
                                 "\x88\x88\xfe\x07\0",
                                 34));
    return withTags(path, tags);
}

std::string writeTiff(const std::string& path, const ExifTags& tags) {
    // One grey pixel: eight entries of the first directory, then its byte.
    std::string tiff = "II*" + std::string(1, '\0') + little32(8) + little16(8);
    const auto entry = [](std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
        return little16(tag) + little16(type) + little32(1) +
               (type == 3 ? little16(static_cast<std::uint16_t>(value)) + little16(0)
                          : little32(value));
    };
    const std::uint32_t pixelAt = 8 + 2 + 8 * 12 + 4;
    tiff += entry(256, 3, 1) + entry(257, 3, 1) + entry(258, 3, 8) + entry(259, 3, 1) +
            entry(262, 3, 1) + entry(273, 4, pixelAt) + entry(278, 3, 1) + entry(279, 4, 1);
    tiff += little32(0) + std::string(1, '\x80');
    writeBytes(path, tiff);
    return withTags(path, tags);
}

std::string writeHeic(const std::string& path, const ExifTags& tags) {
    Exiv2::ExifData exif;
    for (const auto& [key, value] : tags) {
        exif[key] = value;
    }
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, exif);
    const std::string item =
        big32(6) + std::string("Exif\0\0", 6) + std::string(blob.begin(), blob.end());

    const std::string ftyp = box("ftyp", std::string("heic") + big32(0) + "mif1heic");
    const std::string hdlr =
        fullBox("hdlr", 0, big32(0) + "pict" + std::string(12, '\0') + std::string(1, '\0'));
    const std::string pitm = fullBox("pitm", 0, big16(1));
    const auto infe = [](std::uint16_t id, const std::string& type) {
        return fullBox("infe", 2, big16(id) + big16(0) + type + std::string(1, '\0'));
    };
    const std::string iinf = fullBox("iinf", 0, big16(2) + infe(1, "hvc1") + infe(2, "Exif"));
    // Offsets are known once the meta box's size is: iloc's size does not
    // depend on them.
    const auto iloc = [&item](std::uint32_t exifAt) {
        return fullBox("iloc", 0,
                       std::string("\x44\x00", 2) + big16(1) + big16(2) + big16(0) + big16(1) +
                           big32(exifAt) + big32(static_cast<std::uint32_t>(item.size())));
    };
    const std::size_t metaSize = 12 + hdlr.size() + pitm.size() + iloc(0).size() + iinf.size();
    const auto exifAt = static_cast<std::uint32_t>(ftyp.size() + metaSize + 8);
    const std::string meta = fullBox("meta", 0, hdlr + pitm + iloc(exifAt) + iinf);
    writeBytes(path, ftyp + meta + box("mdat", item));
    return path;
}

std::string writeJpegXmp(const std::string& key, const std::string& value,
                         const std::string& path) {
    Exiv2::XmpParser::initialize();
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::create(Exiv2::ImageType::jpeg, path);
    image->xmpData()[key] = value;
    image->writeMetadata();
    return path;
}

std::string writeIsoMedia(const std::string& path, const std::string& brand,
                          long long creationUtc) {
    const auto since1904 = static_cast<std::uint32_t>(creationUtc + 2082844800LL);
    std::string mvhd = big32(since1904) + big32(since1904) + big32(1000) + big32(5000) +
                       big32(0x10000) + big16(0x100) + std::string(10, '\0');
    for (std::uint32_t m : {0x10000u, 0u, 0u, 0u, 0x10000u, 0u, 0u, 0u, 0x40000000u}) {
        mvhd += big32(m);
    }
    mvhd += std::string(24, '\0') + big32(2);
    writeBytes(path, box("ftyp", brand + big32(0) + brand) + box("moov", fullBox("mvhd", 0, mvhd)));
    return path;
}

std::string writeCountedOutContainer(const std::string& path, std::uint32_t entries) {
    const std::string hdlr =
        fullBox("hdlr", 0, big32(0) + "pict" + std::string(12, '\0') + std::string(1, '\0'));
    // One entry there, `entries` claimed.
    const std::string ipma = fullBox("ipma", 0, big32(entries) + big16(1) + "\x01\x81");
    writeBytes(path, box("mdat", "") + fullBox("meta", 0, hdlr + box("iprp", ipma)));
    return path;
}

std::string writeMatroska(const std::string& path, long long dateUtc) {
    const std::string header =
        element("\x1a\x45\xdf\xa3", element("\x42\x86", "\x01") + element("\x42\xf7", "\x01") +
                                        element("\x42\xf2", "\x04") + element("\x42\xf3", "\x08") +
                                        element("\x42\x82", "matroska") +
                                        element("\x42\x87", "\x04") + element("\x42\x85", "\x02"));
    const long long since2001 = (dateUtc - 978307200LL) * 1000000000LL;
    const auto ns = static_cast<std::uint64_t>(since2001);
    const std::string date =
        big32(static_cast<std::uint32_t>(ns >> 32)) + big32(static_cast<std::uint32_t>(ns));
    const std::string info = element(
        "\x15\x49\xa9\x66", element("\x2a\xd7\xb1", big32(1000000)) + element("\x44\x61", date) +
                                element("\x4d\x80", "test") + element("\x57\x41", "test"));
    writeBytes(path, header + element("\x18\x53\x80\x67", info));
    return path;
}

std::string writeAvi(const std::string& path, const std::string& idit) {
    std::string avih;
    for (std::uint32_t v : {40000u, 0u, 0u, 0u, 1u, 0u, 0u, 0u, 1u, 1u, 0u, 0u, 0u, 0u}) {
        avih += little32(v);
    }
    const std::string hdrl =
        chunk("LIST", "hdrl" + chunk("avih", avih) + chunk("IDIT", idit + std::string("\n\0", 2)));
    const std::string body = "AVI " + hdrl + chunk("LIST", "movi");
    writeBytes(path, "RIFF" + little32(static_cast<std::uint32_t>(body.size())) + body);
    return path;
}

void truncateTo(const std::string& path, long long size) {
    ASSERT_EQ(::truncate(path.c_str(), size), 0) << path;
}

}  // namespace folivar::test

#pragma GCC diagnostic pop
