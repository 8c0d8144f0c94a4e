#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace folivar::test {

class WindowFixture;

// What the window showed at one paint of the status line.
struct Frame {
    QString status;
    bool progressShown;
    int percent;
    bool bannerShown;
    bool buttonsShown;   // any of SCAN, RENAME and FIND DUPL
    bool listSuspended;  // the list's model between the start and the end of a reset
};

// Records a frame each time the status line is painted. The event loop does
// not run while an operation works, so these are the frames the user sees.
class FrameRecorder : public QObject {
public:
    explicit FrameRecorder(WindowFixture& w);

    QList<Frame> frames;

    QStringList statuses() const;
    Frame now() const;
    bool listSuspended() const { return resets_ > 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowFixture& w_;
    int resets_ = 0;
};

}  // namespace folivar::test
