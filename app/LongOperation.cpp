#include "app/LongOperation.h"

#include <QProgressBar>

#include "app/ActionStrip.h"
#include "app/EngineBridge.h"
#include "app/StatusLine.h"
#include "filelist/ListStatus.h"

namespace folivar {

LongOperation::LongOperation(ActionStrip& strip, Strip look, QWidget* origin)
    : strip_(strip), look_(look), origin_(origin) {
    running_.emplace(*strip_.work_);
    strip_.setStopShown(true);
    if (look_ == Strip::Bar || look_ == Strip::Banner) {
        strip_.hideButtons();
        strip_.statusLine_.write(QString::fromLatin1(kPleaseWait));
        if (look_ == Strip::Bar) {
            strip_.showBar(true);
        } else {
            strip_.showBanner();
        }
    }
}

LongOperation::~LongOperation() {
    // Input still queued goes first, while the window still counts as busy.
    running_.reset();
    strip_.endWork(origin_);
}

void LongOperation::status(const std::string& text) {
    strip_.statusLine_.write(fromEngine(text));
}

void LongOperation::percent(int percent) {
    strip_.bar_->setValue(percent);
    strip_.bar_->repaint();
}

void LongOperation::progressShown(bool shown) {
    if (look_ != Strip::BarWhenTold) {
        return;
    }
    if (shown) {
        strip_.showBar(false);
    } else {
        strip_.restore();
    }
}

void LongOperation::working() {
    strip_.work_->keepAlive();
    strip_.askToCloseIfWanted();
}

bool LongOperation::stopRequested() {
    working();
    return strip_.work_->stopRequested();
}

}  // namespace folivar
