#include "app/LongWork.h"

#include <QCoreApplication>
#include <QEvent>

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
        sinceAlive_.start();
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
    // The input held back here would come with the next full pass; end()
    // drops it then.
    process(QEventLoop::ExcludeUserInputEvents, 0);
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

bool LongWork::eventFilter(QObject* watched, QEvent* event) {
    if (isInput(event->type())) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace folivar
