#pragma once

#include <QColor>
#include <QLabel>

namespace folivar {

// A static text with a colour of its own, another one under the mouse and a
// third while a mouse button is held on it. A disabled text keeps the greyed
// colour of the palette.
class StyledLabel : public QLabel {
    Q_OBJECT

public:
    explicit StyledLabel(const QString& text, QWidget* parent = nullptr);

    void setColors(const QColor& color, const QColor& hoverColor, const QColor& pressedColor);

    // The colour the text is drawn in now, while enabled.
    QColor currentColor() const;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void applyColor();

    QColor color_;
    QColor hoverColor_;
    QColor pressedColor_;
    bool hovered_ = false;
    bool pressed_ = false;
};

}  // namespace folivar
