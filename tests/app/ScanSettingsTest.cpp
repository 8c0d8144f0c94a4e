#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "WindowFixture.h"
#include "app/FolderTree.h"
#include "support/TempTree.h"

using folivar::FolderTree;
using folivar::test::listEntries;
using folivar::test::TempTree;
using folivar::test::WindowFixture;

namespace {

void typeInto(QLineEdit* edit, const QString& text) {
    edit->clear();
    QTest::keyClicks(edit, text);
}

// Clicks a check box on its box, where a user clicks it.
void toggle(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

}  // namespace

class ScanSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        tree_ = std::make_unique<TempTree>();
        root_ = QString::fromStdString(tree_->path());
        tree_->dir("Music/Rock");
    }

    void enterAddsTheFolderOnce() {
        WindowFixture w;
        auto* edit = w.control<QLineEdit>("PathEdit");
        const auto* list = w.control<QListWidget>("PathListBox");
        typeInto(edit, root_ + QStringLiteral("/Music"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(listEntries(list), QStringList{root_ + QStringLiteral("/Music")});
        QCOMPARE(edit->text(), QString());
        QCOMPARE(w.control<FolderTree>("ShellTreeView")->path(), root_ + QStringLiteral("/Music"));

        QTest::keyClick(edit, Qt::Key_Enter);
        QCOMPARE(list->count(), 1);
        QVERIFY(w.desktop().calls.isEmpty());
    }

    // The entry carries the tree's text when the selection moved, the typed
    // text when the tree had that folder selected already.
    void addingTheSameFolderTwiceGivesTwoEntries() {
        WindowFixture w;
        auto* edit = w.control<QLineEdit>("PathEdit");
        auto* add = w.control<QPushButton>("PathButton1");
        const QString typed = root_ + QStringLiteral("/Music/");
        typeInto(edit, typed);
        QTest::mouseClick(add, Qt::LeftButton);
        typeInto(edit, typed);
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(listEntries(w.control<QListWidget>("PathListBox")),
                 (QStringList{root_ + QStringLiteral("/Music"), typed}));
    }

    void missingFolderIsIgnored_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("missing") << QStringLiteral("/no/such/folder/here");
        QTest::newRow("a file") << QStringLiteral("FILE");
        QTest::newRow("empty") << QString();
    }

    void missingFolderIsIgnored() {
        QFETCH(QString, text);
        const QString file = QString::fromStdString(tree_->file("file.txt"));
        if (text == QStringLiteral("FILE")) {
            text = file;
        }
        WindowFixture w;
        auto* edit = w.control<QLineEdit>("PathEdit");
        typeInto(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::mouseClick(w.control<QPushButton>("PathButton1"), Qt::LeftButton);
        QTest::mouseClick(w.control<QPushButton>("PathButton3"), Qt::LeftButton);
        QCOMPARE(edit->text(), text);
        QCOMPARE(w.control<QListWidget>("PathListBox")->count(), 0);
        QCOMPARE(w.control<FolderTree>("ShellTreeView")->path(), QStringLiteral("/"));
        QVERIFY(w.desktop().calls.isEmpty());
    }

    void upGoesToTheParentFolder_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::newRow("root stays") << QStringLiteral("/") << QStringLiteral("/");
        QTest::newRow("two levels") << QStringLiteral("@/Music/Rock") << QStringLiteral("@/Music");
        QTest::newRow("final slash") << QStringLiteral("@/Music/") << QStringLiteral("@/Music");
        QTest::newRow("one level") << QStringLiteral("@") << QStringLiteral("PARENT");
    }

    void upGoesToTheParentFolder() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        from.replace(QLatin1Char('@'), root_);
        to.replace(QLatin1Char('@'), root_);
        if (to == QStringLiteral("PARENT")) {
            to = QFileInfo(root_).path();
        }
        WindowFixture w;
        auto* edit = w.control<QLineEdit>("PathEdit");
        typeInto(edit, from);
        QTest::mouseClick(w.control<QPushButton>("PathButton3"), Qt::LeftButton);
        QCOMPARE(edit->text(), to);
        QCOMPARE(w.control<FolderTree>("ShellTreeView")->path(), to);
        QCOMPARE(w.control<QListWidget>("PathListBox")->count(), 0);
    }

    void folderDialogFillsTheEditOnly() {
        WindowFixture w;
        w.desktop().folderAnswers.push_back(root_ + QStringLiteral("/Music"));
        w.desktop().folderAnswers.push_back(QString());
        auto* edit = w.control<QLineEdit>("PathEdit");
        auto* browse = w.control<QPushButton>("PathButton4");

        QTest::mouseClick(browse, Qt::LeftButton);
        QCOMPARE(w.desktop().calls,
                 QStringList{QStringLiteral("browseForFolder: Add folder... []")});
        QCOMPARE(edit->text(), root_ + QStringLiteral("/Music"));
        QCOMPARE(w.control<FolderTree>("ShellTreeView")->path(), root_ + QStringLiteral("/Music"));
        QCOMPARE(w.form().focusWidget(), edit);
        QCOMPARE(w.control<QListWidget>("PathListBox")->count(), 0);

        QTest::mouseClick(browse, Qt::LeftButton);  // cancelled
        QCOMPARE(edit->text(), root_ + QStringLiteral("/Music"));
        QCOMPARE(w.desktop().calls.size(), 2);
    }

    void folderTheTreeCannotShowIsReported() {
        WindowFixture w;
        const QString gone = root_ + QStringLiteral("/gone");
        w.desktop().folderAnswers.push_back(gone);
        QTest::mouseClick(w.control<QPushButton>("PathButton4"), Qt::LeftButton);
        QCOMPARE(w.desktop().calls.size(), 2);
        QVERIFY2(w.desktop().calls[1].startsWith(QStringLiteral("error: ")) &&
                     w.desktop().calls[1].contains(gone),
                 qPrintable(w.desktop().calls.join(QLatin1Char('\n'))));
        QCOMPARE(w.control<QLineEdit>("PathEdit")->text(), gone);
        QVERIFY(w.form().isVisible());
    }

    void enterInTheTreeAddsTheSelectedFolder() {
        WindowFixture w;
        auto* tree = w.control<FolderTree>("ShellTreeView");
        auto* edit = w.control<QLineEdit>("PathEdit");
        const auto* list = w.control<QListWidget>("PathListBox");
        tree->setPath(root_ + QStringLiteral("/Music/Rock"));
        QCOMPARE(edit->text(), root_ + QStringLiteral("/Music/Rock"));

        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(listEntries(list), QStringList{root_ + QStringLiteral("/Music/Rock")});
        QCOMPARE(edit->text(), QString());
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(list->count(), 1);
        QCOMPARE(tree->path(), root_ + QStringLiteral("/Music/Rock"));
    }

    void selectingTheRootFolderNamesIt() {
        WindowFixture w;
        auto* tree = w.control<FolderTree>("ShellTreeView");
        tree->setPath(root_);
        tree->setPath(QStringLiteral("/"));
        QCOMPARE(w.control<QLineEdit>("PathEdit")->text(), QStringLiteral("/"));
        QTest::keyClick(tree, Qt::Key_Enter);
        QCOMPARE(listEntries(w.control<QListWidget>("PathListBox")), QStringList{"/"});
    }

    void pathListDeletesSelectedOrAll() {
        WindowFixture w;
        auto* edit = w.control<QLineEdit>("PathEdit");
        auto* list = w.control<QListWidget>("PathListBox");
        for (const char* sub : {"/Music", "/Music/Rock", "/Music"}) {
            typeInto(edit, root_ + QString::fromLatin1(sub));
            QTest::keyClick(edit, Qt::Key_Return);
        }
        QCOMPARE(list->count(), 3);
        list->item(0)->setSelected(true);
        list->item(2)->setSelected(true);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(listEntries(list), QStringList{root_ + QStringLiteral("/Music/Rock")});
        QTest::keyClick(list, Qt::Key_Delete);  // nothing selected
        QCOMPARE(list->count(), 1);
        QTest::mouseClick(w.control<QPushButton>("PathButton2"), Qt::LeftButton);
        QCOMPARE(list->count(), 0);
    }

    void masksAreTrimmedAndAppended_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("add");
        QTest::addColumn<QString>("clear");
        QTest::addColumn<QStringList>("before");
        QTest::newRow("include") << "ScanEdit1"
                                 << "ScanListBox1"
                                 << "ScanButton1"
                                 << "ScanButton2" << QStringList{"*.*"};
        QTest::newRow("exclude") << "ScanEdit2"
                                 << "ScanListBox2"
                                 << "ScanButton3"
                                 << "ScanButton4" << QStringList{};
    }

    void masksAreTrimmedAndAppended() {
        QFETCH(QString, edit);
        QFETCH(QString, list);
        QFETCH(QString, add);
        QFETCH(QString, clear);
        QFETCH(QStringList, before);
        WindowFixture w;
        auto* maskEdit = w.control<QLineEdit>(qPrintable(edit));
        auto* masks = w.control<QListWidget>(qPrintable(list));

        maskEdit->setText(QStringLiteral("  *.jpg\t "));
        QTest::keyClick(maskEdit, Qt::Key_Return);
        QCOMPARE(maskEdit->text(), QString());
        QTest::keyClick(maskEdit, Qt::Key_Enter);  // an empty edit adds an empty entry
        typeInto(maskEdit, QStringLiteral("pic *.jpg"));
        QTest::mouseClick(w.control<QPushButton>(qPrintable(add)), Qt::LeftButton);
        typeInto(maskEdit, QStringLiteral("*.jpg"));
        QTest::keyClick(maskEdit, Qt::Key_Return);
        QCOMPARE(listEntries(masks), before + QStringList({"*.jpg", "", "pic *.jpg", "*.jpg"}));

        masks->item(masks->count() - 1)->setSelected(true);
        masks->item(masks->count() - 3)->setSelected(true);
        QTest::keyClick(masks, Qt::Key_Delete);
        QCOMPARE(listEntries(masks), before + QStringList({"*.jpg", "pic *.jpg"}));

        QTest::mouseClick(w.control<QPushButton>(qPrintable(clear)), Qt::LeftButton);
        QCOMPARE(masks->count(), 0);
        QVERIFY(w.desktop().calls.isEmpty());
    }

    void dateControlsFollowTheCheckBoxAndKind() {
        WindowFixture w;
        auto* on = w.control<QCheckBox>("DateCheckBox");
        auto* kind = w.control<QComboBox>("DateComboBox2");
        const QList<QWidget*> always{
            w.control<QWidget>("DateLabel1"), w.control<QWidget>("DateComboBox1"),
            w.control<QWidget>("DateLabel2"), kind,
            w.control<QWidget>("DateLabel3"), w.control<QWidget>("DateTimePicker1")};
        const QList<QWidget*> second{w.control<QWidget>("DateLabel4"),
                                     w.control<QWidget>("DateTimePicker2")};
        const auto check = [&](bool first, bool other) {
            for (const QWidget* c : always) {
                QVERIFY2(c->isEnabled() == first, qPrintable(c->objectName()));
            }
            for (const QWidget* c : second) {
                QVERIFY2(c->isEnabled() == other, qPrintable(c->objectName()));
            }
        };

        toggle(on);
        QVERIFY(on->isChecked());
        check(true, false);  // "Same" asks for one date
        kind->setCurrentIndex(0);
        check(true, true);
        toggle(on);
        check(false, false);
        toggle(on);
        check(true, true);  // "Between" is still chosen
        kind->setCurrentIndex(2);
        check(true, false);
    }

    void secondDateNeverPrecedesTheFirst() {
        WindowFixture w;
        auto* first = w.control<QDateEdit>("DateTimePicker1");
        auto* second = w.control<QDateEdit>("DateTimePicker2");
        const QDate today = QDate::currentDate();
        const QDate d1 = today.addDays(-10);
        const QDate d2 = today.addDays(-3);

        first->setDate(d1);
        QCOMPARE(second->minimumDate(), d1);
        second->setDate(d1);
        QCOMPARE(second->date(), d1);

        first->setDate(d2);
        QCOMPARE(second->date(), d2);
        QCOMPARE(second->minimumDate(), d2);
        second->setDate(d1);
        QCOMPARE(second->date(), d2);
        QCOMPARE(second->maximumDate(), today);
    }

    void sizeControlsFollowTheCheckBox() {
        WindowFixture w;
        auto* on = w.control<QCheckBox>("SizeCheckBox");
        auto* size = w.control<QLineEdit>("SizeEdit");
        const QList<QWidget*> controls{w.control<QWidget>("SizeLabel1"),
                                       w.control<QWidget>("SizeComboBox"),
                                       w.control<QWidget>("SizeLabel2"), size};
        toggle(on);
        for (const QWidget* c : controls) {
            QVERIFY2(c->isEnabled(), qPrintable(c->objectName()));
        }
        typeInto(size, QStringLiteral("1024"));
        toggle(on);
        for (const QWidget* c : controls) {
            QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
        }
        QCOMPARE(size->text(), QStringLiteral("1024"));
        QVERIFY(!w.control<QWidget>("DateLabel1")->isEnabled());
    }

private:
    std::unique_ptr<TempTree> tree_;  // a fresh folder for every test
    QString root_;
};

QTEST_MAIN(ScanSettingsTest)
#include "ScanSettingsTest.moc"
