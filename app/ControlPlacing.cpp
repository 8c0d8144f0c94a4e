#include "app/ControlPlacing.h"

#include <QComboBox>
#include <QDateEdit>
#include <QListWidget>

#include "app/DateTyping.h"
#include "widgets/StyledButton.h"

namespace folivar {

StyledButton* glyphButton(QWidget* parent, const char* name, QRect geometry,
                          QStyle::StandardPixmap glyph, const QString& hint) {
    auto* button = place<StyledButton>(parent, name, geometry);
    button->setIcon(button->style()->standardIcon(glyph));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(hint);
    return button;
}

QComboBox* dropDownList(QWidget* parent, const char* name, QRect geometry,
                        std::initializer_list<Choice> choices, int chosen) {
    auto* box = place<QComboBox>(parent, name, geometry);
    for (const Choice& choice : choices) {
        box->addItem(QString::fromLatin1(choice.text), choice.value);
    }
    box->setCurrentIndex(box->findData(chosen));
    return box;
}

QListWidget* multiSelectList(QWidget* parent, const char* name, QRect geometry) {
    auto* list = place<QListWidget>(parent, name, geometry);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

QDateEdit* datePicker(QWidget* parent, const char* name, QRect geometry) {
    auto* picker = place<QDateEdit>(parent, name, geometry);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DateTyping::attach(picker);
    return picker;
}

}  // namespace folivar
