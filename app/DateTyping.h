#pragma once

#include <QDate>
#include <QObject>

class QDateEdit;

namespace folivar {

// Lets a date field be typed into as a user expects:
// - the click that brings the focus selects the day, so the digits typed
//   replace it (Qt leaves the caret where the click fell, and refuses digits
//   typed into a full section);
// - a separator typed after a section filled itself and moved on is not taken
//   as a move to the section after that;
// - while digits are typed, the latest date allowed does not refuse a day on
//   its own (with today the latest, day 30 of this month while the month is
//   still to come): the field reports its date only when the typing ends
//   (Enter, leaving the field, the arrows, the calendar), and then a date
//   past the latest one becomes the latest one.
class DateTyping : public QObject {
    Q_OBJECT

public:
    // Attaches to the field, which owns the result.
    static void attach(QDateEdit* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit DateTyping(QDateEdit* field);

    bool filterKey(int key, const QString& text);
    void relax();
    void restore();

    QDateEdit* field_;
    QDate latest_;  // the field's own latest date while relaxed
    bool relaxed_ = false;
    bool selectDay_ = false;
    bool lastWasDigit_ = false;
    int sectionBeforeDigit_ = -1;
};

}  // namespace folivar
