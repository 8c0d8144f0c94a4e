#include "widgets/StyledButton.h"

namespace folivar {

namespace {

// A text colour that stays readable on the given background.
QColor textColorOn(const QColor& background) {
    return background.lightness() > 150 ? QColor(0x20, 0x20, 0x20) : QColor(Qt::white);
}

}  // namespace

StyledButton::StyledButton(QWidget* parent) : StyledButton(QString(), parent) {}

StyledButton::StyledButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAttribute(Qt::WA_Hover);
    setColors(QColor(0xdd, 0xe6, 0xee), QColor(0xc4, 0xdc, 0xf0), QColor(0x8f, 0xb6, 0xd8));
}

void StyledButton::setColors(const QColor& color, const QColor& hoverColor,
                             const QColor& pressedColor) {
    color_ = color;
    hoverColor_ = hoverColor;
    pressedColor_ = pressedColor;
    applyStyle();
}

void StyledButton::applyStyle() {
    const QString sheet =
        QStringLiteral(
            "QPushButton { background-color: %1; color: %2;"
            " border: 1px solid %3; border-radius: 3px; padding: 0px 2px; }"
            "QPushButton:hover { background-color: %4; color: %5; }"
            "QPushButton:pressed { background-color: %6; color: %7; }"
            "QPushButton:disabled { background-color: %8; color: %9;"
            " border-color: %8; }")
            .arg(color_.name(), textColorOn(color_).name(), color_.darker(140).name(),
                 hoverColor_.name(), textColorOn(hoverColor_).name(), pressedColor_.name(),
                 textColorOn(pressedColor_).name(), color_.lighter(108).name(),
                 QColor(0x9a, 0x9a, 0x9a).name());
    setStyleSheet(sheet);
}

}  // namespace folivar
