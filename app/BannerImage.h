#pragma once

#include <QByteArray>
#include <QImage>

namespace folivar {

// The banner picture: a JPEG kept as a resource and decoded through libjpeg.
class BannerImage {
public:
    // Decodes JPEG bytes (grey or colour) into an RGB image. Throws
    // std::runtime_error with libjpeg's text when the bytes are not a JPEG
    // image that can be decoded.
    static QImage decode(const QByteArray& jpeg);

    // The program's own banner, decoded from the resource.
    static QImage picture();
};

}  // namespace folivar
