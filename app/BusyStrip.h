#pragma once

#include <array>

class QLabel;
class QProgressBar;
class QWidget;

namespace folivar {

// The strip where SCAN, RENAME and FIND DUPL stand. While a long operation
// runs, the progress bar or the banner takes their place; whatever happens,
// the buttons come back when the strip goes. The event loop runs only now
// and then meanwhile, so each change is painted at once.
class BusyStrip {
public:
    BusyStrip(std::array<QWidget*, 3> buttons, QProgressBar* bar, QLabel* banner);
    ~BusyStrip();
    BusyStrip(const BusyStrip&) = delete;
    BusyStrip& operator=(const BusyStrip&) = delete;

    // The three buttons go.
    void hideButtons();
    // The progress bar takes their place, at 0 when asked, else where the last
    // operation left it.
    void showProgress(bool fromZero);
    // The banner takes their place.
    void showBanner();
    // The bar and the banner go and the buttons come back.
    void release();

private:
    std::array<QWidget*, 3> buttons_;
    QProgressBar* bar_;
    QLabel* banner_;
    bool busy_ = false;
};

}  // namespace folivar
