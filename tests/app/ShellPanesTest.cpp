#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <memory>

#include <sys/stat.h>

#include "WindowFixture.h"
#include "app/FileIcons.h"
#include "app/FolderTree.h"
#include "app/ShellPane.h"
#include "support/FaultyFileSystem.h"
#include "support/TempTree.h"

using folivar::FolderTree;
using folivar::ShellPane;
using folivar::test::fileRow;
using folivar::test::TempTree;
using folivar::test::WindowFixture;

namespace {

void toggle(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

int shownEntries(const ShellPane* pane) {
    return pane->fileModel()->rowCount(pane->reportView()->rootIndex());
}

}  // namespace

class ShellPanesTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        tree_ = std::make_unique<TempTree>();
        root_ = QString::fromStdString(tree_->path());
    }

    void shellModeSwapsTheListForThePane() {
        WindowFixture w;
        w.setRows({fileRow("a.jpg", "1"), fileRow("b.jpg", "2")});
        auto* rename = w.control<QPushButton>("RenameButton");
        rename->setEnabled(true);  // as a scan of one or more rows leaves it

        auto* shell = w.control<QCheckBox>("CheckView");
        auto* list = w.control<QTableView>("ListView");
        const QAbstractItemModel* model = list->model();
        auto* pane = w.control<ShellPane>("ShellListView");
        auto* exportButton = w.control<QPushButton>("ExportButton");
        const QList<QWidget*> buttons{w.control<QWidget>("ScanButton"), rename,
                                      w.control<QWidget>("FindDuplButton")};

        toggle(shell);
        QVERIFY(shell->isChecked());
        QVERIFY(!exportButton->isEnabled());
        for (const QWidget* b : buttons) {
            QVERIFY2(b->isHidden(), qPrintable(b->objectName()));
        }
        QVERIFY(list->isHidden());
        QVERIFY(pane->isVisible());
        QVERIFY(w.control<QLabel>("Banner")->isVisible());
        QVERIFY(w.control<QPushButton>("SumButton")->isEnabled());
        QVERIFY(pane->isLinked());
        QCOMPARE(pane->folder(), QStringLiteral("/"));

        toggle(shell);
        QVERIFY(exportButton->isEnabled());
        for (const QWidget* b : buttons) {
            QVERIFY2(b->isVisible(), qPrintable(b->objectName()));
        }
        QVERIFY(rename->isEnabled());
        QVERIFY(!w.control<QPushButton>("FindDuplButton")->isEnabled());
        QVERIFY(list->isVisible());
        QCOMPARE(list->model(), model);
        QCOMPARE(list->model()->rowCount(), 2);
        QVERIFY(pane->isHidden());
        QVERIFY(w.control<QLabel>("Banner")->isHidden());
        QVERIFY(!pane->isLinked());
        QVERIFY(w.desktop().calls.isEmpty());
    }

    void paneFollowsTheTreeOnlyInShellMode() {
        tree_->dir("one");
        tree_->dir("two");
        WindowFixture w;
        auto* tree = w.control<FolderTree>("ShellTreeView");
        auto* pane = w.control<ShellPane>("ShellListView");
        tree->setPath(root_ + QStringLiteral("/one"));
        toggle(w.control<QCheckBox>("CheckView"));
        QCOMPARE(pane->folder(), root_ + QStringLiteral("/one"));

        auto* edit = w.control<QLineEdit>("PathEdit");
        edit->setText(root_ + QStringLiteral("/two"));
        QTest::keyClick(edit, Qt::Key_Return);  // the tree stays the PATH group's picker
        QCOMPARE(pane->folder(), root_ + QStringLiteral("/two"));

        toggle(w.control<QCheckBox>("CheckView"));
        tree->setPath(root_);
        QCOMPARE(pane->folder(), root_ + QStringLiteral("/two"));
    }

    void viewMenuTicksOneItem_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("style");
        QTest::newRow("icon") << "MenuItem1" << int(ShellPane::ViewStyle::Icon);
        QTest::newRow("list") << "MenuItem2" << int(ShellPane::ViewStyle::List);
        QTest::newRow("report") << "MenuItem3" << int(ShellPane::ViewStyle::Report);
        QTest::newRow("small icon") << "MenuItem4" << int(ShellPane::ViewStyle::SmallIcon);
    }

    void viewMenuTicksOneItem() {
        QFETCH(QString, item);
        QFETCH(int, style);
        WindowFixture w;
        auto* pane = w.control<ShellPane>("ShellListView");
        QCOMPARE(pane->viewStyle(), ShellPane::ViewStyle::Report);
        toggle(w.control<QCheckBox>("CheckView"));
        // Start from another style, so every row sees a change.
        w.control<QAction>(style == int(ShellPane::ViewStyle::Icon) ? "MenuItem2" : "MenuItem1")
            ->trigger();

        w.control<QAction>(qPrintable(item))->trigger();
        QCOMPARE(int(pane->viewStyle()), style);
        QCOMPARE(pane->currentWidget() == pane->reportView(),
                 style == int(ShellPane::ViewStyle::Report));
        const QStringList items{"MenuItem1", "MenuItem2", "MenuItem3", "MenuItem4"};
        for (const QString& other : items) {
            QCOMPARE(w.control<QAction>(qPrintable(other))->isChecked(), other == item);
        }
    }

    void viewMenuCaptions() {
        WindowFixture w;
        const auto* menu = w.control<QMenu>("PopupMenu2");
        QStringList captions;
        for (const QAction* action : menu->actions()) {
            captions << action->text();
        }
        QCOMPARE(captions, (QStringList{"View as icon", "View as list", "View as report",
                                        "View as small icon"}));
        QVERIFY(w.control<QAction>("MenuItem3")->isChecked());
    }

    // The tree does not watch the disk: a new folder shows after F5 only.
    void f5InTheTreeReadsTheFoldersAgain() {
        WindowFixture w;
        auto* tree = w.control<FolderTree>("ShellTreeView");
        tree->setPath(root_);
        QSignalSpy loaded(tree->folderModel(), &QFileSystemModel::directoryLoaded);
        tree->expand(tree->currentIndex());
        QTRY_VERIFY(!loaded.isEmpty());
        QCOMPARE(tree->folderModel()->rowCount(tree->currentIndex()), 0);

        QVERIFY(QDir(root_).mkdir(QStringLiteral("fresh")));
        QTest::qWait(300);
        QCOMPARE(tree->folderModel()->rowCount(tree->currentIndex()), 0);

        auto* edit = w.control<QLineEdit>("PathEdit");
        edit->setText(QStringLiteral("typed"));
        QTest::keyClick(tree, Qt::Key_F5);
        QCOMPARE(tree->path(), root_);
        QCOMPARE(edit->text(), QStringLiteral("typed"));  // the same selection is no change
        tree->expand(tree->currentIndex());
        QTRY_COMPARE(tree->folderModel()->rowCount(tree->currentIndex()), 1);
    }

    void f5FallsBackToAFolderStillThere() {
        tree_->dir("doomed");
        WindowFixture w;
        auto* tree = w.control<FolderTree>("ShellTreeView");
        tree->setPath(root_ + QStringLiteral("/doomed"));
        QVERIFY(QDir(root_).rmdir(QStringLiteral("doomed")));
        QTest::keyClick(tree, Qt::Key_F5);
        QCOMPARE(tree->path(), root_);
        QCOMPARE(w.control<QLineEdit>("PathEdit")->text(), root_);
    }

    void f5InThePaneReadsTheFolderAgain() {
        tree_->file("a.txt");
        WindowFixture w;
        w.control<FolderTree>("ShellTreeView")->setPath(root_);
        toggle(w.control<QCheckBox>("CheckView"));
        auto* pane = w.control<ShellPane>("ShellListView");
        QTRY_COMPARE(shownEntries(pane), 1);

        tree_->file(".hidden");
        QTest::qWait(300);
        QCOMPARE(shownEntries(pane), 1);
        QTest::keyClick(pane->reportView(), Qt::Key_F5);
        QTRY_COMPARE(shownEntries(pane), 2);
        QCOMPARE(pane->folder(), root_);
    }

    // F5 reads the selected folder again and nothing else: the other branches
    // keep what they showed, open or closed, and the view stays where it was.
    void f5KeepsExpansionSelectionAndScrollPosition() {
        for (const char* folder : {"a/old", "b/kept", "c", "d", "e", "f", "g", "h"}) {
            QVERIFY(QDir(root_).mkpath(QString::fromLatin1(folder)));
        }
        WindowFixture w;
        auto* tree = w.control<FolderTree>("ShellTreeView");
        QFileSystemModel* model = tree->folderModel();
        const QPersistentModelIndex a = model->index(root_ + QStringLiteral("/a"));
        const QPersistentModelIndex b = model->index(root_ + QStringLiteral("/b"));
        tree->setPath(root_ + QStringLiteral("/b"));
        tree->expand(a);
        tree->expand(b);
        QTRY_COMPARE(model->rowCount(a), 1);
        QTRY_COMPARE(model->rowCount(b), 1);
        QTRY_VERIFY(!tree->bringingIntoSight());  // the selection is in sight
        QVERIFY(tree->verticalScrollBar()->value() > 0);
        const int scrolled = tree->verticalScrollBar()->value();

        QVERIFY(QDir(root_).mkpath(QStringLiteral("b/new")));
        QVERIFY(QDir(root_).rmdir(QStringLiteral("a/old")));
        QTest::keyClick(tree, Qt::Key_F5);
        QCOMPARE(tree->folderModel(), model);  // no new model: nothing else is read

        QTRY_COMPARE(model->rowCount(b), 2);
        QTest::qWait(200);
        QCOMPARE(model->rowCount(a), 1);  // a was not read again
        QVERIFY(tree->isExpanded(a));
        QVERIFY(tree->isExpanded(b));
        QCOMPARE(tree->path(), root_ + QStringLiteral("/b"));
        QCOMPARE(tree->verticalScrollBar()->value(), scrolled);
    }

    void f5DropsAFolderThatWent() {
        QVERIFY(QDir(root_).mkpath(QStringLiteral("doomed/deeper")));
        QVERIFY(QDir(root_).mkpath(QStringLiteral("stays")));
        WindowFixture w;
        auto* tree = w.control<FolderTree>("ShellTreeView");
        QFileSystemModel* model = tree->folderModel();
        tree->setPath(root_ + QStringLiteral("/doomed/deeper"));
        tree->expand(model->index(root_));
        QTRY_COMPARE(model->rowCount(model->index(root_)), 2);
        QVERIFY(QDir(root_ + QStringLiteral("/doomed")).removeRecursively());

        QTest::keyClick(tree, Qt::Key_F5);
        QCOMPARE(tree->path(), root_);
        QCOMPARE(w.control<QLineEdit>("PathEdit")->text(), root_);
        QTRY_COMPARE(model->rowCount(model->index(root_)), 1);
        QCOMPARE(model->fileName(model->index(0, 0, model->index(root_))), QStringLiteral("stays"));
    }

    // A name edited in place onto one the folder holds changes no file and
    // says why on the status line; a free name renames.
    void aRenameOntoATakenNameSaysWhy() {
        tree_->file("a.jpg", "A");
        tree_->file("b.jpg", "B");
        WindowFixture w;
        w.control<FolderTree>("ShellTreeView")->setPath(root_);
        toggle(w.control<QCheckBox>("CheckView"));
        auto* pane = w.control<ShellPane>("ShellListView");
        QTableView* view = pane->reportView();
        const auto renameA = [&](const QString& name) {
            const QModelIndex a = pane->fileModel()->index(root_ + QStringLiteral("/a.jpg"));
            QVERIFY(a.isValid());
            QWidget* editor =
                view->itemDelegate()->createEditor(view->viewport(), QStyleOptionViewItem(), a);
            QVERIFY(editor != nullptr);
            view->itemDelegate()->setEditorData(editor, a);
            qobject_cast<QLineEdit*>(editor)->setText(name);
            view->itemDelegate()->setModelData(editor, pane->fileModel(), a);
            delete editor;
        };

        renameA(QStringLiteral("b.jpg"));
        QCOMPARE(w.status(), QStringLiteral("Cannot rename a.jpg to b.jpg: Already Exists"));
        QCOMPARE(folivar::test::readFile(root_ + "/a.jpg"), QByteArray("A"));
        QCOMPARE(folivar::test::readFile(root_ + "/b.jpg"), QByteArray("B"));

        // A name taken after it was asked for, as the rename is made.
        {
            folivar::test::FaultyFileSystem files;
            files.beforeMove([this](const std::string&, const std::string& to) {
                if (to.ends_with("/d.jpg")) {
                    folivar::test::writeFile(root_ + QStringLiteral("/d.jpg"), "D");
                }
            });
            renameA(QStringLiteral("d.jpg"));
        }
        QCOMPARE(w.status(), QStringLiteral("Cannot rename a.jpg to d.jpg: Already Exists"));
        QCOMPARE(folivar::test::readFile(root_ + "/a.jpg"), QByteArray("A"));
        QCOMPARE(folivar::test::readFile(root_ + "/d.jpg"), QByteArray("D"));

        renameA(QStringLiteral("c.jpg"));
        QCOMPARE(folivar::test::filesIn(root_), (QStringList{"b.jpg", "c.jpg", "d.jpg"}));
        QCOMPARE(w.status(), QStringLiteral("Cannot rename a.jpg to d.jpg: Already Exists"));
        QVERIFY(w.desktop().calls.isEmpty());
    }

    // Where no icon theme is installed (as here, offscreen) every kind of entry
    // still gets a picture.
    void everyEntryHasAnIcon() {
        QVERIFY(QDir(root_).mkpath(QStringLiteral("folder")));
        tree_->file("notes.txt");
        tree_->file(".hidden");
        QVERIFY(::mkfifo(QFile::encodeName(root_ + QStringLiteral("/pipe")).constData(), 0600) ==
                0);
        QVERIFY(
            QFile::link(root_ + QStringLiteral("/folder"), root_ + QStringLiteral("/to-folder")));
        QVERIFY(
            QFile::link(root_ + QStringLiteral("/notes.txt"), root_ + QStringLiteral("/to-notes")));
        QVERIFY(QFile::link(root_ + QStringLiteral("/gone"), root_ + QStringLiteral("/broken")));
        const auto drawn = [](const QIcon& icon) { return !icon.pixmap(16, 16).isNull(); };

        const QStringList entries = QDir(root_).entryList(QDir::AllEntries | QDir::Hidden |
                                                          QDir::System | QDir::NoDotAndDotDot);
        QCOMPARE(entries.size(), 7);
        for (const QString& entry : entries) {
            QVERIFY2(drawn(folivar::FileIcons::shared().icon(QFileInfo(root_ + "/" + entry))),
                     qPrintable(entry));
        }
        QVERIFY(drawn(folivar::FileIcons::shared().icon(QFileInfo(QStringLiteral("/")))));

        WindowFixture w;
        auto* tree = w.control<FolderTree>("ShellTreeView");
        tree->setPath(root_);
        toggle(w.control<QCheckBox>("CheckView"));
        auto* pane = w.control<ShellPane>("ShellListView");
        QTRY_COMPARE(shownEntries(pane), 7);
        const QModelIndex shown = pane->reportView()->rootIndex();
        for (int row = 0; row < shownEntries(pane); ++row) {
            const QModelIndex index = pane->fileModel()->index(row, 0, shown);
            QVERIFY2(drawn(index.data(Qt::DecorationRole).value<QIcon>()),
                     qPrintable(index.data().toString()));
        }
        tree->expand(tree->currentIndex());
        QTRY_COMPARE(tree->folderModel()->rowCount(tree->currentIndex()),
                     2);  // the folder, its link
        for (const QModelIndex& index :
             {tree->currentIndex(), tree->folderModel()->index(0, 0, tree->currentIndex()),
              tree->folderModel()->index(QStringLiteral("/"))}) {
            QVERIFY2(drawn(index.data(Qt::DecorationRole).value<QIcon>()),
                     qPrintable(index.data().toString()));
        }
    }

private:
    std::unique_ptr<TempTree> tree_;  // a fresh folder for every test
    QString root_;
};

QTEST_MAIN(ShellPanesTest)
#include "ShellPanesTest.moc"
