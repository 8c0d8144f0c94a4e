#include "app/ActionStrip.h"

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QTimer>
#include <stdexcept>

#include "app/BannerImage.h"
#include "app/ClickGuard.h"
#include "app/LongWork.h"
#include "app/StatusLine.h"
#include "filelist/ActionButtons.h"
#include "widgets/StyledButton.h"

namespace folivar {

namespace {

// The places in the file list group, which the strip covers from its corner.
const QRect kStripPlace(0, 0, 521, 44);
const QRect kBarPlace(8, 16, 449, 25);
const QRect kShellBoxPlace(464, 20, 54, 17);
const QRect kStopPlace(464, 16, 54, 25);
constexpr int kButtonWidth = 147;
constexpr int kButtonGap = 4;

StyledButton* button(QWidget* parent, const char* name, const QRect& place, const QString& text,
                     const QColor& color) {
    auto* made = new StyledButton(text, parent);
    made->setObjectName(QString::fromLatin1(name));
    made->setGeometry(place);
    made->setColors(color, color.lighter(125), color.darker(130));
    QFont bold = made->font();
    bold.setBold(true);
    made->setFont(bold);
    return made;
}

}  // namespace

ActionStrip::ActionStrip(StatusLine& statusLine, QWidget* parent)
    : QWidget(parent),
      statusLine_(statusLine),
      work_(new LongWork(this)),
      guard_(new ClickGuard(this)) {
    setObjectName(QStringLiteral("ActionStrip"));
    setGeometry(kStripPlace);
    const QColor action(0x2d, 0x6c, 0xa3);
    const char* names[] = {"ScanButton", "RenameButton", "FindDuplButton"};
    const char* captions[] = {"SCAN", "RENAME", "FIND DUPL"};
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        const int x = kBarPlace.x() + static_cast<int>(i) * (kButtonWidth + kButtonGap);
        buttons_[i] = button(this, names[i], {x, kBarPlace.y(), kButtonWidth, kBarPlace.height()},
                             QString::fromLatin1(captions[i]), action);
    }
    renameButton()->setEnabled(false);
    findDuplButton()->setEnabled(false);
    linkDupl_ = button(this, "LinkDuplButton", findDuplButton()->geometry(),
                       QStringLiteral("LINK DUPL"), action);
    linkDupl_->hide();

    shellBox_ = new QCheckBox(QStringLiteral("Shell"), this);
    shellBox_->setObjectName(QStringLiteral("CheckView"));
    shellBox_->setGeometry(kShellBoxPlace);

    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setGeometry(kBarPlace);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->hide();

    banner_ = new QLabel(this);
    banner_->setObjectName(QStringLiteral("Banner"));
    banner_->setGeometry(kBarPlace);
    try {
        banner_->setPixmap(QPixmap::fromImage(BannerImage::picture()));
    } catch (const std::runtime_error&) {
        // Only decoration is lost: the strip stays empty.
    }
    banner_->setScaledContents(true);
    banner_->hide();

    stop_ =
        button(this, "StopButton", kStopPlace, QStringLiteral("Stop"), QColor(0xa3, 0x2d, 0x2d));
    stop_->setToolTip(QStringLiteral("Stop the work (Esc)"));
    stop_->hide();
    work_->setStopButton(stop_);
    connect(stop_, &QPushButton::clicked, work_, &LongWork::requestStop);
}

ActionStrip::~ActionStrip() = default;

void ActionStrip::setRenameCaption(const QString& caption) {
    if (renameButton()->text() != caption) {
        renameButton()->setText(caption);
        guard_->arm(renameButton());
    }
}

void ActionStrip::setFindDuplCaption(const QString& caption) {
    if (findDuplButton()->text() != caption) {
        findDuplButton()->setText(caption);
        guard_->arm(findDuplButton());
    }
}

void ActionStrip::setLinkDuplShown(bool shown) {
    if (linkDuplShown_ == shown) {
        return;
    }
    linkDuplShown_ = shown;
    // The two split FIND DUPL's place. LINK DUPL ignores the mouse for a
    // moment as it appears: the second click of a double click on FIND DUPL
    // may land on it.
    QRect place = renameButton()->geometry().translated(kButtonWidth + kButtonGap, 0);
    if (shown) {
        place.setWidth((kButtonWidth - kButtonGap) / 2);
        linkDupl_->setGeometry(place.right() + 1 + kButtonGap, place.y(),
                               kButtonWidth - place.width() - kButtonGap, place.height());
        guard_->arm(linkDupl_);
    }
    findDuplButton()->setGeometry(place);
    if (!busy()) {
        restore();  // else the work's end does
    }
}

void ActionStrip::apply(const ActionButtons& buttons) {
    if (buttons.rename) {
        renameButton()->setEnabled(*buttons.rename);
    }
    if (buttons.findDupl) {
        findDuplButton()->setEnabled(*buttons.findDupl);
        linkDupl_->setEnabled(*buttons.findDupl);
    }
}

void ActionStrip::setShellMode(bool on) {
    shellMode_ = on;
    restore();
}

LongOperation ActionStrip::begin(LongOperation::Strip look, QWidget* origin) {
    return LongOperation(*this, look, origin);
}

bool ActionStrip::busy() const {
    return work_->running();
}

void ActionStrip::setCloseQuestion(std::function<bool()> ask) {
    askToClose_ = std::move(ask);
}

void ActionStrip::requestClose() {
    if (close_ == Close::NotWanted) {
        close_ = Close::Wanted;
    }
}

void ActionStrip::hideButtons() {
    for (QWidget* each : buttons_) {
        each->hide();
    }
    linkDupl_->hide();
}

void ActionStrip::showBar(bool fromZero) {
    hideButtons();
    if (fromZero) {
        bar_->setValue(0);
    }
    bar_->show();
    bar_->repaint();
}

void ActionStrip::showBanner() {
    hideButtons();
    banner_->show();
    banner_->repaint();
}

void ActionStrip::restore() {
    bar_->hide();
    banner_->setVisible(shellMode_);
    for (QWidget* each : buttons_) {
        each->setVisible(!shellMode_);
    }
    linkDupl_->setVisible(!shellMode_ && linkDuplShown_);
}

void ActionStrip::setStopShown(bool shown) {
    shellBox_->setVisible(!shown);
    stop_->setVisible(shown);
    if (shown) {
        stop_->repaint();
    }
}

// Asked outside the event processing that took the close request in, so the
// question takes the user's answer like any dialog.
void ActionStrip::askToCloseIfWanted() {
    if (close_ != Close::Wanted || !busy()) {
        return;
    }
    close_ = Close::Asked;
    if (askToClose_ && askToClose_()) {
        close_ = Close::Agreed;
        work_->requestStop();
    } else {
        close_ = Close::NotWanted;  // the work goes on; a later request asks again
    }
}

void ActionStrip::endWork(QWidget* origin) {
    if (busy()) {
        return;  // an operation inside another: the outer one ends the work
    }
    setStopShown(false);
    restore();
    // Where the pointer was a moment ago: the control that started the work,
    // and the Shell box, which Stop covered.
    guard_->arm(origin);
    guard_->arm(shellBox_);
    // Agreed to, or asked for when no question could be asked any more.
    if (close_ == Close::Agreed || close_ == Close::Wanted) {
        QTimer::singleShot(0, window(), &QWidget::close);
    }
    close_ = Close::NotWanted;
}

}  // namespace folivar
