#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "WindowFixture.h"
#include "app/LongWork.h"
#include "support/ScopedVariable.h"
#include "support/TempTree.h"

using folivar::LongWork;
using folivar::TForm1;
using folivar::test::ScopedVariable;
using folivar::test::setListEntries;
using folivar::test::TempTree;
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
    void init() {
        tree_ = std::make_unique<TempTree>();
        folder_ = QString::fromStdString(tree_->dir("in"));
        target_ = QString::fromStdString(tree_->dir("out"));
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) {
            tree_->file(std::string("in/") + name, name[0] == 'd' ? "other" : "same");
        }
        tmpdir_ = std::make_unique<ScopedVariable>("TMPDIR", tree_->dir("tmp"));  // the export's
    }

    void cleanup() {
        tmpdir_.reset();
        tree_.reset();
    }

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
        QTest::newRow("scan") << "scan" << true;
        QTest::newRow("rename") << "rename" << false;
        QTest::newRow("move") << "move" << false;
        QTest::newRow("find dupl") << "find dupl" << true;
        QTest::newRow("del dupl") << "del dupl" << true;
        QTest::newRow("delete files") << "delete files" << true;
        QTest::newRow("export") << "export" << false;
        QTest::newRow("undo") << "undo" << false;
    }

    void duringEveryLongOperationTheWindowAnswersButTakesNoInput() {
        QFETCH(QString, operation);
        QFETCH(bool, listHeld);
        WindowFixture w;
        TForm1& form = w.form();
        auto* work = form.findChild<LongWork*>();
        QVERIFY(work != nullptr);
        work->setInterval(0);  // every chance is taken
        setListEntries(w.control<QListWidget>("PathListBox"), {folder_});
        setListEntries(w.control<QListWidget>("ScanListBox2"), {"*.tmp"});
        form.ScanButtonClick();
        QCOMPARE(w.listColumn(0).size(), 4);
        const std::function<void()> run = prepare(w, operation);

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
    // Makes ready for the operation and returns what runs it.
    std::function<void()> prepare(WindowFixture& w, const QString& operation) {
        TForm1& form = w.form();
        if (operation == "scan") {
            return [&form] { form.ScanButtonClick(); };
        }
        if (operation == "rename") {
            return [&form] { form.RenameButtonClick(); };
        }
        if (operation == "move") {
            w.control<QComboBox>("RenMovBox")->setCurrentIndex(1);
            w.desktop().folderAnswers = {target_};
            w.desktop().yesNoAnswers = {true};
            return [&form] { form.RenameButtonClick(); };
        }
        if (operation == "find dupl") {
            return [&form] { form.FindDuplButtonClick(); };
        }
        if (operation == "del dupl") {
            form.FindDuplButtonClick();
            return [&form] { form.FindDuplButtonClick(); };
        }
        if (operation == "delete files") {
            w.select(folivar::RowSelection(4, true));
            return [&form] { form.DeleteFiles1Click(); };
        }
        if (operation == "undo") {
            form.RenameButtonClick();
            return [&form] { form.UndoRename1Click(); };
        }
        w.desktop().spreadsheetApplication = true;
        return [&form] { form.ExportButtonClick(); };
    }

    std::unique_ptr<TempTree> tree_;
    QString folder_;
    QString target_;
    std::unique_ptr<ScopedVariable> tmpdir_;
};

QTEST_MAIN(LongWorkTest)
#include "LongWorkTest.moc"
