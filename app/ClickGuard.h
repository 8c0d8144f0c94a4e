#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>

class QWidget;

namespace folivar {

// Keeps the user's hand from acting twice: a control armed here ignores the
// mouse (press, release, double click) for the desktop's double-click
// interval, so the second click of a double click never lands on a caption
// that just changed or on a button whose work just ended. A click() made by
// code never goes through the mouse and is never ignored.
class ClickGuard : public QObject {
    Q_OBJECT

public:
    explicit ClickGuard(QObject* parent = nullptr);

    // From now on, for the interval.
    void arm(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<QObject*, QElapsedTimer> armed_;
};

}  // namespace folivar
