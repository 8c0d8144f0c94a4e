#include "app/BusyStrip.h"

#include <QLabel>
#include <QProgressBar>

namespace folivar {

BusyStrip::BusyStrip(std::array<QWidget*, 3> buttons, QProgressBar* bar, QLabel* banner)
    : buttons_(buttons), bar_(bar), banner_(banner) {}

BusyStrip::~BusyStrip() {
    release();
}

void BusyStrip::hideButtons() {
    for (QWidget* button : buttons_) {
        button->hide();
    }
    busy_ = true;
}

void BusyStrip::showProgress(bool fromZero) {
    hideButtons();
    if (fromZero) {
        bar_->setValue(0);
    }
    bar_->show();
    bar_->repaint();
}

void BusyStrip::showBanner() {
    hideButtons();
    banner_->show();
    banner_->repaint();
}

void BusyStrip::release() {
    if (!busy_) {
        return;
    }
    bar_->hide();
    banner_->hide();
    for (QWidget* button : buttons_) {
        button->show();
    }
    busy_ = false;
}

}  // namespace folivar
