#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QPointer>

class QAbstractButton;

namespace folivar {

// A long operation runs on the event loop's thread, so the loop waits for it.
// While one runs, keepAlive() lets the window repaint and answer the desktop
// (its pings, a close request) every little while, but takes no input: what
// the user types or clicks meanwhile is dropped, also what is still queued
// when the operation ends, so no click made while busy starts anything
// afterwards. Only two things get through, and both ask the operation to
// stop: a click on the stop button and the Esc key. Whatever else runs
// meanwhile (a timer, a queued call) finds running() true, and the window's
// handlers then start nothing.
class LongWork : public QObject {
    Q_OBJECT

public:
    // How long the window may go without repainting and answering.
    static constexpr int kAliveIntervalMs = 50;

    explicit LongWork(QObject* parent = nullptr);

    // Marks an operation's run, from its construction to its end.
    class Running {
    public:
        explicit Running(LongWork& work);
        ~Running();
        Running(const Running&) = delete;
        Running& operator=(const Running&) = delete;

    private:
        LongWork& work_;
    };

    bool running() const { return depth_ > 0; }

    // The button whose clicks get through while an operation runs.
    void setStopButton(QAbstractButton* button);

    // The user asked the operation running now to stop (a new one starts
    // without that wish).
    void requestStop();
    bool stopRequested() const { return stopRequested_; }

    // How often keepAlive() processes events: kAliveIntervalMs unless set
    // (0: at every call).
    void setInterval(int ms) { intervalMs_ = ms; }

    // Processes what waits but input, unless it did less than the interval
    // ago or no operation runs.
    void keepAlive();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void begin();
    void end();
    // Processes events with the user's input dropped.
    void process(QEventLoop::ProcessEventsFlags flags, int maxMs);
    // The input is a click on the stop button, or its way there.
    bool forStopButton(QObject* watched, QEvent* event) const;

    int intervalMs_ = kAliveIntervalMs;
    int depth_ = 0;
    bool processing_ = false;
    bool stopRequested_ = false;
    QElapsedTimer sinceAlive_;
    QPointer<QAbstractButton> stopButton_;
};

}  // namespace folivar
