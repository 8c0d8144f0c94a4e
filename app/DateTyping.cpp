#include "app/DateTyping.h"

#include <QDateEdit>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace folivar {

namespace {

// Keys that only edit the text or move within it: the typing goes on.
bool isTypingKey(int key) {
    switch (key) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
            return true;
        default:
            return false;
    }
}

// The text editor a date field keeps to itself and to the classes made from it.
class FieldText : public QDateEdit {
public:
    static QLineEdit* of(QDateEdit* field) {
        using Getter = QLineEdit* (QAbstractSpinBox::*)() const;
        const Getter editor = &FieldText::lineEdit;
        return (field->*editor)();
    }
};

}  // namespace

void DateTyping::attach(QDateEdit* field) {
    new DateTyping(field);
}

DateTyping::DateTyping(QDateEdit* field) : QObject(field), field_(field) {
    // The date is reported when the typing ends, never a day typed halfway.
    field_->setKeyboardTracking(false);
    field_->installEventFilter(this);
    if (QLineEdit* text = FieldText::of(field_)) {
        text->installEventFilter(this);
    }
}

void DateTyping::relax() {
    if (!relaxed_) {
        latest_ = field_->maximumDate();
        relaxed_ = true;
        field_->setMaximumDate(QDate(9999, 12, 31));
    }
}

void DateTyping::restore() {
    if (relaxed_) {
        relaxed_ = false;
        // A date typed past the latest one becomes the latest one.
        field_->setMaximumDate(latest_);
    }
}

bool DateTyping::filterKey(int key, const QString& text) {
    const bool digit = text.size() == 1 && text.front().isDigit();
    const bool advanced = lastWasDigit_ && field_->currentSectionIndex() != sectionBeforeDigit_;
    lastWasDigit_ = digit;
    if (digit) {
        sectionBeforeDigit_ = field_->currentSectionIndex();
        relax();
        return false;
    }
    if (advanced && text.size() == 1 && !text.front().isLetterOrNumber() &&
        !text.front().isSpace()) {
        return true;  // the section moved on by itself already
    }
    if (!isTypingKey(key)) {
        restore();  // Enter, the arrows and the like end the typing
    }
    return false;
}

bool DateTyping::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            if (watched == field_) {
                const auto* key = static_cast<QKeyEvent*>(event);
                return filterKey(key->key(), key->text());
            }
            break;
        case QEvent::FocusIn:
            // The click that brings the focus (the focus comes before the
            // press) selects the day once it is released.
            selectDay_ = watched == field_ &&
                         static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
            break;
        case QEvent::MouseButtonPress:
            // Any click ends the typing: the calendar opens with the field's
            // own dates.
            restore();
            break;
        case QEvent::MouseButtonRelease:
            if (selectDay_ && watched != field_) {
                selectDay_ = false;
                field_->setSelectedSection(QDateTimeEdit::DaySection);
                lastWasDigit_ = false;
            }
            break;
        case QEvent::FocusOut:
        case QEvent::Wheel:
        case QEvent::Hide:
        case QEvent::EnabledChange:
            if (watched == field_) {
                restore();
            }
            break;
        default:
            break;
    }
    return false;
}

}  // namespace folivar
