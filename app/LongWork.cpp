#include "app/LongWork.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

namespace folivar {

namespace {

// Long enough to take in what the queues hold when an operation ends, short
// enough not to be felt.
constexpr int kDrainMs = 100;

// The kinds of event that are the user's input.
bool isInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::NonClientAreaMouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::NativeGesture:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::ToolTip:
        case QEvent::WhatsThis:
            return true;
        default:
            return false;
    }
}

}  // namespace

LongWork::LongWork(QObject* parent) : QObject(parent) {}

LongWork::Running::Running(LongWork& work) : work_(work) {
    work_.begin();
}

LongWork::Running::~Running() {
    work_.end();
}

void LongWork::begin() {
    if (depth_++ == 0) {
        stopRequested_ = false;
        sinceAlive_.start();
    }
}

void LongWork::setStopButton(QAbstractButton* button) {
    stopButton_ = button;
}

void LongWork::requestStop() {
    if (running()) {
        stopRequested_ = true;
    }
}

void LongWork::end() {
    if (depth_ == 1) {
        // Input given while busy may still wait in the queues: it goes now,
        // while the window still counts as busy.
        process(QEventLoop::AllEvents, kDrainMs);
    }
    --depth_;
}

void LongWork::keepAlive() {
    if (!running() || processing_ || (intervalMs_ > 0 && !sinceAlive_.hasExpired(intervalMs_))) {
        return;
    }
    // Input reaches the filter at once: a click on Stop is seen now, the
    // rest is dropped.
    process(QEventLoop::AllEvents, 0);
    sinceAlive_.restart();
}

void LongWork::process(QEventLoop::ProcessEventsFlags flags, int maxMs) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || processing_) {
        return;
    }
    processing_ = true;
    application->installEventFilter(this);
    if (maxMs > 0) {
        QCoreApplication::processEvents(flags, maxMs);
    } else {
        QCoreApplication::processEvents(flags);
    }
    application->removeEventFilter(this);
    processing_ = false;
}

bool LongWork::forStopButton(QObject* watched, QEvent* event) const {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            break;
        default:
            return false;
    }
    const QAbstractButton* stop = stopButton_.data();
    if (stop == nullptr || !stop->isVisible() || !stop->isEnabled()) {
        return false;
    }
    if (watched == stop) {
        return true;
    }
    // The window hands the click on to the widget under the pointer: only
    // the stop button's get that far (and a release, once it is pressed).
    const QWidget* top = stop->window();
    if (top == nullptr || !watched->isWindowType() || watched != top->windowHandle()) {
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease && stop->isDown()) {
        return true;
    }
    const QPointF at = static_cast<QMouseEvent*>(event)->scenePosition();
    const QRect place(stop->mapTo(top, QPoint(0, 0)), stop->size());
    return place.contains(at.toPoint());
}

bool LongWork::eventFilter(QObject* watched, QEvent* event) {
    if (!isInput(event->type())) {
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        requestStop();
        return true;
    }
    return !forStopButton(watched, event);
}

}  // namespace folivar
