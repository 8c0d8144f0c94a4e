#include "app/FittedPicture.h"

#include <QResizeEvent>

namespace folivar {

FittedPicture::FittedPicture(const QPixmap& picture, QWidget* parent)
    : QLabel(parent), picture_(picture) {
    setAlignment(Qt::AlignCenter);
    setPixmap(picture_);
}

QSize FittedPicture::sizeHint() const {
    const QMargins margins = contentsMargins();
    return picture_.size().grownBy(margins);
}

QSize FittedPicture::minimumSizeHint() const {
    return QSize(1, 1);
}

void FittedPicture::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    const int width = contentsRect().width();
    if (width >= picture_.width() || width <= 0) {
        setPixmap(picture_);
    } else {
        setPixmap(picture_.scaledToWidth(width, Qt::SmoothTransformation));
    }
}

}  // namespace folivar
