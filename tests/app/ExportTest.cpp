#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <memory>
#include <optional>

#include "WindowFixture.h"
#include "support/ScopedVariable.h"
#include "support/ScriptedClock.h"
#include "support/TempTree.h"

using folivar::test::readFile;
using folivar::test::ScopedVariable;
using folivar::test::TempTree;
using folivar::test::WindowFixture;
using folivar::test::writeFile;

namespace {

constexpr const char* kButtons[] = {"ScanButton", "RenameButton", "FindDuplButton"};

// The first value of every signal the spy caught, as numbers.
QList<int> values(const QSignalSpy& spy) {
    QList<int> found;
    for (const QList<QVariant>& arguments : spy) {
        found << arguments.at(0).toInt();
    }
    return found;
}

QStringList texts(const QSignalSpy& spy) {
    QStringList found;
    for (const QList<QVariant>& arguments : spy) {
        found << arguments.at(0).toString();
    }
    return found;
}

// The file and folder of a scripted "open: <file> [<folder>]" call.
struct Opened {
    QString file;
    QString folder;
};

std::optional<Opened> openedBy(const QString& call) {
    static const QRegularExpression pattern(QStringLiteral("^open: (.*) \\[(.*)\\]$"));
    const QRegularExpressionMatch match = pattern.match(call);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return Opened{match.captured(1), match.captured(2)};
}

}  // namespace

class ExportTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        tree_ = std::make_unique<TempTree>();
        files_ = QString::fromStdString(tree_->dir("files"));
        workbooks_ = QString::fromStdString(tree_->dir("tmp"));
        tmpdir_ = std::make_unique<ScopedVariable>("TMPDIR", workbooks_.toStdString());
    }

    void cleanup() {
        tmpdir_.reset();
        tree_.reset();
    }

    void progressFollowsTheRowsWithHalvesToEven_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("percents");
        QTest::newRow("3 rows") << 3 << QList<int>{33, 67, 100};
        QTest::newRow("8 rows") << 8 << QList<int>{12, 25, 38, 50, 62, 75, 88, 100};
    }

    void progressFollowsTheRowsWithHalvesToEven() {
        QFETCH(int, rows);
        QFETCH(QList<int>, percents);
        WindowFixture w;
        scan(w, rows);
        w.desktop().spreadsheetApplication = true;
        const QStringList names = w.listColumn(0);
        auto* bar = w.control<QProgressBar>("ProgressBar");
        bar->setValue(100);  // as an earlier operation left it
        QSignalSpy progress(bar, &QProgressBar::valueChanged);
        QSignalSpy messages(w.control<QStatusBar>("StatusBar"), &QStatusBar::messageChanged);
        QList<bool> barInPlaceOfButtons;
        connect(bar, &QProgressBar::valueChanged, this, [&] {
            bool inPlace = bar->isVisible();
            for (const char* name : kButtons) {
                inPlace = inPlace && w.control<QWidget>(name)->isHidden();
            }
            barInPlaceOfButtons << inPlace;
        });

        QTest::mouseClick(w.control<QPushButton>("ExportButton"), Qt::LeftButton);

        QCOMPARE(values(progress), percents);
        QCOMPARE(barInPlaceOfButtons, QList<bool>(percents.size(), true));
        QStringList expected{QStringLiteral("Please wait...")};
        for (const int percent : percents) {
            expected << QString::number(percent) +
                            QStringLiteral("% are completed. Please wait...");
        }
        expected << QString::number(rows) + QStringLiteral(" files in list");
        QCOMPARE(texts(messages), expected);
        QVERIFY(bar->isHidden());
        for (const char* name : kButtons) {
            QVERIFY2(w.control<QWidget>(name)->isVisible(), name);
        }
        QCOMPARE(w.listColumn(0), names);

        QCOMPARE(w.desktop().calls.size(), 2);
        QCOMPARE(w.desktop().calls[0], QStringLiteral("hasSpreadsheetApplication"));
        const std::optional<Opened> opened = openedBy(w.desktop().calls[1]);
        QVERIFY2(opened.has_value(), qPrintable(w.desktop().calls[1]));
        QVERIFY(opened->file.startsWith(workbooks_ + "/folivar-export-"));
        // Named for the time of the export, so that exports can be told apart.
        QCOMPARE(QFileInfo(opened->file).path(), opened->folder);
        static const QRegularExpression named(
            QStringLiteral("^FileList \\d{4}-\\d\\d-\\d\\d \\d\\d\\.\\d\\d\\.\\d\\d\\.xlsx$"));
        QVERIFY2(named.match(QFileInfo(opened->file).fileName()).hasMatch(),
                 qPrintable(opened->file));
        QVERIFY(readFile(opened->file).startsWith("PK"));  // a zip package, as .xlsx are
    }

    void withoutTheApplicationOnlyTheWarningShows() {
        WindowFixture w;
        scan(w, 3);
        const QString before = w.status();
        auto* bar = w.control<QProgressBar>("ProgressBar");
        QSignalSpy progress(bar, &QProgressBar::valueChanged);

        w.form().ExportButtonClick();

        QCOMPARE(w.desktop().calls,
                 (QStringList{"hasSpreadsheetApplication",
                              "warning: You need to first install Microsoft Excel!"}));
        QCOMPARE(w.status(), before);
        QCOMPARE(progress.count(), 0);
        QVERIFY(bar->isHidden());
        for (const char* name : kButtons) {
            QVERIFY2(w.control<QWidget>(name)->isVisible(), name);
        }
        QCOMPARE(w.listColumn(6), (QStringList{"-", "-", "-"}));
        QCOMPARE(QDir(workbooks_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{});
    }

    void anEmptyListDoesNothingAtAll() {
        WindowFixture w;
        w.desktop().spreadsheetApplication = true;
        w.control<QStatusBar>("StatusBar")->showMessage(QStringLiteral("as it was"));
        QSignalSpy progress(w.control<QProgressBar>("ProgressBar"), &QProgressBar::valueChanged);

        QTest::mouseClick(w.control<QPushButton>("ExportButton"), Qt::LeftButton);

        QCOMPARE(w.desktop().calls, QStringList{});
        QCOMPARE(w.status(), QStringLiteral("as it was"));
        QCOMPARE(progress.count(), 0);
        QCOMPARE(QDir(workbooks_).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{});
    }

    void twoExportsGiveTwoWorkbooksThatOutliveTheWindow() {
        WindowFixture w;
        scan(w, 2);
        w.desktop().spreadsheetApplication = true;

        w.form().ExportButtonClick();
        w.form().ExportButtonClick();

        QStringList files;
        for (const QString& call : w.desktop().calls) {
            if (const std::optional<Opened> opened = openedBy(call)) {
                files << opened->file;
            }
        }
        QCOMPARE(files.size(), 2);
        QVERIFY(files[0] != files[1]);
        const QByteArray first = readFile(files[0]);
        QVERIFY(first.startsWith("PK"));
        QVERIFY(readFile(files[1]).startsWith("PK"));

        w.form().close();  // FormClose: the user's workbooks stay where they were opened
        QCOMPARE(readFile(files[0]), first);
        QVERIFY(QFile::exists(files[1]));
        QVERIFY(!w.desktop().calls.join('\n').contains(QStringLiteral("error")));
    }

    void aWorkbookThatCannotBeWrittenIsAnErrorAndTheButtonsComeBack() {
        WindowFixture w;
        scan(w, 3);
        w.desktop().spreadsheetApplication = true;
        auto* bar = w.control<QProgressBar>("ProgressBar");
        folivar::test::ScriptedClock clock;  // the workbook's name is known beforehand
        clock.setLocalNow({.year = 2004, .month = 7, .day = 9});
        // Someone puts a file where the workbook is to go while the rows are written.
        QString planted;
        connect(bar, &QProgressBar::valueChanged, this, [&] {
            if (!planted.isEmpty()) {
                return;
            }
            const QStringList folders =
                QDir(workbooks_).entryList({QStringLiteral("folivar-export-*")}, QDir::Dirs);
            QCOMPARE(folders.size(), 1);
            planted = workbooks_ + "/" + folders[0] + "/FileList 2004-07-09 00.00.00.xlsx";
            writeFile(planted, "someone else's");
        });

        w.form().ExportButtonClick();

        QVERIFY(!planted.isEmpty());
        QCOMPARE(w.desktop().calls, (QStringList{"hasSpreadsheetApplication",
                                                 "error: Cannot write the workbook " + planted +
                                                     ": a file of that name already exists."}));
        QCOMPARE(readFile(planted), QByteArray("someone else's"));
        QCOMPARE(w.status(), QStringLiteral("100% are completed. Please wait..."));
        QVERIFY(bar->isHidden());
        for (const char* name : kButtons) {
            QVERIFY2(w.control<QWidget>(name)->isVisible(), name);
        }

        // The window goes on: the next export writes a workbook of its own.
        bar->disconnect(this);
        w.desktop().calls.clear();
        w.form().ExportButtonClick();
        QCOMPARE(w.desktop().calls.size(), 2);
        QVERIFY(openedBy(w.desktop().calls[1]).has_value());
        QCOMPARE(w.status(), QStringLiteral("3 files in list"));
    }

private:
    // A list of that many scanned files.
    void scan(WindowFixture& w, int rows) {
        for (int i = 0; i < rows; ++i) {
            tree_->file("files/f" + std::to_string(i) + ".txt", std::to_string(i));
        }
        folivar::test::setListEntries(w.control<QListWidget>("PathListBox"), {files_});
        w.form().ScanButtonClick();
        QCOMPARE(w.listColumn(0).size(), rows);
    }

    std::unique_ptr<TempTree> tree_;
    QString files_;
    QString workbooks_;
    std::unique_ptr<ScopedVariable> tmpdir_;
};

QTEST_MAIN(ExportTest)
#include "ExportTest.moc"
