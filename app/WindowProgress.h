#pragma once

#include <QString>
#include <string>

#include "filelist/ProgressSink.h"

class QProgressBar;
class QStatusBar;

namespace folivar {

class BusyStrip;
class LongWork;

// The one place that writes the status line and moves the progress bar: what
// an operation reports, painted at once, since the event loop runs only now
// and then while it works; and the one place that keeps the window alive
// meanwhile. An export says itself when the bar is to stand in the strip.
class WindowProgress : public ProgressSink {
public:
    WindowProgress(QStatusBar* statusBar, QProgressBar* bar, BusyStrip* strip = nullptr,
                   LongWork* work = nullptr);

    void status(const std::string& text) override;
    void percent(int percent) override;
    void progressShown(bool shown) override;
    void working() override;

    // A text of the window's own.
    void show(const QString& text);

private:
    QStatusBar* statusBar_;
    QProgressBar* bar_;
    BusyStrip* strip_;
    LongWork* work_;
};

}  // namespace folivar
