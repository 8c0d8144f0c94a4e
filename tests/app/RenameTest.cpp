#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <memory>

#include "WindowFixture.h"
#include "support/TempTree.h"

using folivar::fcFileName;
using folivar::fcPath;
using folivar::fcStatus;
using folivar::test::filesIn;
using folivar::test::readFile;
using folivar::test::TempTree;
using folivar::test::WindowFixture;

class RenameTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        tree_ = std::make_unique<TempTree>();
        root_ = QString::fromStdString(tree_->path());
        source_ = root_ + "/in";
        target_ = root_ + "/out";
        tree_->file("in/b.jpg", "bee");
        tree_->file("in/a.txt", "ay");
        tree_->dir("out");
    }

    // A scanned list, sorted by name so the numbering is known: a.txt, b.jpg.
    void scan(WindowFixture& w) {
        folivar::test::setListEntries(w.control<QListWidget>("PathListBox"), {source_});
        w.form().ScanButtonClick();
        w.form().ListViewColumnClick(fcFileName);
        QCOMPARE(w.listColumn(fcFileName), (QStringList{"a.txt", "b.jpg"}));
    }

    void renameNumbersTheScannedFilesInListOrder() {
        WindowFixture w;
        scan(w);
        w.form().setDuplicateMode(false);
        auto* bar = w.control<QProgressBar>("ProgressBar");
        QSignalSpy progress(bar, &QProgressBar::valueChanged);
        QSignalSpy shown(w.control<QTableView>("ListView")->model(),
                         &QAbstractItemModel::dataChanged);

        QTest::mouseClick(w.control<QPushButton>("RenameButton"), Qt::LeftButton);

        QCOMPARE(filesIn(source_), (QStringList{"pic0001.txt", "pic0002.jpg"}));
        QCOMPARE(readFile(source_ + "/pic0002.jpg"), QByteArray("bee"));
        QCOMPARE(w.listColumn(fcFileName), (QStringList{"pic0001.txt", "pic0002.jpg"}));
        QCOMPARE(w.listColumn(fcStatus), (QStringList{"Renamed", "Renamed"}));
        QCOMPARE(shown.count(), 1);  // the view reads the rows written back
        QCOMPARE(w.status(), QStringLiteral("2 files from 2 are renamed"));
        QCOMPARE(progress.count(), 2);
        QCOMPARE(progress[0][0].toInt(), 50);
        QCOMPARE(progress[1][0].toInt(), 100);
        QVERIFY(bar->isHidden());
        for (const char* name : {"ScanButton", "RenameButton", "FindDuplButton"}) {
            QVERIFY2(w.control<QWidget>(name)->isVisible(), name);
        }
        QCOMPARE(w.control<QPushButton>("FindDuplButton")->text(), QStringLiteral("FIND DUPL"));
        QVERIFY(w.desktop().calls.isEmpty());

        // A second run starts from the names written back: nothing left to do.
        w.form().RenameButtonClick();
        QCOMPARE(w.listColumn(fcStatus), (QStringList{"Invariably", "Invariably"}));
        QCOMPARE(w.status(), QStringLiteral("0 files from 2 are renamed"));
    }

    void aCounterEditWithoutANumberFallsBack() {
        WindowFixture w;
        scan(w);
        auto* capacity = w.control<QSpinBox>("CapacityEdit");
        auto* origin = w.control<QSpinBox>("CountStartEdit");
        capacity->setValue(2);
        origin->setValue(7);
        capacity->findChild<QLineEdit*>()->clear();
        origin->findChild<QLineEdit*>()->clear();
        w.form().RenameButtonClick();
        QCOMPARE(filesIn(source_), (QStringList{"pic0001.txt", "pic0002.jpg"}));
        QCOMPARE(capacity->text(), QStringLiteral("4"));
        QCOMPARE(origin->text(), QStringLiteral("1"));
    }

    void theCaptionFollowsTheOperation() {
        WindowFixture w;
        auto* box = w.control<QComboBox>("RenMovBox");
        auto* button = w.control<QPushButton>("RenameButton");
        for (const auto& [index, caption] :
             {std::pair{1, "MOVE"}, std::pair{2, "REN+MOV"}, std::pair{0, "RENAME"}}) {
            box->setCurrentIndex(index);
            QCOMPARE(button->text(), QString::fromLatin1(caption));
        }
    }

    void aCancelledPickerOrADeclinedMoveTouchesNothing() {
        for (const int operation : {1, 2}) {
            init();
            WindowFixture w;
            scan(w);
            w.control<QComboBox>("RenMovBox")->setCurrentIndex(operation);

            w.form().RenameButtonClick();  // no folder chosen: the picker is cancelled
            QCOMPARE(
                w.desktop().calls,
                QStringList{"browseForFolder: You must choose the folder for moving files []"});
            QCOMPARE(w.status(), QStringLiteral("2 files in list"));

            w.desktop().calls.clear();
            w.desktop().folderAnswers = {target_};
            w.desktop().yesNoAnswers = {false};
            w.form().RenameButtonClick();
            QCOMPARE(w.desktop().calls,
                     (QStringList{"browseForFolder: You must choose the folder for moving files []",
                                  "askYesNo: Files will move into " + target_}));
            QCOMPARE(w.status(), QStringLiteral("2 files in list"));
            QCOMPARE(filesIn(source_), (QStringList{"a.txt", "b.jpg"}));
            QCOMPARE(filesIn(target_), QStringList{});
            QCOMPARE(w.listColumn(fcStatus), (QStringList{"-", "-"}));
            QVERIFY(w.control<QWidget>("ScanButton")->isVisible());

            // The folder is kept: the next move only asks to confirm.
            w.desktop().calls.clear();
            w.desktop().yesNoAnswers = {true};
            w.form().RenameButtonClick();
            QCOMPARE(w.desktop().calls, QStringList{"askYesNo: Files will move into " + target_});
            QCOMPARE(w.status(), QStringLiteral("2 files from 2 are moved"));
            QCOMPARE(w.listColumn(fcPath), (QStringList{target_ + "/", target_ + "/"}));
            QCOMPARE(filesIn(source_), QStringList{});
            QCOMPARE(filesIn(target_).size(), 2);
        }
    }

    void putFilesIntoPreselectsOnlyAFolderThatExists() {
        WindowFixture w;
        scan(w);
        auto* pick = w.control<QPushButton>("PathButton5");
        w.desktop().folderAnswers = {target_};
        QTest::mouseClick(pick, Qt::LeftButton);
        QCOMPARE(w.status(), "2 files in list; You selected " + target_);
        QCOMPARE(pick->toolTip(), "Put files into " + target_);
        w.form().ScanButtonClick();  // each scan's summary names the target while one is set
        const QString scanned = w.status();
        QVERIFY2(scanned.endsWith("; Put files into " + target_), qPrintable(scanned));

        QTest::mouseClick(pick, Qt::LeftButton);  // cancelled
        QVERIFY(QDir(target_).removeRecursively());
        QTest::mouseClick(pick, Qt::LeftButton);  // cancelled: the folder is forgotten
        QCOMPARE(pick->toolTip(), QStringLiteral("Put files into"));
        QCOMPARE(w.desktop().calls,
                 (QStringList{"browseForFolder: Put files into... []",
                              "browseForFolder: Put files into... [" + target_ + "]",
                              "browseForFolder: Put files into... []"}));
        QCOMPARE(w.status(), scanned);
        w.form().ScanButtonClick();
        QVERIFY2(!w.status().contains("Put files into"), qPrintable(w.status()));

        w.desktop().calls.clear();
        w.control<QComboBox>("RenMovBox")->setCurrentIndex(1);
        w.form().RenameButtonClick();
        QCOMPARE(w.desktop().calls,
                 QStringList{"browseForFolder: You must choose the folder for moving files []"});
    }

    void forbiddenCharactersLeaveThePrefixOneByOne() {
        struct Case {
            QString typed;  // inserted into "pic" in one go
            QString prefix;
            int warnings;
            int at = 3;  // where: the end unless given
        };
        for (const Case& c :
             {Case{"*", "pic", 1}, Case{"<>", "pic", 2}, Case{"a\\/:", "pica", 3},
              Case{"*c", "picc", 1}, Case{"\u00e9", "pic\u00e9", 0}, Case{"/", "pic", 1, 1},
              Case{"x?y", "pxyic", 1, 1}, Case{"|", "pic", 1, 0}}) {
            WindowFixture w;
            auto* edit = w.control<QLineEdit>("PrefixEdit");
            edit->setText("pic");
            edit->setCursorPosition(c.at);
            edit->insert(c.typed);
            QCOMPARE(edit->text(), c.prefix);
            QStringList expected;
            for (int i = 0; i < c.warnings; ++i) {
                expected << QStringLiteral(
                    "warning: The file name should not contain the following symbols: "
                    "\\/:*?\"<>|");
            }
            QCOMPARE(w.desktop().calls, expected);
            if (c.warnings > 0) {
                QCOMPARE(edit->selectedText(), c.prefix);
            }
        }
    }

private:
    std::unique_ptr<TempTree> tree_;
    QString root_, source_, target_;
};

QTEST_MAIN(RenameTest)
#include "RenameTest.moc"
