#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QTest>
#include <memory>

#include "WindowFixture.h"
#include "renaming/BatchJournal.h"
#include "support/TempTree.h"

using folivar::fcFileName;
using folivar::fcStatus;
using folivar::test::fileRow;
using folivar::test::filesIn;
using folivar::test::ScopedStateHome;
using folivar::test::ScriptedDesktop;
using folivar::test::TempTree;
using folivar::test::WindowFixture;

namespace {

// The preview's rows as "old | new | status", the folder written as "D".
QStringList previewRows(const QAbstractItemView* view, const QString& folder) {
    const QAbstractItemModel* model = view->model();
    QStringList rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column) {
            cells << model->data(model->index(row, column)).toString().replace(folder, "D");
        }
        rows << cells.join(" | ");
    }
    return rows;
}

}  // namespace

class UndoTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        tree_ = std::make_unique<TempTree>();
        folder_ = QString::fromStdString(tree_->path());
        tree_->file("y.jpg", "why");
        tree_->file("0001.jpg", "one");
    }

    // y.jpg above 0001.jpg under "counter": the first clashes, the second is renamed.
    void listTheClash(WindowFixture& w) {
        const std::string path = tree_->path() + "/";
        w.setRows({fileRow("y.jpg", "3", path), fileRow("0001.jpg", "3", path)});
        w.control<QComboBox>("FileStructureBox")->setCurrentIndex(0);
    }

    void thePreviewShowsEveryRowAndTheClashTouchingNoFile() {
        WindowFixture w;
        listTheClash(w);
        w.control<QAction>("PreviewNames1")->trigger();
        auto* dialog = w.form().findChild<QDialog*>("PreviewDialog");
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->isVisible());
        auto* view = dialog->findChild<QAbstractItemView*>("PreviewView");
        QVERIFY(view != nullptr);
        QCOMPARE(previewRows(view, folder_), (QStringList{"D/y.jpg | D/0001.jpg | Already Exists",
                                                          "D/0001.jpg | D/0002.jpg | Renamed"}));
        QCOMPARE(filesIn(folder_), (QStringList{"0001.jpg", "y.jpg"}));
        QCOMPARE(w.listColumn(fcStatus), (QStringList{"-", "-"}));

        dialog->findChild<QCheckBox*>("ProblemsOnlyBox")->setChecked(true);
        QCOMPARE(previewRows(view, folder_), QStringList{"D/y.jpg | D/0001.jpg | Already Exists"});
        dialog->close();
    }

    void ctrlPShowsThePreviewAndCtrlZUndoesTheLastBatch() {
        WindowFixture w;
        listTheClash(w);
        QWidget* list = w.listView();
        QTest::keyClick(list, Qt::Key_P, Qt::ControlModifier);
        auto* dialog = w.form().findChild<QDialog*>("PreviewDialog");
        QVERIFY(dialog != nullptr);
        dialog->close();

        w.form().RenameButtonClick();
        QCOMPARE(filesIn(folder_), (QStringList{"0002.jpg", "y.jpg"}));
        QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(filesIn(folder_), (QStringList{"0001.jpg", "y.jpg"}));
        QCOMPARE(readFile(folder_ + "/0001.jpg"), QByteArray("one"));
        QCOMPARE(w.listColumn(fcFileName), (QStringList{"y.jpg", "0001.jpg"}));
        QCOMPARE(w.listColumn(fcStatus), (QStringList{"Already Exists", "Restored"}));
        QCOMPARE(w.status(), QStringLiteral("1 files from 1 are restored"));
        QVERIFY(w.control<QWidget>("RenameButton")->isVisible());

        // Nothing is left to take back.
        w.control<QAction>("UndoRename1")->trigger();
        QCOMPARE(w.status(), QStringLiteral("Nothing to undo"));
        QVERIFY(w.desktop().calls.isEmpty());
    }

    // A batch killed in the middle: the next start asks once, yes undoes it.
    void theStartAsksAboutAnInterruptedBatch() {
        for (const bool yes : {true, false}) {
            init();
            const auto interrupted = [this, yes](const ScopedStateHome& state,
                                                 ScriptedDesktop& desktop) {
                folivar::FileTable table;
                table.append(fileRow("y.jpg", "3", tree_->path() + "/"));
                const folivar::RenameSettings settings{
                    folivar::RenameKind::Rename, folivar::NamingScheme{}, {}};
                std::string why;
                auto journal =
                    folivar::BatchJournal::begin(state.journalFolder(), table, settings, why);
                QVERIFY2(journal, why.c_str());
                folivar::renameRows(table, settings, folivar::ProgressSink::silent(), *journal);
                // Never ended, as when the program is killed.
                desktop.yesNoAnswers = {yes};
            };
            WindowFixture w(interrupted);
            QTRY_COMPARE(w.desktop().calls.size(), 1);
            QVERIFY2(w.desktop().calls[0].startsWith("askYesNo: "),
                     qPrintable(w.desktop().calls[0]));
            QVERIFY(w.desktop().calls[0].contains("interrupted"));
            QCOMPARE(filesIn(folder_), yes ? (QStringList{"0001.jpg", "y.jpg"})
                                           : (QStringList{"0001.jpg", "pic0001.jpg"}));
            if (yes) {
                QCOMPARE(w.status(), QStringLiteral("1 files from 1 are restored"));
            }

            // Asked once: the next start does not ask again.
            auto again = std::make_unique<folivar::TForm1>();
            auto desktop = std::make_unique<ScriptedDesktop>();
            ScriptedDesktop* asked = desktop.get();
            again->setDesktop(std::move(desktop));
            QTest::qWait(50);
            QVERIFY(asked->calls.isEmpty());
        }
    }

private:
    static QByteArray readFile(const QString& path) { return folivar::test::readFile(path); }

    std::unique_ptr<TempTree> tree_;
    QString folder_;
};

QTEST_MAIN(UndoTest)
#include "UndoTest.moc"
