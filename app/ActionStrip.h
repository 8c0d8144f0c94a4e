#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

#include "app/LongOperation.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace folivar {

class ClickGuard;
class LongWork;
class StatusLine;
class StyledButton;
struct ActionButtons;

// The strip at the top of the file list, and the one home of long work in
// the window. It holds SCAN, RENAME, FIND DUPL and LINK DUPL, the Shell box, the
// progress bar and the banner that take the buttons' place, and Stop, which
// stands in the Shell box's place while long work runs. Every long handler
// takes one LongOperation from it for the length of its work; the strip
// keeps the window alive meanwhile, drops the user's input but Stop and
// Esc, and asks whether to stop when the window is to close. A caption that
// changes and work that ends arm the click guard, so a double click never
// acts twice.
class ActionStrip : public QWidget {
    Q_OBJECT

public:
    ActionStrip(StatusLine& statusLine, QWidget* parent = nullptr);
    ~ActionStrip() override;

    StyledButton* scanButton() const { return buttons_[0]; }
    StyledButton* renameButton() const { return buttons_[1]; }
    StyledButton* findDuplButton() const { return buttons_[2]; }
    StyledButton* linkDuplButton() const { return linkDupl_; }
    QCheckBox* shellBox() const { return shellBox_; }

    // Captions that change under the pointer.
    void setRenameCaption(const QString& caption);
    void setFindDuplCaption(const QString& caption);
    // LINK DUPL shares FIND DUPL's place while that reads "DEL DUPL".
    void setLinkDuplShown(bool shown);
    // What an operation did to the enabled state of RENAME and FIND DUPL.
    void apply(const ActionButtons& buttons);
    // In shell mode the banner stands in the buttons' place.
    void setShellMode(bool on);

    // The long work running now, from begin to end; origin: the control
    // whose click started it (its clicks are ignored for a moment after).
    LongOperation begin(LongOperation::Strip look, QWidget* origin);
    bool busy() const;

    // The window is asked to close while work runs: the question is asked at
    // the work's next step, through ask (true: stop and close).
    void setCloseQuestion(std::function<bool()> ask);
    void requestClose();

private:
    friend class LongOperation;

    void hideButtons();
    void showBar(bool fromZero);
    void showBanner();
    // The strip as it is between operations.
    void restore();
    void setStopShown(bool shown);
    void askToCloseIfWanted();
    void endWork(QWidget* origin);

    StatusLine& statusLine_;
    std::array<StyledButton*, 3> buttons_{};
    StyledButton* linkDupl_ = nullptr;
    bool linkDuplShown_ = false;
    QCheckBox* shellBox_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QLabel* banner_ = nullptr;
    StyledButton* stop_ = nullptr;
    LongWork* work_ = nullptr;
    ClickGuard* guard_ = nullptr;
    bool shellMode_ = false;
    std::function<bool()> askToClose_;
    enum class Close : std::uint8_t { NotWanted, Wanted, Asked, Agreed } close_ = Close::NotWanted;
};

}  // namespace folivar
