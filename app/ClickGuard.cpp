#include "app/ClickGuard.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace folivar {

ClickGuard::ClickGuard(QObject* parent) : QObject(parent) {}

void ClickGuard::arm(QWidget* control) {
    if (control == nullptr) {
        return;
    }
    if (!armed_.contains(control)) {
        control->installEventFilter(this);
        connect(control, &QObject::destroyed, this, [this](QObject* gone) { armed_.remove(gone); });
    }
    armed_[control].start();
}

bool ClickGuard::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            const auto found = armed_.constFind(watched);
            if (found != armed_.constEnd() &&
                !found->hasExpired(QApplication::doubleClickInterval())) {
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace folivar
