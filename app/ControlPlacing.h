#pragma once

#include <QRect>
#include <QString>
#include <QStyle>
#include <QWidget>
#include <initializer_list>
#include <utility>

class QComboBox;
class QDateEdit;
class QListWidget;

namespace folivar {

class StyledButton;

// Creates a control named as the window knows it, at its place in its parent.
template <typename W, typename... Args>
W* place(QWidget* parent, const char* name, QRect geometry, Args&&... args) {
    auto* widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

// A button that shows a standard picture and names itself in its hint.
StyledButton* glyphButton(QWidget* parent, const char* name, QRect geometry,
                          QStyle::StandardPixmap glyph, const QString& hint);

// A drop-down list whose entries each carry the engine's value they choose.
struct Choice {
    const char* text;
    int value;
};
QComboBox* dropDownList(QWidget* parent, const char* name, QRect geometry,
                        std::initializer_list<Choice> choices, int chosen);

QListWidget* multiSelectList(QWidget* parent, const char* name, QRect geometry);

// A date field with its calendar, typed into as a user expects.
QDateEdit* datePicker(QWidget* parent, const char* name, QRect geometry);

}  // namespace folivar
