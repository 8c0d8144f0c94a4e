// The window as a Linux desktop sees it: its icon, the About window, typing
// into the date fields, names by characters, and files that no program opens.
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <memory>
#include <utility>

#include "WindowFixture.h"
#include "app/DesktopIdentity.h"
#include "app/FittedPicture.h"
#include "app/QtDesktop.h"
#include "app/Unit2.h"
#include "support/ScopedVariable.h"
#include "support/TempTree.h"

using folivar::test::ScopedVariable;
using folivar::test::setListEntries;
using folivar::test::TempTree;
using folivar::test::WindowFixture;
using folivar::test::writeFile;

namespace {

// Points the XDG variables at folders of the test's own for its lifetime, so
// the desktop's programs are the ones the test puts there.
class ScopedDesktopFolders {
public:
    explicit ScopedDesktopFolders(const QString& root) : root_(root) {
        const std::pair<const char*, const char*> folders[] = {
            {"XDG_CONFIG_HOME", "/config"},
            {"XDG_CONFIG_DIRS", "/etc-xdg"},
            {"XDG_DATA_HOME", "/data"},
            {"XDG_DATA_DIRS", "/share"},
        };
        for (const auto& [name, folder] : folders) {
            saved_.push_back(std::make_unique<ScopedVariable>(
                name, QFile::encodeName(root + QString::fromLatin1(folder)).toStdString()));
        }
    }
    ScopedDesktopFolders(const ScopedDesktopFolders&) = delete;
    ScopedDesktopFolders& operator=(const ScopedDesktopFolders&) = delete;

    // A program for the MIME type in the user's own entries.
    void addProgram(const QString& id, const QString& mimeType) const {
        writeFile(root_ + "/data/applications/" + id,
                  "[Desktop Entry]\nType=Application\nName=P\nExec=/bin/sh -c true %f\nMimeType=" +
                      mimeType.toUtf8() + ";\n");
    }

private:
    QString root_;
    std::vector<std::unique_ptr<ScopedVariable>> saved_;
};

}  // namespace

class LinuxDesktopTest : public QObject {
    Q_OBJECT

private slots:
    void init() { temp_ = std::make_unique<TempTree>(); }

    void theWindowCarriesTheProgramsIcon() {
        WindowFixture w;
        const QIcon icon = w.form().windowIcon();
        for (const int size : {16, 32, 48, 256}) {
            QCOMPARE(icon.pixmap(size, size).size(), QSize(size, size));
        }
        QCOMPARE(folivar::desktopEntryName(), QStringLiteral("org.mirosel.folivar"));
    }

    void aboutIsACloseOnlyToolWindowWithItsWholeBanner() {
        WindowFixture w;
        folivar::TForm2 about(&w.form());
        const Qt::WindowFlags flags = about.windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        // Qt gives a window with a close button its system menu: that is all.
        for (const Qt::WindowType hint :
             {Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint,
              Qt::WindowContextHelpButtonHint}) {
            QVERIFY(!flags.testFlag(hint));
        }
        QCOMPARE(about.minimumSize(), about.maximumSize());
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto* picture = about.findChild<folivar::FittedPicture*>(QStringLiteral("Picture"));
        QVERIFY(picture != nullptr);
        QVERIFY(picture->pixmap().width() > 0);
        QVERIFY(picture->pixmap().width() <= picture->contentsRect().width());
        QVERIFY(picture->parentWidget()->rect().contains(picture->geometry()));
        about.close();
    }

    void aPictureNarrowerThanItsLabelIsScaledNotCut() {
        QPixmap banner(449, 25);
        banner.fill(Qt::darkBlue);
        folivar::FittedPicture picture(banner, nullptr);
        picture.show();
        picture.resize(200, 40);
        QCOMPARE(picture.pixmap().width(), 200);
        QVERIFY(picture.pixmap().height() < 25);
        picture.resize(600, 40);
        QCOMPARE(picture.pixmap().size(), QSize(449, 25));  // never larger than it is
    }

    // "Only include short filename": eight characters before the dot, however
    // many bytes they take.
    void shortNamesCountCharacters() {
        const QString root = QString::fromStdString(temp_->path());
        const QStringList names{"\u0444\u043e\u0442\u043e\u0433\u0440\u0430.jpg",  // 7 letters
                                "\u0444\u043e\u0442\u043e\u0433\u0440\u0430\u0444\u0438.jpg",
                                "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9.txt",
                                "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9.txt"};
        for (const QString& name : names) {
            writeFile(root + "/" + name, "x");
        }
        WindowFixture w;
        setListEntries(w.control<QListWidget>("PathListBox"), {root});
        w.control<QCheckBox>("ShortnameCheckBox")->setChecked(true);
        w.form().ScanButtonClick();
        QStringList found = w.listColumn(0);
        found.sort();
        QStringList expected{names[0], names[2]};
        expected.sort();
        QCOMPARE(found, expected);
    }

    // The click that brings the focus selects the day, and a date typed whole
    // is taken whole, also a day later in its month than today's.
    void typedDatesTakeTheDayTyped_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QDate>("date");
        const QDate today = QDate::currentDate();
        const QDate lastMonth = today.addDays(-today.day());  // the last day of last month
        const QDate firstOfMonth = today.addDays(1 - today.day());
        QTest::newRow("with separators") << lastMonth.toString("dd.MM.yyyy") << lastMonth;
        QTest::newRow("digits only") << lastMonth.toString("ddMMyyyy") << lastMonth;
        QTest::newRow("the day alone") << firstOfMonth.toString("dd") << firstOfMonth;
        QTest::newRow("a future date becomes today")
            << today.addYears(1).toString("dd.MM.yyyy") << today;
    }

    void typedDatesTakeTheDayTyped() {
        QFETCH(QString, keys);
        QFETCH(QDate, date);
        WindowFixture w;
        w.control<QCheckBox>("DateCheckBox")->setChecked(true);
        auto* field = w.control<QDateEdit>("DateTimePicker1");
        auto* text = field->findChild<QLineEdit*>();
        QVERIFY(text != nullptr);
        QSignalSpy changes(field, &QDateEdit::dateChanged);
        const QDate today = QDate::currentDate();

        // Into the year: the caret still goes to the day.
        QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(text->width() - 8, text->height() / 2));
        QVERIFY(field->hasFocus());
        QCOMPARE(field->currentSection(), QDateTimeEdit::DaySection);
        QCOMPARE(text->selectedText(), today.toString("dd"));

        QTest::keyClicks(field, keys);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(field->date(), date);
        QCOMPARE(field->maximumDate(), today);
        for (const QList<QVariant>& change : changes) {
            QVERIFY(change.at(0).toDate() <= today);  // never a date past today on its way
        }
        // The second date follows the first as ever.
        QCOMPARE(w.control<QDateEdit>("DateTimePicker2")->minimumDate(), date);
    }

    // Opening a file that no program opens says so in the status line.
    void aFileNoProgramOpensIsNamedInTheStatusLine() {
        const QString root = QString::fromStdString(temp_->path());
        const ScopedDesktopFolders folders(root + "/desktop");
        const QString file = root + "/files/data.folivar-unknown";
        writeFile(file, "x");
        WindowFixture w;
        w.form().setDesktop(std::make_unique<folivar::QtDesktop>(&w.form()));
        setListEntries(w.control<QListWidget>("PathListBox"), {root + "/files"});
        w.form().ScanButtonClick();
        auto* list = w.control<QTableView>("ListView");
        list->selectRow(0);

        w.form().ListViewDblClick();
        QTRY_COMPARE(w.status(), folivar::QtDesktop::noProgramText(file));

        // Open File(s) writes its summary first; the file is named after it.
        w.control<QStatusBar>("StatusBar")->clearMessage();
        w.form().OpenFiles1Click();
        QCOMPARE(w.status(), QStringLiteral("1 files in list"));
        QTRY_COMPARE(w.status(), folivar::QtDesktop::noProgramText(file));
    }

    // Whether a spreadsheet program is there is read from the desktop's own
    // files: no helper program is needed to tell.
    void theSpreadsheetProgramIsFoundWithoutHelpers() {
        const QString root = QString::fromStdString(temp_->path());
        const ScopedDesktopFolders folders(root + "/desktop");
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", root.toUtf8() + "/no-helpers-here");
        folivar::QtDesktop desktop(nullptr);
        const bool without = desktop.hasSpreadsheetApplication();
        folders.addProgram(
            "calc.desktop",
            QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"));
        const bool with = desktop.hasSpreadsheetApplication();
        qputenv("PATH", path);
        QVERIFY(!without);
        QVERIFY(with);
    }

private:
    std::unique_ptr<TempTree> temp_;
};

QTEST_MAIN(LinuxDesktopTest)
#include "LinuxDesktopTest.moc"
