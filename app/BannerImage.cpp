#include "app/BannerImage.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <stdexcept>
#include <string>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace folivar {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// libjpeg must not return from an error: jump back to the decoder, which
// turns the message into an exception outside any libjpeg frame.
void silent(j_common_ptr) {}

void errorExit(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

// No object with a destructor lives in this frame, so the jump skips nothing.
bool decodeInto(jpeg_decompress_struct& info, ErrorManager& errors, const unsigned char* data,
                unsigned long size, QImage& out) {
    if (setjmp(errors.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                 QImage::Format_RGB888);
    if (out.isNull()) {
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

QImage BannerImage::decode(const QByteArray& jpeg) {
    if (jpeg.isEmpty()) {
        throw std::runtime_error("The picture holds no data");
    }
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = errorExit;
    errors.base.output_message = silent;  // warnings on damaged data are not for stderr
    errors.message[0] = '\0';
    QImage image;
    const bool ok =
        decodeInto(info, errors, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                   static_cast<unsigned long>(jpeg.size()), image);
    jpeg_destroy_decompress(&info);
    if (!ok) {
        const std::string reason =
            errors.message[0] != '\0' ? errors.message : "out of memory for the picture";
        throw std::runtime_error("The picture cannot be decoded: " + reason);
    }
    return image;
}

QImage BannerImage::picture() {
    QFile file(QStringLiteral(":/folivar/banner.jpg"));
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error("The banner picture is missing from the program");
    }
    return decode(file.readAll());
}

}  // namespace folivar
