#pragma once

#include <QColor>
#include <QPushButton>

namespace folivar {

// A push button drawn in a colour of its own, lighter under the mouse and darker
// while pressed. The look is a style sheet, so nothing runs between events.
class StyledButton : public QPushButton {
    Q_OBJECT

public:
    explicit StyledButton(QWidget* parent = nullptr);
    StyledButton(const QString& text, QWidget* parent = nullptr);

    void setColors(const QColor& color, const QColor& hoverColor, const QColor& pressedColor);

    QColor color() const { return color_; }
    QColor hoverColor() const { return hoverColor_; }
    QColor pressedColor() const { return pressedColor_; }

private:
    void applyStyle();

    QColor color_;
    QColor hoverColor_;
    QColor pressedColor_;
};

}  // namespace folivar
