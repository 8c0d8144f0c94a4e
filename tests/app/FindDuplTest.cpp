#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>

#include "FrameRecorder.h"
#include "WindowFixture.h"
#include "session/FileListSession.h"
#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

using folivar::fcFileName;
using folivar::fcGroup;
using folivar::fcSize;
using folivar::fcStatus;
using folivar::test::FaultyFileSystem;
using folivar::test::filesIn;
using folivar::test::Frame;
using folivar::test::FrameRecorder;
using folivar::test::TempTree;
using folivar::test::WindowFixture;

namespace {

// Clicked as code clicks it: a mouse click this soon after the caption
// changed would be taken for the second click of a double click, and ignored.
void clickFindDupl(WindowFixture& w) {
    w.control<QPushButton>("FindDuplButton")->click();
}

// After any operation, the three buttons are back and the strip is free.
void verifyRestored(const WindowFixture& w) {
    for (const char* name : {"ScanButton", "RenameButton", "FindDuplButton"}) {
        QVERIFY2(w.control<QWidget>(name)->isVisible(), name);
    }
    QVERIFY(w.control<QProgressBar>("ProgressBar")->isHidden());
    QVERIFY(w.control<QLabel>("Banner")->isHidden());
    auto* view = w.control<QTableView>("ListView");
    QCOMPARE(view->verticalHeader()->count(), view->model()->rowCount());
}

}  // namespace

class FindDuplTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        tree_ = std::make_unique<TempTree>();
        folder_ = QString::fromStdString(tree_->path()) + "/in";
    }

    // Files a.jpg, b.jpg, ... with these contents, in the folder to scan.
    void writeFiles(std::initializer_list<const char*> contents) {
        char name = 'a';
        for (const char* content : contents) {
            tree_->file(std::string("in/") + name++ + ".jpg", content);
        }
    }

    // Scans the folder and orders the rows by name, so the size sort's ties are known.
    void scan(WindowFixture& w) {
        folivar::test::setListEntries(w.control<QListWidget>("PathListBox"), {folder_});
        w.form().ScanButtonClick();
        w.form().ListViewColumnClick(fcFileName);
    }

    void aSearchMarksTheSetsAndTurnsTheButton() {
        writeFiles({"same", "diff", "same", "same", "xy"});
        WindowFixture w;
        scan(w);
        FrameRecorder recorder(w);
        QSignalSpy progress(w.control<QProgressBar>("ProgressBar"), &QProgressBar::valueChanged);

        clickFindDupl(w);

        QCOMPARE(w.listColumn(fcFileName), (QStringList{"a.jpg", "c.jpg", "d.jpg"}));
        QCOMPARE(w.listColumn(fcGroup), (QStringList{"1", "1", "1"}));
        QCOMPARE(w.listColumn(fcStatus), (QStringList{"Orig", "Dupl", "Dupl"}));
        QCOMPARE(recorder.statuses(),
                 (QStringList{"Please wait...", "40% are completed. Please wait...",
                              "100% are completed. Please wait...",
                              "2 duplicates are found. Please wait...",
                              "3 files in list; 2 duplicates are found"}));
        QCOMPARE(progress.count(), 2);
        QCOMPARE(progress[0][0].toInt(), 40);
        QCOMPARE(progress[1][0].toInt(), 100);
        // The buttons go before the first text; the list stops redrawing after it.
        const Frame first = recorder.frames.first();
        QVERIFY(!first.buttonsShown && !first.listSuspended && !first.progressShown);
        for (qsizetype i = 1; i < recorder.frames.size(); ++i) {
            const Frame& frame = recorder.frames[i];
            QVERIFY2(frame.progressShown && !frame.bannerShown && !frame.buttonsShown &&
                         frame.listSuspended,
                     qPrintable(frame.status));
        }
        QCOMPARE(recorder.frames[1].percent, 40);

        QCOMPARE(w.control<QPushButton>("FindDuplButton")->text(), QStringLiteral("DEL DUPL"));
        QVERIFY(!w.form().duplicateMode());
        QVERIFY(w.control<QPushButton>("RenameButton")->isEnabled());
        QVERIFY(w.control<QPushButton>("FindDuplButton")->isEnabled());
        QVERIFY(!recorder.listSuspended());
        verifyRestored(w);
        QVERIFY(w.desktop().calls.isEmpty());
        QCOMPARE(filesIn(folder_), (QStringList{"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}));
    }

    void aSearchThatFindsNothingEmptiesTheListAndKeepsFindDupl() {
        writeFiles({"one", "two", "three"});
        WindowFixture w;
        scan(w);

        clickFindDupl(w);

        QCOMPARE(w.listColumn(fcFileName), QStringList{});
        QCOMPARE(w.status(), QStringLiteral("0 files in list; 0 duplicates are found"));
        QVERIFY(!w.control<QPushButton>("RenameButton")->isEnabled());
        QVERIFY(!w.control<QPushButton>("FindDuplButton")->isEnabled());
        QCOMPARE(w.control<QPushButton>("FindDuplButton")->text(), QStringLiteral("FIND DUPL"));
        QVERIFY(w.form().duplicateMode());
        verifyRestored(w);
    }

    // DEL DUPL keeps its caption: each click deletes again what is not "Orig".
    void deletionShowsTheBannerAndRepeats() {
        writeFiles({"AAAA", "BBBB", "AAAA", "BBBB"});
        WindowFixture w;
        scan(w);
        clickFindDupl(w);
        QCOMPARE(w.listColumn(fcFileName), (QStringList{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
        QCOMPARE(w.listColumn(fcGroup), (QStringList{"1", "2", "1", "2"}));

        FaultyFileSystem files;
        FrameRecorder recorder(w);
        QList<Frame> atRemoval;
        files.beforeRemove([&](const std::string&) { atRemoval << recorder.now(); });
        QSignalSpy progress(w.control<QProgressBar>("ProgressBar"), &QProgressBar::valueChanged);

        clickFindDupl(w);

        QCOMPARE(filesIn(folder_), (QStringList{"a.jpg", "b.jpg"}));
        QCOMPARE(w.listColumn(fcFileName), (QStringList{"a.jpg", "b.jpg"}));
        QCOMPARE(w.listColumn(fcStatus), (QStringList{"Orig", "Orig"}));
        QCOMPARE(recorder.statuses(),
                 (QStringList{"Please wait...", "2 files in list; Deleted - 2"}));
        QCOMPARE(atRemoval.size(), 2);
        for (const Frame& frame : atRemoval + QList<Frame>{recorder.frames.last()}) {
            QVERIFY(frame.bannerShown && !frame.progressShown && !frame.buttonsShown &&
                    frame.listSuspended);
        }
        QCOMPARE(progress.count(), 0);
        QCOMPARE(w.control<QPushButton>("FindDuplButton")->text(), QStringLiteral("DEL DUPL"));
        QVERIFY(w.control<QPushButton>("RenameButton")->isEnabled());
        QVERIFY(w.control<QPushButton>("FindDuplButton")->isEnabled());
        verifyRestored(w);

        clickFindDupl(w);
        QCOMPARE(w.status(), QStringLiteral("2 files in list; Deleted - 0"));
        QCOMPARE(filesIn(folder_), (QStringList{"a.jpg", "b.jpg"}));
        QCOMPARE(atRemoval.size(), 2);
        QCOMPARE(w.control<QPushButton>("FindDuplButton")->text(), QStringLiteral("DEL DUPL"));
        verifyRestored(w);
        QVERIFY(w.desktop().calls.isEmpty());
    }

    // The rows that remain stay selected through the search and the deletion:
    // a SUM right after sums what the user chose.
    void theSelectionStaysOnTheRowsThatRemain() {
        writeFiles({"AAAA", "BB", "AAAA", "AAAA", "CCCC"});
        WindowFixture w;
        scan(w);
        w.select({true, true, false, true, true});  // a b d e

        clickFindDupl(w);
        QCOMPARE(w.listColumn(fcFileName), (QStringList{"a.jpg", "c.jpg", "d.jpg"}));
        QCOMPARE(w.selected(), (folivar::RowSelection{true, false, true}));

        clickFindDupl(w);
        QCOMPARE(w.listColumn(fcFileName), QStringList{"a.jpg"});
        QCOMPARE(w.selected(), folivar::RowSelection{true});
        w.form().SumButtonClick();
        QCOMPARE(w.desktop().calls,
                 QStringList{"information: 4 bytes in 1 files (average size - 4 bytes)"});
    }

    // After a scan or a rename run the next click searches again, deleting nothing.
    void scanAndRenameEndTheDeletionMode() {
        const QList<std::pair<const char*, std::function<void(WindowFixture&)>>> runs{
            {"scan", [this](WindowFixture& w) { scan(w); }},
            {"rename", [](WindowFixture& w) { w.form().RenameButtonClick(); }},
        };
        for (const auto& [name, run] : runs) {
            init();
            writeFiles({"AAAA", "AAAA"});
            WindowFixture w;
            scan(w);
            clickFindDupl(w);
            QCOMPARE(w.control<QPushButton>("FindDuplButton")->text(), QStringLiteral("DEL DUPL"));

            run(w);
            QVERIFY2(w.form().duplicateMode(), name);
            QCOMPARE(w.control<QPushButton>("FindDuplButton")->text(), QStringLiteral("FIND DUPL"));

            clickFindDupl(w);
            QCOMPARE(w.status(), QStringLiteral("2 files in list; 1 duplicates are found"));
            QCOMPARE(filesIn(folder_).size(), 2);
        }
    }

    void anEscapedErrorBringsTheButtonsBack() {
        struct Case {
            const char* name;
            bool deleting;
            QString error;
            QString caption;
        };
        const QList<Case> cases{
            {"search", false, "error: '4x' is not a valid integer value", "FIND DUPL"},
            {"deletion", true, "error: the disk went away", "DEL DUPL"},
        };
        for (const Case& c : cases) {
            init();
            writeFiles({"AAAA", "AAAA", "CCCC"});
            WindowFixture w;
            scan(w);
            FaultyFileSystem files;
            if (c.deleting) {
                clickFindDupl(w);
                files.beforeRemove(
                    [](const std::string&) { throw std::runtime_error("the disk went away"); });
            } else {
                w.form().session().setCell(1, fcSize, "4x");
            }
            const QStringList sizes = w.listColumn(fcSize);
            FrameRecorder recorder(w);

            clickFindDupl(w);

            QCOMPARE(w.desktop().calls, QStringList{c.error});
            QVERIFY2(!recorder.listSuspended(), c.name);
            verifyRestored(w);
            QCOMPARE(w.listColumn(fcSize), sizes);
            QCOMPARE(w.control<QPushButton>("FindDuplButton")->text(), c.caption);
            QVERIFY(w.control<QPushButton>("FindDuplButton")->isEnabled());
            QCOMPARE(filesIn(folder_).size(), 3);
        }
    }

private:
    std::unique_ptr<TempTree> tree_;
    QString folder_;
};

QTEST_MAIN(FindDuplTest)
#include "FindDuplTest.moc"
