#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

#include "WindowFixture.h"
#include "filelist/Shuffle.h"
#include "support/FaultyFileSystem.h"
#include "support/ScriptedClock.h"
#include "support/TempTree.h"

using folivar::fcFileName;
using folivar::test::fileRow;
using folivar::test::TempTree;
using folivar::test::WindowFixture;

namespace {

QTableView* listView(const WindowFixture& w) {
    return w.control<QTableView>("ListView");
}

// Rows given by their Size texts, all in one folder that need not exist.
void fillSizes(WindowFixture& w, const QStringList& sizes) {
    std::vector<folivar::FileRow> rows;
    for (const QString& size : sizes) {
        rows.push_back(fileRow("f" + std::to_string(rows.size()) + ".jpg", size.toStdString()));
    }
    w.setRows(rows);
}

QString listSelection(const std::vector<bool>& rows) {
    QString text;
    for (const bool row : rows) {
        text += row ? '1' : '0';
    }
    return text;
}

// What a command may change, with the temporary folder written as "D".
struct Outcome {
    QStringList names;
    QString selection;  // one digit per row
    QString status;
    QStringList calls;
    QStringList files;
    bool shell = false;

    friend bool operator==(const Outcome&, const Outcome&) = default;
};

QString describe(const Outcome& o) {
    return QStringLiteral("names [%1] selection %2 status \"%3\" calls [%4] files [%5] shell %6")
        .arg(o.names.join(','), o.selection, o.status, o.calls.join(" | "), o.files.join(','),
             o.shell ? "on" : "off");
}

}  // namespace

class ListCommandsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempTree> tree_;
    QString root_;

    void makeFiles() {
        tree_ = std::make_unique<TempTree>();
        root_ = QString::fromStdString(tree_->path());
        tree_->file("a.jpg", std::string(100, 'a'));
        tree_->file("b.jpg", std::string(200, 'b'));
        tree_->file("c.jpg", std::string(300, 'c'));
    }

    // a.jpg, b.jpg, c.jpg scanned and sorted by name; a and c selected; the
    // status line holds a marker.
    void scan(WindowFixture& w) {
        folivar::test::setListEntries(w.control<QListWidget>("PathListBox"), {root_});
        w.form().ScanButtonClick();
        w.form().ListViewColumnClick(fcFileName);
        QCOMPARE(w.listColumn(fcFileName), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        w.select({true, false, true});
        w.control<QStatusBar>("StatusBar")->showMessage("before");
        w.desktop().calls.clear();
    }

    Outcome observe(WindowFixture& w) const {
        Outcome o;
        o.names = w.listColumn(fcFileName);
        o.selection = listSelection(w.selected());
        o.status = w.status();
        for (QString call : w.desktop().calls) {
            o.calls << call.replace(root_, "D");
        }
        o.files = QDir(root_).entryList(QDir::Files, QDir::Name);
        o.shell = w.control<QCheckBox>("CheckView")->isChecked();
        return o;
    }

    Outcome untouched() const {
        return {{"a.jpg", "b.jpg", "c.jpg"}, "101", "before", {},
                {"a.jpg", "b.jpg", "c.jpg"}, false};
    }

    // Each command's effect from the scanned list, with the expected outcome
    // changed from "untouched" by edit.
    struct Command {
        const char* label;
        std::function<void(WindowFixture&)> run;
        std::function<void(Outcome&)> edit;
    };

    void check(const std::vector<Command>& commands) {
        for (const Command& c : commands) {
            makeFiles();
            WindowFixture w;
            scan(w);
            c.run(w);
            Outcome expected = untouched();
            c.edit(expected);
            const Outcome actual = observe(w);
            QVERIFY2(actual == expected,
                     qPrintable(QStringLiteral("%1:\n  got  %2\n  want %3")
                                    .arg(c.label, describe(actual), describe(expected))));
        }
    }

    static std::function<void(WindowFixture&)> key(Qt::Key k, Qt::KeyboardModifiers held = {}) {
        return [k, held](WindowFixture& w) { QTest::keyClick(listView(w), k, held); };
    }

    static std::function<void(WindowFixture&)> item(const char* name) {
        return [name](WindowFixture& w) { w.control<QAction>(name)->trigger(); };
    }

    static void opensFiles(Outcome& o) {
        o.calls = {"open: D/a.jpg [D/]", "open: D/c.jpg [D/]"};
        o.status = "3 files in list";
    }
    static void opensFolder(Outcome& o) { o.calls = {"open: D/ [D/]"}; }
    static void entersShell(Outcome& o) { o.shell = true; }
    static void removesRows(Outcome& o) {
        o.names = {"b.jpg"};
        o.selection = "0";
        o.status = "1 files in list";
    }
    static void deletesFiles(Outcome& o) {
        removesRows(o);
        o.status = "1 files in list; Deleted - 2";
        o.files = {"b.jpg"};
    }
    static void selectsAll(Outcome& o) {
        o.selection = "111";
        o.status = "3 files in list";
    }
    static void inverts(Outcome& o) {
        o.selection = "010";
        o.status = "3 files in list";
    }
    static void sums(Outcome& o) {
        o.calls = {"information: 400 bytes in 2 files (average size - 200 bytes)"};
        o.status = "3 files in list";
    }
    static void nothing(Outcome&) {}

private slots:
    void init() { makeFiles(); }

    void keysRunTheirCommands() {
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
        const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
        const Qt::KeyboardModifiers alt = Qt::AltModifier;
        check({
            {"Enter", key(Qt::Key_Return), opensFiles},
            {"Ctrl+Enter", key(Qt::Key_Return, ctrl), opensFiles},
            {"Ctrl+Shift+Enter", key(Qt::Key_Return, ctrl | shift), opensFiles},
            {"keypad Enter", key(Qt::Key_Enter, Qt::KeypadModifier), opensFiles},
            {"Shift+Enter", key(Qt::Key_Return, shift), opensFolder},
            {"Shift+keypad Enter", key(Qt::Key_Enter, shift | Qt::KeypadModifier), opensFolder},
            {"Space", key(Qt::Key_Space), entersShell},
            {"Ctrl+Space", key(Qt::Key_Space, ctrl), entersShell},
            {"Delete", key(Qt::Key_Delete), removesRows},
            {"Ctrl+Delete", key(Qt::Key_Delete, ctrl), removesRows},
            {"Shift+Alt+Delete", key(Qt::Key_Delete, shift | alt), removesRows},
            {"Shift+Delete", key(Qt::Key_Delete, shift), deletesFiles},
            {"Ctrl+A", key(Qt::Key_A, ctrl), selectsAll},
            {"Ctrl+Shift+A", key(Qt::Key_A, ctrl | shift), nothing},
            {"Alt+A", key(Qt::Key_A, alt), nothing},
            {"Ctrl+Q", key(Qt::Key_Q, ctrl), inverts},
            {"Ctrl+Alt+Q", key(Qt::Key_Q, ctrl | alt), nothing},
            {"Shift+S", key(Qt::Key_S, shift), nothing},
            {"Ctrl+Shift+S", key(Qt::Key_S, ctrl | shift), nothing},
            {"keypad plus", key(Qt::Key_Plus, Qt::KeypadModifier), sums},
            {"plus-and-equals", key(Qt::Key_Equal), sums},
            {"Shift+plus-and-equals", key(Qt::Key_Plus, shift), sums},
            {"Ctrl+keypad plus", key(Qt::Key_Plus, ctrl | Qt::KeypadModifier), sums},
            {"F3", key(Qt::Key_F3), nothing},
        });
    }

    void menuItemsRunTheirCommands() {
        check({
            {"OpenFiles1", item("OpenFiles1"), opensFiles},
            {"OpenFolder1", item("OpenFolder1"), opensFolder},
            {"OpenInShell1", item("OpenInShell1"), entersShell},
            {"SelectAll1", item("SelectAll1"), selectsAll},
            {"InvSelection1", item("InvSelection1"), inverts},
            {"DeleteItems1", item("DeleteItems1"), removesRows},
            {"DeleteFiles1", item("DeleteFiles1"), deletesFiles},
            {"SumUpZizeofFiles1", item("SumUpZizeofFiles1"), sums},
            {"SumButton", [](WindowFixture& w) { w.control<QPushButton>("SumButton")->click(); },
             sums},
        });
    }

    void theMenuListsItsItemsInOrder() {
        WindowFixture w;
        auto* menu = w.control<QMenu>("PopupMenu1");
        QStringList names;
        QStringList captions;
        for (const QAction* action : menu->actions()) {
            names << action->objectName();
            captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
            QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->objectName()));
        }
        QCOMPARE(names,
                 (QStringList{"OpenFiles1", "OpenFolder1", "OpenInShell1", "N1", "SelectAll1",
                              "InvSelection1", "ShuffleItems1", "N2", "DeleteItems1",
                              "DeleteFiles1", "N3", "SumUpZizeofFiles1", "PreviewNames1",
                              "UndoRename1", "SortByDateTaken1", "KeepThisCopy1"}));
        QCOMPARE(captions, (QStringList{"Open File(s)  [Enter]", "Open Folder  [Shift+Enter]",
                                        "Open In Shell  [Space]", "-", "Select All  [Ctrl+A]",
                                        "Inv. Selection  [Ctrl+Q]", "Shuffle Items  [Ctrl+S]", "-",
                                        "Delete Item(s)  [Delete]", "Delete File(s)  [Shift+Del]",
                                        "-", "Sum Up Zize of File(s)  [+]",
                                        "Preview New Names  [Ctrl+P]", "Undo Last Batch  [Ctrl+Z]",
                                        "Sort by Date Taken", "Keep This Copy"}));
        QCOMPARE(menu->defaultAction(), w.control<QAction>("OpenFiles1"));
    }

    void aRightClickOnTheListShowsTheMenu() {
        WindowFixture w;
        fillSizes(w, {"1"});
        auto* menu = w.control<QMenu>("PopupMenu1");
        QWidget* viewport = listView(w)->viewport();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                                viewport->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(viewport, &event);
        QTRY_VERIFY(menu->isVisible());
        menu->close();
    }

    void aDoubleClickOpensTheRowUnderTheMouse() {
        WindowFixture w;
        scan(w);
        QTableView* view = listView(w);
        const QRect row = view->visualRect(view->model()->index(1, fcFileName));
        // A double click as the window system delivers it: a click, then the second press.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row.center());
        Outcome expected = untouched();
        expected.calls = {"open: D/b.jpg [D/]"};
        expected.selection = "010";
        QCOMPARE(describe(observe(w)), describe(expected));
    }

    void oneRowCommandsDoNothingWithoutASelection() {
        WindowFixture w;
        scan(w);
        w.select({false, false, false});
        w.form().ListViewDblClick();
        w.form().OpenFolder1Click();
        w.form().OpenInShell1Click();
        w.form().SumButtonClick();
        Outcome expected = untouched();
        expected.selection = "000";
        expected.status = "3 files in list";  // the sum's, and no box
        QCOMPARE(describe(observe(w)), describe(expected));
    }

    void openInShellSelectsTheFolderInTheTree() {
        tree_->file("sub/d.jpg");
        WindowFixture w;
        folivar::test::setListEntries(w.control<QListWidget>("PathListBox"), {root_});
        w.form().ScanButtonClick();
        w.form().ListViewColumnClick(fcFileName);
        QCOMPARE(w.listColumn(fcFileName), (QStringList{"a.jpg", "b.jpg", "c.jpg", "d.jpg"}));
        w.select({false, false, false, true});

        w.form().OpenInShell1Click();
        QCOMPARE(w.control<QLineEdit>("PathEdit")->text(), root_ + "/sub");
        QVERIFY(w.control<QCheckBox>("CheckView")->isChecked());
        QVERIFY(listView(w)->isHidden());
        QVERIFY(w.control<QWidget>("ShellListView")->isVisible());
        QVERIFY(!w.control<QPushButton>("ExportButton")->isEnabled());
        QVERIFY(w.desktop().calls.isEmpty());
    }

    void sumShowsTheTotalOfTheSelectedSizes() {
        struct Case {
            QStringList sizes;  // every row selected
            QString message;
        };
        for (const Case& c : {
                 Case{{"100", "200", "300"}, "600 bytes in 3 files (average size - 200 bytes)"},
                 Case{{"5368709120"}, "5,0 Gb in 1 files (average size - 5120 Mb)"},
             }) {
            WindowFixture w;
            fillSizes(w, c.sizes);
            w.form().SelectAll1Click();
            QTest::mouseClick(w.control<QPushButton>("SumButton"), Qt::LeftButton);
            QCOMPARE(w.desktop().calls, QStringList{"information: " + c.message});
            QCOMPARE(w.status(), QString::number(c.sizes.size()) + " files in list");
        }
    }

    void sumStopsAtASizeThatIsNoNumber() {
        WindowFixture w;
        fillSizes(w, {"10", "12x"});
        w.form().SelectAll1Click();
        w.form().SumButtonClick();
        QCOMPARE(w.desktop().calls, QStringList{"error: '12x' is not a valid integer value"});
    }

    void sumInShellModeCountsTheRowsStillSelected() {
        WindowFixture w;
        fillSizes(w, {"1000", "2000", "4000"});
        w.select({true, false, true});
        QTest::mouseClick(w.control<QCheckBox>("CheckView"), Qt::LeftButton, {},
                          QPoint(6, w.control<QCheckBox>("CheckView")->height() / 2));
        QVERIFY(listView(w)->isHidden());
        auto* sum = w.control<QPushButton>("SumButton");
        QVERIFY(sum->isVisible() && sum->isEnabled());
        QTest::mouseClick(sum, Qt::LeftButton);
        QCOMPARE(w.desktop().calls,
                 QStringList{"information: 4,9 Kb in 2 files (average size - 2500 bytes)"});
        QCOMPARE(w.status(), QStringLiteral("3 files in list"));
    }

    void removingRowsDisablesTheButtonsThatNeedThem() {
        struct Case {
            std::vector<bool> removed;
            bool rename;
            bool findDupl;
        };
        for (const Case& c :
             {Case{{true, false, false}, true, true}, Case{{true, true, false}, true, false},
              Case{{true, true, true}, false, false}}) {
            WindowFixture w;
            fillSizes(w, {"1", "2", "3"});
            auto* rename = w.control<QPushButton>("RenameButton");
            auto* findDupl = w.control<QPushButton>("FindDuplButton");
            rename->setEnabled(true);  // as a scan of three rows leaves them
            findDupl->setEnabled(true);
            w.select(c.removed);
            QTest::keyClick(listView(w), Qt::Key_Delete);
            QCOMPARE(rename->isEnabled(), c.rename);
            QCOMPARE(findDupl->isEnabled(), c.findDupl);
        }
        // Removing rows never enables a button.
        WindowFixture w;
        fillSizes(w, {"1", "2", "3"});
        w.select({true, false, false});
        w.form().DeleteItems1Click();
        QVERIFY(!w.control<QPushButton>("RenameButton")->isEnabled());
        QVERIFY(!w.control<QPushButton>("FindDuplButton")->isEnabled());
    }

    void aFileThatWillNotGoKeepsItsRowSelected() {
        WindowFixture w;
        scan(w);
        w.select({true, true, true});
        folivar::test::FaultyFileSystem files;
        files.failRemove(QFile::encodeName(root_ + "/b.jpg").toStdString());
        QSignalSpy resets(listView(w)->model(), &QAbstractItemModel::modelReset);

        w.control<QAction>("DeleteFiles1")->trigger();

        Outcome expected = untouched();
        expected.names = {"b.jpg"};
        expected.selection = "1";
        expected.status = "1 files in list; Deleted - 2; Remained - 1";
        expected.files = {"b.jpg"};
        QCOMPARE(describe(observe(w)), describe(expected));
        QCOMPARE(resets.count(), 1);  // the view read the rows once
        QVERIFY(w.control<QPushButton>("RenameButton")->isEnabled());
        QVERIFY(!w.control<QPushButton>("FindDuplButton")->isEnabled());
    }

    void shuffleCarriesTheSelectionAndCurrentRowAlong() {
        WindowFixture w;
        QStringList sizes;
        for (int i = 0; i < 20; ++i) {
            sizes << QString::number(i);
        }
        fillSizes(w, sizes);
        const QStringList before = w.listColumn(fcFileName);
        std::vector<bool> rows(20, false);
        rows[3] = rows[7] = rows[19] = true;
        w.select(rows);
        QTableView* view = listView(w);
        view->selectionModel()->setCurrentIndex(view->model()->index(7, 2),
                                                QItemSelectionModel::NoUpdate);

        folivar::test::ScriptedClock clock;
        clock.setCounter(12345);
        QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);

        // The engine's shuffle from the same seed, on the names alone.
        folivar::FileTable names;
        for (const QString& name : before) {
            names.append({name.toStdString(), "/x/", "0", "jpg", "1.1.2004", "0", "-"});
        }
        folivar::ShuffleRandom random(12345);
        folivar::shuffleRows(names, random);
        QStringList expected;
        for (std::size_t i = 0; i < names.size(); ++i) {
            expected << QString::fromStdString(names[i].FileName);
        }
        QCOMPARE(w.listColumn(fcFileName), expected);
        QVERIFY(expected != before);

        QStringList selectedNames;
        const std::vector<bool> now = w.selected();
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (now[i]) {
                selectedNames << expected[static_cast<int>(i)];
            }
        }
        selectedNames.sort();
        QCOMPARE(selectedNames, (QStringList{"f19.jpg", "f3.jpg", "f7.jpg"}));
        const QModelIndex current = view->selectionModel()->currentIndex();
        QCOMPARE(view->model()->index(current.row(), fcFileName).data().toString(),
                 QStringLiteral("f7.jpg"));
        QCOMPARE(w.status(), QString());  // the shuffle writes no status
    }
};

QTEST_MAIN(ListCommandsTest)
#include "ListCommandsTest.moc"
