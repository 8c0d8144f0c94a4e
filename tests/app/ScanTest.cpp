#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <memory>

#include "FrameRecorder.h"
#include "WindowFixture.h"
#include "search/EasyFileSearch.h"
#include "session/FileListSession.h"
#include "support/ScriptedClock.h"
#include "support/TempTree.h"

using folivar::test::FrameRecorder;
using folivar::test::listEntries;
using folivar::test::localTime;
using folivar::test::ScriptedClock;
using folivar::test::setListEntries;
using folivar::test::TempTree;
using folivar::test::WindowFixture;

class ScanTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        tree_ = std::make_unique<TempTree>();
        root_ = QString::fromStdString(tree_->path());
        tree_->file("Pics/Holiday.Photo.JPG", std::string(1234, 'x'));
        tree_->setTimes("Pics/Holiday.Photo.JPG", localTime(2004, 7, 9), localTime(2004, 7, 9));
        tree_->file("Pics/2004/README", "hello");
        tree_->setTimes("Pics/2004/README", localTime(2003, 12, 25, 8), localTime(2003, 12, 25, 8));
        tree_->dir("Pics/empty");
    }

    void scanFillsTheListFromThePrunedPathList() {
        WindowFixture w;
        auto* paths = w.control<QListWidget>("PathListBox");
        const QString pics = root_ + "/Pics";
        // A subfolder of an entry, a sibling that merely shares its text, a missing folder.
        tree_->file("Pictures/other.txt", "1");
        setListEntries(paths, {pics + "/2004", root_ + "/Pictures", pics, root_ + "/gone"});
        setListEntries(w.control<QListWidget>("ScanListBox1"), {"*"});  // "*.*" wants a dot

        QTest::mouseClick(w.control<QPushButton>("ScanButton"), Qt::LeftButton);

        QCOMPARE(listEntries(paths), (QStringList{root_ + "/Pictures", pics}));
        QCOMPARE(w.listColumn(0), (QStringList{"other.txt", "Holiday.Photo.JPG", "README"}));
        const QStringList photo{"Holiday.Photo.JPG", pics + "/", "1234", "JPG",
                                "9.7.2004",          "0",        "-"};
        const QStringList readme{"README", pics + "/2004/", "5", "", "25.12.2003", "0", "-"};
        for (int column = 0; column < 7; ++column) {
            QCOMPARE(w.listColumn(column).at(1), photo.at(column));
            QCOMPARE(w.listColumn(column).at(2), readme.at(column));
        }
        const QString status = w.status();
        QVERIFY2(QRegularExpression("^3 files in 3 folders\\. Time spent - \\d+ msec$")
                     .match(status)
                     .hasMatch(),
                 qPrintable(status));
        QVERIFY(w.control<QPushButton>("RenameButton")->isEnabled());
        QVERIFY(w.control<QPushButton>("FindDuplButton")->isEnabled());
        QVERIFY(w.desktop().calls.isEmpty());
        // The view has caught up with the rows: the bulk update is closed.
        QCOMPARE(w.control<QTableView>("ListView")->verticalHeader()->count(), 3);
    }

    void refusalsBeepAndFocusTheirEdit() {
        struct Case {
            QStringList paths, masks;
            QString status;
            const char* focus;
        };
        const QList<Case> cases{
            {{}, {"*.*"}, "You must enter a pathname!", "PathEdit"},
            {{root_ + "/Pics"}, {}, "You must enter a mask!", "ScanEdit1"},
        };
        for (const Case& c : cases) {
            WindowFixture w;
            // A list from an earlier scan stays, and so do the buttons.
            setListEntries(w.control<QListWidget>("PathListBox"), {root_ + "/Pics"});
            setListEntries(w.control<QListWidget>("ScanListBox1"), {"*"});
            QTest::mouseClick(w.control<QPushButton>("ScanButton"), Qt::LeftButton);
            QCOMPARE(w.listColumn(0).size(), 2);

            setListEntries(w.control<QListWidget>("PathListBox"), c.paths);
            setListEntries(w.control<QListWidget>("ScanListBox1"), c.masks);
            w.control<QWidget>("ScanButton")->setFocus();
            w.form().ScanButtonClick();
            QCOMPARE(w.status(), c.status);
            QCOMPARE(w.desktop().calls, QStringList{"beep"});
            QCOMPARE(w.form().focusWidget(), w.control<QWidget>(c.focus));
            QCOMPARE(w.listColumn(0).size(), 2);
            QVERIFY(w.control<QPushButton>("RenameButton")->isEnabled());
            QVERIFY(w.control<QPushButton>("FindDuplButton")->isEnabled());
        }
    }

    void buttonsFollowTheRowCount() {
        struct Case {
            const char* mask;
            int rows;
            bool rename, findDupl;
        };
        WindowFixture w;
        setListEntries(w.control<QListWidget>("PathListBox"), {root_ + "/Pics"});
        for (const Case& c : {Case{"*", 2, true, true}, Case{"*.jpg", 1, true, false},
                              Case{"*.png", 0, false, false}, Case{"*.*", 1, true, false}}) {
            setListEntries(w.control<QListWidget>("ScanListBox1"), {c.mask});
            w.form().ScanButtonClick();
            QCOMPARE(w.listColumn(0).size(), c.rows);
            QCOMPARE(w.control<QPushButton>("RenameButton")->isEnabled(), c.rename);
            QCOMPARE(w.control<QPushButton>("FindDuplButton")->isEnabled(), c.findDupl);
        }
    }

    void aVanishedFolderLeavesAnEmptyList() {
        WindowFixture w;
        setListEntries(w.control<QListWidget>("PathListBox"), {root_ + "/Pics"});
        w.form().ScanButtonClick();
        setListEntries(w.control<QListWidget>("PathListBox"), {root_ + "/gone"});
        w.form().ScanButtonClick();
        QCOMPARE(listEntries(w.control<QListWidget>("PathListBox")), QStringList{});
        QCOMPARE(w.listColumn(0), QStringList{});
        QCOMPARE(w.status(), QStringLiteral("0 files in 0 folders. Time spent - 0 msec"));
        QVERIFY(!w.control<QPushButton>("RenameButton")->isEnabled());
        QVERIFY(!w.control<QPushButton>("FindDuplButton")->isEnabled());
    }

    // The filter controls reach the search by position: "After" is the second
    // entry of its list but not of the search's kinds.
    void filterControlsChooseTheRows() {
        struct Case {
            const char* check;
            const char* combo;
            int index;
            QStringList names;
        };
        const QList<Case> cases{
            {"DateCheckBox", "DateComboBox2", 1, {"Holiday.Photo.JPG"}},  // After 1.1.2004
            {"DateCheckBox", "DateComboBox2", 2, {"README"}},             // Before
            {"DateCheckBox", "DateComboBox2", 3, {}},                     // Same day
            {"SizeCheckBox", "SizeComboBox", 0, {"README"}},              // <= 1000 bytes
            {"SizeCheckBox", "SizeComboBox", 1, {"Holiday.Photo.JPG"}},   // >= 1000 bytes
            {"ShortnameCheckBox", nullptr, 0, {"README"}},
        };
        for (const Case& c : cases) {
            WindowFixture w;
            setListEntries(w.control<QListWidget>("PathListBox"), {root_ + "/Pics"});
            setListEntries(w.control<QListWidget>("ScanListBox1"), {"*"});
            w.control<QDateEdit>("DateTimePicker1")->setDate(QDate(2004, 1, 1));
            w.control<QLineEdit>("SizeEdit")->setText("1000");
            w.control<QCheckBox>(c.check)->setChecked(true);
            if (c.combo != nullptr) {
                w.control<QComboBox>(c.combo)->setCurrentIndex(c.index);
            }
            w.form().ScanButtonClick();
            QCOMPARE(w.listColumn(0), c.names);
        }
    }

    void scanEndsTheDeletionMode() {
        WindowFixture w;
        w.form().setDuplicateMode(false);
        QCOMPARE(w.control<QPushButton>("FindDuplButton")->text(), QStringLiteral("DEL DUPL"));
        setListEntries(w.control<QListWidget>("PathListBox"), {root_ + "/Pics"});
        w.form().ScanButtonClick();
        QCOMPARE(w.control<QPushButton>("FindDuplButton")->text(), QStringLiteral("FIND DUPL"));
        QVERIFY(w.form().duplicateMode());
    }

    void aBadSizeTextKeepsTheOldRows() {
        WindowFixture w;
        auto* paths = w.control<QListWidget>("PathListBox");
        setListEntries(paths, {root_ + "/Pics"});
        w.form().ScanButtonClick();
        const QStringList before = w.listColumn(0);
        const QString status = w.status();

        for (const QString& text : {QString("12a"), QString(), QString("9223372036854775808")}) {
            w.desktop().calls.clear();
            setListEntries(paths, {root_ + "/Pics", root_ + "/Pics/2004"});
            w.control<QLineEdit>("SizeEdit")->setText(text);
            w.form().ScanButtonClick();
            QCOMPARE(w.desktop().calls,
                     QStringList{"error: '" + text + "' is not a valid integer value"});
            QCOMPARE(listEntries(paths), QStringList{root_ + "/Pics"});  // pruned all the same
            QCOMPARE(w.listColumn(0), before);
            QCOMPARE(w.status(), status);
        }
        // Sizes past 32 bits are whole numbers too.
        w.desktop().calls.clear();
        w.control<QLineEdit>("SizeEdit")->setText("4294967296");
        w.form().ScanButtonClick();
        QVERIFY(w.desktop().calls.isEmpty());
        QCOMPARE(w.listColumn(0), before);
    }

    void anInvalidMaskClosesTheBulkUpdate() {
        WindowFixture w;
        setListEntries(w.control<QListWidget>("PathListBox"), {root_ + "/Pics"});
        setListEntries(w.control<QListWidget>("ScanListBox1"), {"*"});
        w.form().ScanButtonClick();
        QCOMPARE(w.listColumn(0).size(), 2);

        setListEntries(w.control<QListWidget>("ScanListBox2"), {"[abc"});
        w.form().ScanButtonClick();
        QCOMPARE(w.desktop().calls, QStringList{"error: '[abc' is an invalid mask at (5)"});
        auto* view = w.control<QTableView>("ListView");
        QCOMPARE(view->verticalHeader()->count(), view->model()->rowCount());

        setListEntries(w.control<QListWidget>("ScanListBox2"), {});
        w.form().ScanButtonClick();
        QCOMPARE(w.listColumn(0).size(), 2);
        QCOMPARE(view->verticalHeader()->count(), 2);
    }

    // The event loop does not run during a scan: the folders entered are painted
    // by hand, but not more often than a few times a second.
    void theStatusLineIsPaintedWhileFoldersAreEntered() {
        WindowFixture w;
        setListEntries(w.control<QListWidget>("PathListBox"), {root_ + "/Pics"});
        setListEntries(w.control<QListWidget>("ScanListBox1"), {"*"});
        const QStringList folders{root_ + "/Pics", root_ + "/Pics/2004", root_ + "/Pics/empty"};
        {
            ScriptedClock slow;
            slow.stepTicks(1000);
            FrameRecorder recorder(w);
            w.form().ScanButtonClick();
            QStringList seen = recorder.statuses().filter(root_ + "/Pics");
            seen.removeDuplicates();
            seen.sort();
            QCOMPARE(seen, folders);
        }
        {
            const ScriptedClock still;
            FrameRecorder recorder(w);
            w.form().ScanButtonClick();
            QStringList seen = recorder.statuses().filter(root_ + "/Pics");
            seen.removeDuplicates();
            QCOMPARE(seen, QStringList{root_ + "/Pics"});
            QVERIFY(w.status().startsWith("2 files in 2 folders."));
        }
    }

    // Each filter control reaches the search component by the entry chosen,
    // not by its position: "After" is the second entry of its list but not
    // of the search's kinds.
    void eachFilterControlReachesTheSearch() {
        WindowFixture w;
        setListEntries(w.control<QListWidget>("PathListBox"), {root_ + "/Pics"});
        const folivar::TEasyFileSearch& search = w.form().session().search();
        const auto scanWith = [&](const char* combo, int index) {
            w.control<QComboBox>(combo)->setCurrentIndex(index);
            w.form().ScanButtonClick();
        };
        const QList<folivar::TDateFilterAccessKind> access{
            folivar::dfakAnyFiles, folivar::dfakCreatedFiles, folivar::dfakModifiedFiles,
            folivar::dfakOpenedFiles};
        const QList<folivar::TDateFilterKind> kinds{folivar::dfkBetween, folivar::dfkAfter,
                                                    folivar::dfkBefore, folivar::dfkSame};
        for (int index = 0; index < 4; ++index) {
            scanWith("DateComboBox1", index);
            QCOMPARE(search.DateFilterFileAccess(), access[index]);
            scanWith("DateComboBox2", index);
            QCOMPARE(search.DateFilterKind(), kinds[index]);
        }
        scanWith("SizeComboBox", 1);
        QCOMPARE(search.SizeFilterKind(), folivar::sfkBiggerOrEqualTo);
        scanWith("SizeComboBox", 0);
        QCOMPARE(search.SizeFilterKind(), folivar::sfkSmallerOrEqualTo);

        const QList<std::pair<const char*, folivar::TOptionsKind>> boxes{
            {"ScanCheckBox1", folivar::okIncludeSubfolder},
            {"ScanCheckBox2", folivar::okLookForAnyFile},
            {"ScanCheckBox3", folivar::okLookForReadOnlyFile},
            {"ScanCheckBox4", folivar::okLookForHiddenFile},
            {"ScanCheckBox5", folivar::okLookForSystemFile},
            {"ScanCheckBox6", folivar::okLookForArchiveFile}};
        for (const auto& [box, option] : boxes) {
            for (const auto& other : boxes) {
                w.control<QCheckBox>(other.first)->setChecked(other.first == box);
            }
            w.form().ScanButtonClick();
            QCOMPARE(search.SearchOptions(), folivar::TOptions{option});
        }
    }

private:
    std::unique_ptr<TempTree> tree_;
    QString root_;
};

QTEST_MAIN(ScanTest)
#include "ScanTest.moc"
