#include "app/WindowProgress.h"

#include <QProgressBar>
#include <QStatusBar>

#include "app/BusyStrip.h"
#include "app/EngineBridge.h"
#include "app/LongWork.h"

namespace folivar {

WindowProgress::WindowProgress(QStatusBar* statusBar, QProgressBar* bar, BusyStrip* strip,
                               LongWork* work)
    : statusBar_(statusBar), bar_(bar), strip_(strip), work_(work) {}

void WindowProgress::status(const std::string& text) {
    show(fromEngine(text));
}

void WindowProgress::show(const QString& text) {
    statusBar_->showMessage(text);
    statusBar_->repaint();
}

void WindowProgress::percent(int percent) {
    bar_->setValue(percent);
    bar_->repaint();
}

void WindowProgress::progressShown(bool shown) {
    if (strip_ == nullptr) {
        return;
    }
    if (shown) {
        strip_->showProgress(false);
    } else {
        strip_->release();
    }
}

void WindowProgress::working() {
    if (work_ != nullptr) {
        work_->keepAlive();
    }
}

}  // namespace folivar
