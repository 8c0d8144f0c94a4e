// Stop: where it stands and when, that its click and Esc reach every long
// handler while other input is still dropped, the question when the window
// is closed meanwhile, and the guard against a double click acting twice.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyleHints>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "LongOperations.h"
#include "WindowFixture.h"
#include "app/LongWork.h"
#include "filelist/FileRow.h"

using folivar::LongWork;
using folivar::TForm1;
using folivar::test::filesIn;
using folivar::test::LongOperations;
using folivar::test::setListEntries;
using folivar::test::WindowFixture;

namespace {

// The desktop's double-click interval, as long as a test needs, for the life
// of the object.
class ScopedDoubleClickInterval {
public:
    explicit ScopedDoubleClickInterval(int ms)
        : before_(QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(ms);
    }
    ~ScopedDoubleClickInterval() {
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(before_);
    }
    ScopedDoubleClickInterval(const ScopedDoubleClickInterval&) = delete;
    ScopedDoubleClickInterval& operator=(const ScopedDoubleClickInterval&) = delete;

private:
    int before_;
};

// Longer than any test takes: a click "within the interval" on any machine.
constexpr int kLongInterval = 10 * 60 * 1000;

// A double click as the desktop delivers it: press, release, then the
// double click in place of the second press, and its release.
void doubleClick(QWidget* control, QPoint at = QPoint()) {
    QTest::mousePress(control, Qt::LeftButton, {}, at);
    QTest::mouseRelease(control, Qt::LeftButton, {}, at);
    QTest::mouseDClick(control, Qt::LeftButton, {}, at);
    QTest::mouseRelease(control, Qt::LeftButton, {}, at);
}

// A click as the desktop delivers it: to the window, at the control's place.
void clickThroughTheWindow(const WindowFixture& w, const char* control) {
    auto* target = w.control<QWidget>(control);
    QWidget* top = target->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                      target->mapTo(top, target->rect().center()));
}

QPushButton* stopButton(const WindowFixture& w) {
    return w.control<QPushButton>("StopButton");
}

}  // namespace

class StopTest : public QObject {
    Q_OBJECT

private slots:
    void init() { operations_ = std::make_unique<LongOperations>(); }

    void cleanup() { operations_.reset(); }

    // Stop stands where the Shell box is, and only while work runs.
    void stopIsShownOnlyWhileWorkRuns() {
        WindowFixture w;
        QPushButton* stop = stopButton(w);
        auto* shell = w.control<QCheckBox>("CheckView");
        QCOMPARE(stop->text(), QStringLiteral("Stop"));
        QVERIFY(stop->isHidden());
        QVERIFY(shell->isVisible());
        bool shownMeanwhile = false;
        bool shellMeanwhile = true;
        QTimer::singleShot(0, [&] {
            shownMeanwhile = stop->isVisible() && stop->isEnabled();
            shellMeanwhile = shell->isVisible();
        });
        operations_->scan(w);
        QVERIFY(shownMeanwhile);
        QVERIFY(!shellMeanwhile);
        QVERIFY(stop->isHidden());
        QVERIFY(shell->isVisible());
    }

    // A click on Stop, or Esc, while each long handler runs: it ends at its
    // first safe point and says so; a click elsewhere meanwhile is dropped.
    void stopOrEscEndsEveryLongHandler_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QString>("status");
        const QStringList texts{
            "Stopped - 0 files in list",
            "Stopped - 0 files from 4 are renamed",
            "Stopped - 0 files from 4 are moved",
            "Stopped - 4 files in list; no duplicates are marked",
            "Stopped - 3 files in list; Deleted - 0",
            "Stopped - 3 files in list; Shared - 0; Linked - 0; Remained - 0; Reclaimed - 0 bytes",
            "Stopped - 4 files in list; Deleted - 0",
            "Stopped - 0 files from 4 are restored",
            "Stopped - 4 files in list; no workbook is made",
            "Stopped - 4 files in list; the list is not sorted",
            "Stopped - 4 files in list; no file is renamed",
            "Stopped - 4 files in list; no preview is made",
        };
        const QStringList names = LongOperations::names();
        for (qsizetype i = 0; i < names.size(); ++i) {
            for (const bool byKey : {false, true}) {
                QTest::newRow(qPrintable(names[i] + (byKey ? ", Esc" : ", click")))
                    << names[i] << byKey << texts[i];
            }
        }
    }

    void stopOrEscEndsEveryLongHandler() {
        QFETCH(QString, operation);
        QFETCH(bool, byKey);
        QFETCH(QString, status);
        WindowFixture w;
        w.form().findChild<LongWork*>()->setInterval(0);  // every chance is taken
        operations_->scan(w);
        const std::function<void()> run = operations_->prepare(w, operation);
        const QStringList before = w.listColumn(folivar::fcFileName);
        const QStringList files = filesIn(operations_->folder());
        const QString caption = w.control<QPushButton>("FindDuplButton")->text();
        auto* paths = w.control<QListWidget>("PathListBox");

        QTimer::singleShot(0, [&] {
            clickThroughTheWindow(w, "PathButton2");  // "Clear"
            if (byKey) {
                QTest::keyClick(w.listView(), Qt::Key_Escape);
            } else {
                clickThroughTheWindow(w, "StopButton");
            }
        });
        run();

        QCOMPARE(w.status(), status);
        QCOMPARE(paths->count(), 1);
        QVERIFY(stopButton(w)->isHidden());
        QCOMPARE(filesIn(operations_->folder()), files);
        if (operation != "scan") {
            QCOMPARE(w.listColumn(folivar::fcFileName), before);
        }
        QCOMPARE(w.control<QPushButton>("FindDuplButton")->text(), caption);
        QVERIFY(w.desktop().calls.filter("error").isEmpty());
        QVERIFY(w.desktop().calls.filter("open").isEmpty());
        QVERIFY(w.form().findChild<QDialog*>("PreviewDialog") == nullptr);
    }

    // Closed while work runs, the window asks whether to stop it; yes stops
    // the work and then closes, no lets it run to its end.
    void closingWhileWorkRunsAsksWhetherToStop_data() {
        QTest::addColumn<bool>("answer");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    void closingWhileWorkRunsAsksWhetherToStop() {
        QFETCH(bool, answer);
        WindowFixture w;
        w.form().findChild<LongWork*>()->setInterval(0);
        operations_->scan(w);
        const std::function<void()> run = operations_->prepare(w, "rename");
        w.desktop().yesNoAnswers = {answer};
        bool closed = true;
        QTimer::singleShot(0, [&] { closed = w.form().close(); });

        run();

        QVERIFY(!closed);
        const QStringList asked = w.desktop().calls.filter("askYesNo");
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked[0].contains("Stop"), qPrintable(asked[0]));
        QCOMPARE(w.status().startsWith("Stopped - "), answer);
        QCoreApplication::processEvents();
        QCOMPARE(w.form().isVisible(), !answer);
    }

    // The second click of a double click comes after the first one's work
    // has ended: on FIND DUPL it would have deleted what the first one found,
    // on RENAME run the batch again, on the Shell box (where Stop stood)
    // enter shell mode. Each is ignored; click() by code never is.
    void theSecondClickOfADoubleClickIsIgnored() {
        const ScopedDoubleClickInterval interval(kLongInterval);
        WindowFixture w;
        operations_->scan(w);
        auto* findDupl = w.control<QPushButton>("FindDuplButton");
        doubleClick(findDupl);
        QCOMPARE(findDupl->text(), QStringLiteral("DEL DUPL"));
        QCOMPARE(filesIn(operations_->folder()).size(), 4);
        QTest::mouseClick(findDupl, Qt::LeftButton);
        QCOMPARE(filesIn(operations_->folder()).size(), 4);
        findDupl->click();  // by code
        QCOMPARE(filesIn(operations_->folder()).size(), 2);

        w.control<QLineEdit>("PrefixEdit")->setText("2024_");
        w.control<QComboBox>("FileStructureBox")->setCurrentIndex(4);  // prefix+oldname
        operations_->scan(w);
        const QStringList names = filesIn(operations_->folder());
        const auto prefixed = [&names](const QString& prefix) {
            QStringList out;
            for (const QString& name : names) {
                out << prefix + name;
            }
            return out;
        };
        auto* rename = w.control<QPushButton>("RenameButton");
        doubleClick(rename);
        QCOMPARE(filesIn(operations_->folder()), prefixed("2024_"));
        rename->click();
        QCOMPARE(filesIn(operations_->folder()), prefixed("2024_2024_"));

        auto* shell = w.control<QCheckBox>("CheckView");
        QTest::mouseClick(shell, Qt::LeftButton, {}, QPoint(6, shell->height() / 2));
        QVERIFY(!shell->isChecked());
        shell->click();
        QVERIFY(shell->isChecked());
    }

private:
    std::unique_ptr<LongOperations> operations_;
};

QTEST_MAIN(StopTest)
#include "StopTest.moc"
