#pragma once

#include <QStatusBar>
#include <string>

#include "filelist/ProgressSink.h"

namespace folivar {

// The status line, and the one way the program writes it. A text is painted
// at once, since the event loop runs only now and then while an operation
// works; a text the desktop has to tell about a file it was asked to open
// comes after the texts of the handler that asked. The quick commands report
// to it directly; a long operation writes its texts through it.
class StatusLine : public QStatusBar, public ProgressSink {
    Q_OBJECT

public:
    explicit StatusLine(QWidget* parent = nullptr);

    // The line's new text, painted now.
    void write(const QString& text);
    // ... once the handler running now has written its own.
    void writeLater(const QString& text);

    // The texts of an engine command. The quick commands move no bar.
    void status(const std::string& text) override;
    void percent(int) override {}
};

}  // namespace folivar
