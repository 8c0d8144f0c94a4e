#include "widgets/StyledLabel.h"

#include <QMouseEvent>

namespace folivar {

StyledLabel::StyledLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setColors(QColor(0x1d, 0x3f, 0x5e), QColor(0x1f, 0x6f, 0xb0), QColor(0x0b, 0x2a, 0x45));
}

void StyledLabel::setColors(const QColor& color, const QColor& hoverColor,
                            const QColor& pressedColor) {
    color_ = color;
    hoverColor_ = hoverColor;
    pressedColor_ = pressedColor;
    applyColor();
}

QColor StyledLabel::currentColor() const {
    if (pressed_) {
        return pressedColor_;
    }
    return hovered_ ? hoverColor_ : color_;
}

void StyledLabel::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    applyColor();
    QLabel::enterEvent(event);
}

void StyledLabel::leaveEvent(QEvent* event) {
    hovered_ = false;
    pressed_ = false;
    applyColor();
    QLabel::leaveEvent(event);
}

void StyledLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        applyColor();
    }
    QLabel::mousePressEvent(event);
}

void StyledLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = false;
        applyColor();
    }
    QLabel::mouseReleaseEvent(event);
}

void StyledLabel::applyColor() {
    // Only the enabled groups: the disabled group keeps the palette's grey.
    QPalette p = palette();
    p.setColor(QPalette::Active, QPalette::WindowText, currentColor());
    p.setColor(QPalette::Inactive, QPalette::WindowText, currentColor());
    setPalette(p);
}

}  // namespace folivar
