#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "WindowFixture.h"
#include "app/FolderTree.h"
#include "app/ShellPane.h"
#include "app/Unit2.h"
#include "platform/FileSystem.h"
#include "support/FaultyFileSystem.h"

using folivar::FolderTree;
using folivar::ShellPane;
using folivar::TForm1;
using folivar::test::FaultyFileSystem;
using folivar::test::WindowFixture;

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void windowIsFixedAndCaptioned() {
        WindowFixture w;
        QCOMPARE(w.form().windowTitle(), QStringLiteral("Mirosel Folivar v3.0"));
        QCOMPARE(w.form().size(), QSize(747, 564));
        QCOMPARE(w.form().minimumSize(), w.form().maximumSize());
        QVERIFY(!(w.form().windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(w.form().windowFlags() & Qt::WindowMinimizeButtonHint);
    }

    void groupsStandAtTheirPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QRect>("place");
        QTest::newRow("PATH") << "PATH"
                              << "PATH" << QRect(0, 0, 473, 113);
        QTest::newRow("FileStructure") << "FileStructure"
                                       << "File Structure" << QRect(0, 112, 473, 49);
        QTest::newRow("ScanCriteria") << "ScanCriteria"
                                      << "Scan  Criteria" << QRect(0, 160, 409, 135);
        QTest::newRow("Others") << "Others"
                                << "" << QRect(416, 167, 57, 128);
        QTest::newRow("TreeView") << "TreeView"
                                  << "TreeView" << QRect(480, 0, 265, 295);
        QTest::newRow("FileList") << "FileList"
                                  << "File List" << QRect(0, 296, 521, 249);
        QTest::newRow("Filters") << "Filters"
                                 << " Filters " << QRect(528, 296, 217, 249);
    }

    void groupsStandAtTheirPlaces() {
        QFETCH(QString, name);
        QFETCH(QString, title);
        QFETCH(QRect, place);
        WindowFixture w;
        const auto* group = w.control<QGroupBox>(qPrintable(name));
        QCOMPARE(group->title(), title);
        QCOMPARE(group->geometry(), place);
        QCOMPARE(group->parentWidget()->mapTo(&w.form(), QPoint(0, 0)), QPoint(0, 0));
    }

    void statusBarTakesTheBottomEdge() {
        WindowFixture w;
        const auto* bar = w.control<QStatusBar>("StatusBar");
        QCOMPARE(bar->geometry().bottom(), w.form().height() - 1);
        QCOMPARE(bar->width(), w.form().width());
        QVERIFY(bar->geometry().top() >= 545);
        QCOMPARE(bar->currentMessage(), QString());
    }

    void checkBoxDefaults_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("checked");
        QTest::newRow("1") << "ScanCheckBox1"
                           << "Include Subfolders" << true;
        QTest::newRow("2") << "ScanCheckBox2"
                           << "Look For Any Files" << true;
        QTest::newRow("3") << "ScanCheckBox3"
                           << "Look for ReadOnly Files" << true;
        QTest::newRow("4") << "ScanCheckBox4"
                           << "Look for Hidden Files" << true;
        QTest::newRow("5") << "ScanCheckBox5"
                           << "Look For System Files" << true;
        QTest::newRow("6") << "ScanCheckBox6"
                           << "Look For Archive Files" << true;
        QTest::newRow("date") << "DateCheckBox"
                              << "Filter On Date" << false;
        QTest::newRow("size") << "SizeCheckBox"
                              << "Filter On Size" << false;
        QTest::newRow("short") << "ShortnameCheckBox"
                               << "Only include short filename" << false;
        QTest::newRow("shell") << "CheckView"
                               << "Shell" << false;
    }

    void checkBoxDefaults() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, checked);
        WindowFixture w;
        const auto* box = w.control<QCheckBox>(qPrintable(name));
        QCOMPARE(box->text(), caption);
        QCOMPARE(box->isChecked(), checked);
        QVERIFY(box->isEnabled());
    }

    void dropDownListDefaults_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("access") << "DateComboBox1"
                                << QStringList{"Any files", "Created files", "Modified files",
                                               "Opened files"}
                                << 2 << false;
        QTest::newRow("date kind")
            << "DateComboBox2" << QStringList{"Between", "After", "Before", "Same"} << 3 << false;
        QTest::newRow("size kind")
            << "SizeComboBox" << QStringList{"Smaller Or Equal To", "Bigger Or Equal To"} << 0
            << false;
        QTest::newRow("structure") << "FileStructureBox"
                                   << QStringList{"counter",
                                                  "counter+prefix",
                                                  "prefix+counter",
                                                  "counter+oldname",
                                                  "prefix+oldname",
                                                  "counter+prefix+oldname",
                                                  "prefix+counter+oldname",
                                                  "date+counter",
                                                  "prefix+date+counter",
                                                  "date+oldname"}
                                   << 2 << true;
        QTest::newRow("operation")
            << "RenMovBox" << QStringList{"rename", "move", "ren+mov"} << 0 << true;
    }

    void dropDownListDefaults() {
        QFETCH(QString, name);
        QFETCH(QStringList, items);
        QFETCH(int, selected);
        QFETCH(bool, enabled);
        WindowFixture w;
        const auto* box = w.control<QComboBox>(qPrintable(name));
        QStringList got;
        for (int i = 0; i < box->count(); ++i) {
            got << box->itemText(i);
        }
        QCOMPARE(got, items);
        QCOMPARE(box->currentIndex(), selected);
        QCOMPARE(box->isEnabled(), enabled);
        QVERIFY(!box->isEditable());
    }

    void otherDefaults() {
        WindowFixture w;
        QCOMPARE(w.control<QLineEdit>("PathEdit")->text(), QStringLiteral("/"));
        QCOMPARE(w.control<FolderTree>("ShellTreeView")->path(), QStringLiteral("/"));
        QCOMPARE(w.control<QListWidget>("PathListBox")->count(), 0);
        const auto* includes = w.control<QListWidget>("ScanListBox1");
        QCOMPARE(includes->count(), 1);
        QCOMPARE(includes->item(0)->text(), QStringLiteral("*.*"));
        QCOMPARE(w.control<QListWidget>("ScanListBox2")->count(), 0);
        for (const char* list : {"PathListBox", "ScanListBox1", "ScanListBox2"}) {
            QCOMPARE(w.control<QListWidget>(list)->selectionMode(),
                     QAbstractItemView::ExtendedSelection);
        }
        QCOMPARE(w.control<QLineEdit>("SizeEdit")->text(), QStringLiteral("0"));
        QVERIFY(!w.control<QLineEdit>("SizeEdit")->isEnabled());
        QCOMPARE(w.control<QLineEdit>("PrefixEdit")->text(), QStringLiteral("pic"));
        const auto* dateFormat = w.control<QLineEdit>("DateFormatEdit");
        QCOMPARE(dateFormat->text(), QStringLiteral("yyyy-MM-dd_HH.mm.ss_"));
        QCOMPARE(dateFormat->parentWidget(), w.control<QWidget>("FileStructure"));

        const auto* capacity = w.control<QSpinBox>("CapacityEdit");
        QCOMPARE(capacity->value(), 4);
        QCOMPARE(capacity->minimum(), 1);
        QCOMPARE(capacity->maximum(), 6);
        const auto* origin = w.control<QSpinBox>("CountStartEdit");
        QCOMPARE(origin->value(), 1);
        QCOMPARE(origin->minimum(), 1);
        QCOMPARE(origin->maximum(), 999999);

        for (const char* label :
             {"DateLabel1", "DateLabel2", "DateLabel3", "DateLabel4", "SizeLabel1", "SizeLabel2"}) {
            QVERIFY2(!w.control<QLabel>(label)->isEnabled(), label);
        }
    }

    void datePickersStartAtTodayAndStopThere() {
        WindowFixture w;
        auto* first = w.control<QDateEdit>("DateTimePicker1");
        auto* second = w.control<QDateEdit>("DateTimePicker2");
        const QDate today = QDate::currentDate();
        for (QDateEdit* picker : {first, second}) {
            QCOMPARE(picker->date(), today);
            QCOMPARE(picker->maximumDate(), today);
            QVERIFY(!picker->isEnabled());
            QVERIFY(picker->calendarPopup());
            picker->setDate(today.addDays(1));
            QCOMPARE(picker->date(), today);
        }
        QCOMPARE(second->minimumDate(), today);
        second->setDate(today.addDays(-1));
        QCOMPARE(second->date(), today);
    }

    void actionButtonsAndStrip() {
        WindowFixture w;
        struct Expected {
            const char* name;
            const char* caption;
            bool enabled;
        };
        for (const Expected& e :
             {Expected{"ScanButton", "SCAN", true}, Expected{"RenameButton", "RENAME", false},
              Expected{"FindDuplButton", "FIND DUPL", false}, Expected{"SumButton", "SUM", true}}) {
            const auto* button = w.control<QPushButton>(e.name);
            QCOMPARE(button->text(), QString::fromLatin1(e.caption));
            QCOMPARE(button->isEnabled(), e.enabled);
            QVERIFY(button->isVisible());
        }
        const auto* progress = w.control<QProgressBar>("ProgressBar");
        QVERIFY(progress->isHidden());
        QCOMPARE(progress->minimum(), 0);
        QCOMPARE(progress->maximum(), 100);
        QCOMPARE(progress->geometry(), QRect(8, 16, 449, 25));
        const auto* banner = w.control<QLabel>("Banner");
        QVERIFY(banner->isHidden());
        QCOMPARE(banner->geometry(), QRect(8, 16, 449, 25));
        QVERIFY(!banner->pixmap().isNull());
    }

    void hintsAreTooltips_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("hint");
        QTest::newRow("up") << "PathButton3"
                            << "Up";
        QTest::newRow("path") << "PathEdit"
                              << "For example /My pictures";
        QTest::newRow("add folder") << "PathButton4"
                                    << "Add folder";
        QTest::newRow("put into") << "PathButton5"
                                  << "Put files into";
        QTest::newRow("include") << "ScanEdit1"
                                 << "For example *.jpg";
        QTest::newRow("exclude") << "ScanEdit2"
                                 << "For example pic*.jpg";
        QTest::newRow("about") << "AboutButton"
                               << "About";
        QTest::newRow("export") << "ExportButton"
                                << "Export file list to Excel";
        QTest::newRow("sum") << "SumButton"
                             << "Sum up size of selected files";
        QTest::newRow("prefix") << "PrefixEdit"
                                << "Prefix (picture, image, track, sound etc.)";
        QTest::newRow("structure") << "FileStructureBox"
                                   << "Structure of a new file name";
        QTest::newRow("operation") << "RenMovBox"
                                   << "Operation";
        QTest::newRow("capacity") << "CapacityEdit"
                                  << "Digit capacity";
        QTest::newRow("origin") << "CountStartEdit"
                                << "Origin";
        QTest::newRow("date format") << "DateFormatEdit"
                                     << "Date taken as yyyy MM dd HH mm ss (a Qt date-time format)";
    }

    void hintsAreTooltips() {
        QFETCH(QString, name);
        QFETCH(QString, hint);
        WindowFixture w;
        QCOMPARE(w.control<QWidget>(qPrintable(name))->toolTip(), hint);
    }

    void fileListIsAReadOnlyReport() {
        WindowFixture w;
        const auto* list = w.control<QTableView>("ListView");
        QCOMPARE(list->geometry(), QRect(8, 48, 505, 193));
        QCOMPARE(w.control<ShellPane>("ShellListView")->geometry(), list->geometry());
        QVERIFY(w.control<ShellPane>("ShellListView")->isHidden());
        const QStringList captions{"FileName", "Path",  "Size",  "Type",
                                   "Modified", "Group", "Status"};
        const QList<int> widths{100, 200, 60, 35, 60, 30, 30};
        QCOMPARE(list->model()->columnCount(), captions.size());
        QCOMPARE(list->model()->rowCount(), 0);
        for (int column = 0; column < captions.size(); ++column) {
            QCOMPARE(list->model()->headerData(column, Qt::Horizontal).toString(),
                     captions[column]);
            QCOMPARE(list->columnWidth(column), widths[column]);
        }
        QCOMPARE(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(list->showGrid());
    }

    // Every caption, label, item and header text fits its control as placed.
    void noTextIsCutOff() {
        WindowFixture w;
        QStringList cut;
        for (const QLabel* label : w.form().findChildren<QLabel*>()) {
            if (!label->text().isEmpty() && !label->wordWrap() &&
                (label->fontMetrics().horizontalAdvance(label->text()) > label->width() ||
                 label->fontMetrics().height() > label->height())) {
                cut << label->objectName();
            }
        }
        for (const QCheckBox* box : w.form().findChildren<QCheckBox*>()) {
            if (box->sizeHint().width() > box->width()) {
                cut << box->objectName();
            }
        }
        for (const QPushButton* button : w.form().findChildren<QPushButton*>()) {
            // Two pixels of padding and a one-pixel border on each side.
            if (button->fontMetrics().horizontalAdvance(button->text()) + 6 > button->width()) {
                cut << button->objectName();
            }
        }
        for (const QGroupBox* group : w.form().findChildren<QGroupBox*>()) {
            if (group->fontMetrics().horizontalAdvance(group->title()) + 11 > group->width()) {
                cut << group->objectName();
            }
        }
        for (const QComboBox* box : w.form().findChildren<QComboBox*>()) {
            QStyleOptionComboBox option;
            option.initFrom(box);
            const int room = box->style()
                                 ->subControlRect(QStyle::CC_ComboBox, &option,
                                                  QStyle::SC_ComboBoxEditField, box)
                                 .width();
            for (int i = 0; i < box->count(); ++i) {
                if (box->fontMetrics().horizontalAdvance(box->itemText(i)) > room) {
                    cut << box->objectName() + QLatin1Char('/') + box->itemText(i);
                }
            }
        }
        for (const QAbstractSpinBox* box : w.form().findChildren<QAbstractSpinBox*>()) {
            if (box->sizeHint().width() > box->width()) {
                cut << box->objectName();
            }
        }
        const auto* list = w.control<QTableView>("ListView");
        const QFontMetrics header = list->horizontalHeader()->fontMetrics();
        for (int column = 0; column < list->model()->columnCount(); ++column) {
            const QString caption = list->model()->headerData(column, Qt::Horizontal).toString();
            if (header.horizontalAdvance(caption) + 3 > list->columnWidth(column)) {
                cut << caption;
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));
    }

    void withoutTheRootFolderThePathStartsEmpty() {
        FaultyFileSystem rootless;  // as on a machine without the start folder
        rootless.failStatus("/");
        WindowFixture w;
        QCOMPARE(w.control<QLineEdit>("PathEdit")->text(), QString());
        QCOMPARE(w.control<FolderTree>("ShellTreeView")->path(), QString());
        QVERIFY(w.desktop().calls.isEmpty());
    }

    void aboutWindowIsModal() {
        WindowFixture w;
        QString title;
        QSize size;
        QStringList texts;
        bool modal = false;
        QTimer::singleShot(0, [&] {
            QWidget* shown = QApplication::activeModalWidget();
            if (auto* about = qobject_cast<folivar::TForm2*>(shown)) {
                title = about->windowTitle();
                size = about->size();
                modal = about->isModal();
                for (const QLabel* label : about->findChildren<QLabel*>()) {
                    texts << label->text();
                }
                about->reject();
            } else if (shown != nullptr) {
                shown->close();
            }
        });
        QTest::mouseClick(w.control<QPushButton>("AboutButton"), Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("About"));
        QCOMPARE(size, QSize(481, 377));
        QVERIFY(modal);
        QVERIFY(texts.contains(QStringLiteral("Mirosel Folivar v3.0")));
    }

    void closingAsksNothing() {
        WindowFixture w;
        QVERIFY(w.form().close());
        QVERIFY(!w.form().isVisible());
        QVERIFY(w.desktop().calls.isEmpty());
    }

    void operationChosenNamesTheRenameButton() {
        WindowFixture w;
        auto* operation = w.control<QComboBox>("RenMovBox");
        const auto* rename = w.control<QPushButton>("RenameButton");
        const QStringList captions{"RENAME", "MOVE", "REN+MOV"};
        for (const int index : {1, 2, 0}) {
            operation->setCurrentIndex(index);
            QCOMPARE(rename->text(), captions[index]);
        }
    }
};

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
