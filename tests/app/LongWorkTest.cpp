#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "LongOperations.h"
#include "WindowFixture.h"
#include "app/LongWork.h"

using folivar::LongWork;
using folivar::TForm1;
using folivar::test::LongOperations;
using folivar::test::WindowFixture;

namespace {

constexpr QEvent::Type kPosted = QEvent::User;

// What reached the objects it watches, and itself, and whether a long
// operation was running at the time.
class EventLog : public QObject {
public:
    explicit EventLog(const LongWork* work = nullptr) : work_(work) {}

    void watch(QObject* object) { object->installEventFilter(this); }
    bool runningAt(QEvent::Type type) const { return seenRunning_.contains(type); }
    qsizetype count(QEvent::Type type) const { return seen_.count(type); }

    bool event(QEvent* event) override {
        note(event->type());
        return QObject::event(event);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        note(event->type());
        return QObject::eventFilter(watched, event);
    }

private:
    void note(QEvent::Type type) {
        seen_ << type;
        if (work_ != nullptr && work_->running()) {
            seenRunning_ << type;
        }
    }

    const LongWork* work_;
    QList<QEvent::Type> seen_;
    QList<QEvent::Type> seenRunning_;
};

void postKeyPress(QObject* receiver) {
    QCoreApplication::postEvent(receiver,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier));
}

}  // namespace

class LongWorkTest : public QObject {
    Q_OBJECT

private slots:
    void init() { operations_ = std::make_unique<LongOperations>(); }

    void cleanup() { operations_.reset(); }

    // keepAlive() processes events only while an operation runs and at most
    // once per interval; what is still queued when the operation ends goes
    // then, but the input among it is dropped, not delivered later.
    void theWindowIsKeptAliveEveryIntervalAndHeldInputIsDropped() {
        LongWork work;
        EventLog log(&work);
        QWidget target;
        log.watch(&target);

        // "Too soon" is an interval no machine gets through between two lines.
        constexpr int kHourMs = 3600 * 1000;
        QCoreApplication::postEvent(&log, new QEvent(kPosted));
        work.setInterval(0);
        work.keepAlive();  // no operation runs
        QCOMPARE(log.count(kPosted), 0);
        {
            const LongWork::Running running(work);
            work.setInterval(kHourMs);
            work.keepAlive();  // less than the interval since the start
            QCOMPARE(log.count(kPosted), 0);
            work.setInterval(LongWork::kAliveIntervalMs);
            QTest::qSleep(LongWork::kAliveIntervalMs + 10);
            work.keepAlive();
            QCOMPARE(log.count(kPosted), 1);
            QCoreApplication::postEvent(&log, new QEvent(kPosted));
            work.setInterval(kHourMs);
            work.keepAlive();  // again too soon
            QCOMPARE(log.count(kPosted), 1);
            postKeyPress(&target);
        }
        QVERIFY(log.runningAt(kPosted));
        QCOMPARE(log.count(kPosted), 2);  // the operation's end took it in
        QCoreApplication::processEvents();
        QCOMPARE(log.count(QEvent::KeyPress), 0);
        QVERIFY(!work.running());
    }

    // Each long operation of the window: meanwhile timers fire, posted events
    // are handled and the window repaints, while a key press posted to the
    // list reaches nothing, a close request is refused and handlers reached by
    // a timer or a queued call start nothing, not even afterwards.
    void duringEveryLongOperationTheWindowAnswersButTakesNoInput_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("listHeld");  // the list keeps its picture while rows change
        const QStringList held{"scan", "find dupl", "del dupl", "delete files", "sort by date"};
        for (const QString& operation : LongOperations::names()) {
            QTest::newRow(qPrintable(operation)) << operation << held.contains(operation);
        }
    }

    void duringEveryLongOperationTheWindowAnswersButTakesNoInput() {
        QFETCH(QString, operation);
        QFETCH(bool, listHeld);
        WindowFixture w;
        TForm1& form = w.form();
        auto* work = form.findChild<LongWork*>();
        QVERIFY(work != nullptr);
        work->setInterval(0);  // every chance is taken
        operations_->scan(w);
        QCOMPARE(w.listColumn(0).size(), 4);
        const std::function<void()> run = operations_->prepare(w, operation);

        EventLog log(work);
        log.watch(w.listView());
        QWidget* others = w.control<QWidget>("Others");
        log.watch(others);
        bool timerRunning = false;
        bool listStill = false;
        bool closed = true;
        QTimer::singleShot(0, [&] {
            timerRunning = work->running();
            listStill = !w.listView()->viewport()->updatesEnabled();
            closed = form.close();
            others->update();  // painted while the operation goes on
        });
        QCoreApplication::postEvent(&log, new QEvent(kPosted));
        postKeyPress(w.listView());
        QMetaObject::invokeMethod(&form, &TForm1::ScanButton4Click, Qt::QueuedConnection);
        QTimer::singleShot(0, &form, &TForm1::ScanButton2Click);

        run();

        QVERIFY(timerRunning);
        QVERIFY(log.runningAt(kPosted));
        QVERIFY(log.runningAt(QEvent::Paint));
        QCOMPARE(listStill, listHeld);
        QVERIFY(!closed);
        QVERIFY(form.isVisible());
        QVERIFY(!work->running());
        QCoreApplication::processEvents();
        QCOMPARE(log.count(QEvent::KeyPress), 0);
        QCOMPARE(w.control<QListWidget>("ScanListBox1")->count(), 1);
        QCOMPARE(w.control<QListWidget>("ScanListBox2")->count(), 1);
        QVERIFY(w.desktop().calls.filter("error").isEmpty());

        // Once the work is over, the window closes when asked.
        QVERIFY(form.close());
    }

private:
    std::unique_ptr<LongOperations> operations_;
};

QTEST_MAIN(LongWorkTest)
#include "LongWorkTest.moc"
