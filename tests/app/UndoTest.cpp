#include <sys/stat.h>
#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <memory>
#include <optional>

#include "WindowFixture.h"
#include "platform/JournalLock.h"
#include "platform/StateFolder.h"
#include "renaming/BatchJournal.h"
#include "renaming/JournalHistory.h"
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
            QVERIFY(w.desktop().calls[0].contains("1 file in " + folder_ + "/, begun "));
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

    // RENAME ran twice (a double click): two Ctrl+Z give the first name back.
    void repeatedUndosTakeBackEarlierBatches() {
        WindowFixture w;
        tree_->file("beach.jpg", "sand");
        w.setRows({fileRow("beach.jpg", "4", tree_->path() + "/")});
        w.control<QLineEdit>("PrefixEdit")->setText("2024_");
        w.control<QComboBox>("FileStructureBox")->setCurrentIndex(4);  // prefix+oldname
        w.form().RenameButtonClick();
        w.form().RenameButtonClick();
        QCOMPARE(w.listColumn(fcFileName), QStringList{"2024_2024_beach.jpg"});
        QWidget* list = w.listView();
        QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(list, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.listColumn(fcFileName), QStringList{"beach.jpg"});
        QCOMPARE(readFile(folder_ + "/beach.jpg"), QByteArray("sand"));
    }

    // Another instance holds the journal: RENAME and Ctrl+Z say so and run nothing.
    void anotherInstancesBatchKeepsThisOneFromRunning() {
        WindowFixture w;
        listTheClash(w);
        const std::string folder = w.state().journalFolder();
        QVERIFY(folivar::platform::makePrivateFolder(folder));
        std::optional<folivar::platform::JournalLock> held;
        std::string why;
        QCOMPARE(folivar::platform::JournalLock::take(folder, held, why),
                 folivar::platform::JournalLock::Result::Taken);
        w.form().RenameButtonClick();
        QCOMPARE(w.status(), QString::fromLatin1(folivar::kJournalBusy));
        QTest::keyClick(w.listView(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.status(), QString::fromLatin1(folivar::kJournalBusy));
        QCOMPARE(filesIn(folder_), (QStringList{"0001.jpg", "y.jpg"}));
        QVERIFY(w.desktop().calls.isEmpty());
    }

    // A FIFO where the journal's lock should be: the start says the journal
    // is unusable, RENAME asks before it runs without undo, Ctrl+Z says it too.
    void anUnusableJournalIsToldAndABatchWithoutItAsked() {
        QString lock;
        WindowFixture w([&lock](const ScopedStateHome& state, ScriptedDesktop&) {
            QVERIFY(folivar::platform::makePrivateFolder(state.journalFolder()));
            lock = QString::fromStdString(state.journalFolder() + "/lock");
            QCOMPARE(::mkfifo(lock.toLocal8Bit().constData(), 0600), 0);
        });
        const QString unusable =
            "The undo journal cannot be used: " + lock + " is not a regular file of yours";
        QTRY_COMPARE(w.status(), unusable);
        QVERIFY(w.desktop().calls.isEmpty());

        listTheClash(w);
        for (const bool yes : {false, true}) {
            w.desktop().yesNoAnswers = {yes};
            w.form().RenameButtonClick();
            QCOMPARE(w.desktop().calls.size(), 1);
            QVERIFY2(w.desktop().calls[0].startsWith("askYesNo: This batch cannot be written into "
                                                     "the undo journal (" +
                                                     lock),
                     qPrintable(w.desktop().calls[0]));
            w.desktop().calls.clear();
            QCOMPARE(filesIn(folder_),
                     yes ? (QStringList{"0002.jpg", "y.jpg"}) : (QStringList{"0001.jpg", "y.jpg"}));
        }
        QTest::keyClick(w.listView(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.status(), unusable);
        QCOMPARE(filesIn(folder_), (QStringList{"0002.jpg", "y.jpg"}));
    }

private:
    static QByteArray readFile(const QString& path) { return folivar::test::readFile(path); }

    std::unique_ptr<TempTree> tree_;
    QString folder_;
};

QTEST_MAIN(UndoTest)
#include "UndoTest.moc"
