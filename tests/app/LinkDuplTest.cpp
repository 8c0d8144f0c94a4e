#include <sys/stat.h>

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>

#include "WindowFixture.h"
#include "support/FaultyFileSystem.h"
#include "support/ScopedTmpfs.h"
#include "support/TempTree.h"

using folivar::fcFileName;
using folivar::fcStatus;
using folivar::RowSelection;
using folivar::test::FaultyFileSystem;
using folivar::test::readFile;
using folivar::test::ScopedTmpfs;
using folivar::test::TempTree;
using folivar::test::WindowFixture;

namespace {

// 2 KiB, so what a link gives back has a size of its own.
const QByteArray kSame(2048, 'x');

ino_t inodeOf(const QString& path) {
    struct stat status {};
    return ::stat(path.toLocal8Bit().constData(), &status) == 0 ? status.st_ino : 0;
}

}  // namespace

// LINK DUPL and Keep This Copy as the window wires them; on tmpfs, where
// data cannot be shared, so linking waits for the user's yes.
class LinkDuplTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        tree_ = std::make_unique<TempTree>();
        tmpfs_ = std::make_unique<ScopedTmpfs>(tree_->path(), "1m");
        if (!tmpfs_->mounted()) {
            QSKIP("cannot mount a tmpfs here");
        }
        folder_ = QString::fromStdString(tree_->path()) + "/in";
        // After the search: a.jpg "Orig", c.jpg and d.jpg "Dupl" of group 1.
        for (const char* name : {"a.jpg", "c.jpg", "d.jpg"}) {
            tree_->file(std::string("in/") + name, kSame.toStdString());
        }
        tree_->file("in/b.jpg", "other");
    }

    void cleanup() {
        tmpfs_.reset();
        tree_.reset();
    }

    void scan(WindowFixture& w) {
        folivar::test::setListEntries(w.control<QListWidget>("PathListBox"), {folder_});
        w.form().ScanButtonClick();
        w.form().ListViewColumnClick(fcFileName);
    }

    void scanAndFind(WindowFixture& w) {
        scan(w);
        w.control<QPushButton>("FindDuplButton")->click();
        QCOMPARE(w.listColumn(fcStatus), (QStringList{"Orig", "Dupl", "Dupl"}));
    }

    QString file(const char* name) const { return folder_ + "/" + name; }

    void verifyEveryNameReadsTheSame() const {
        for (const char* name : {"a.jpg", "c.jpg", "d.jpg"}) {
            QCOMPARE(readFile(file(name)), kSame);
        }
    }

    void linkDuplStandsBesideDelDuplOnly() {
        WindowFixture w;
        auto* find = w.control<QPushButton>("FindDuplButton");
        auto* link = w.control<QPushButton>("LinkDuplButton");
        scan(w);
        QVERIFY(link->isHidden());

        find->click();
        QCOMPARE(find->text(), QStringLiteral("DEL DUPL"));
        QCOMPARE(link->text(), QStringLiteral("LINK DUPL"));
        QVERIFY(link->isVisible() && link->isEnabled());
        QVERIFY(link->geometry().left() > find->geometry().right());
        QCOMPARE(link->parentWidget(), find->parentWidget());
        // In shell mode the banner stands in the buttons' place.
        w.control<QCheckBox>("CheckView")->click();
        QVERIFY(link->isHidden());
        w.control<QCheckBox>("CheckView")->click();
        QVERIFY(link->isVisible());

        w.desktop().yesNoAnswers = {true};
        bool shownWhileLinking = false;
        int exchanges = 0;
        FaultyFileSystem files;
        files.beforeExchange([&](const std::string&, const std::string&) {
            ++exchanges;
            shownWhileLinking = shownWhileLinking || link->isVisible() || find->isVisible();
        });
        link->click();
        QVERIFY(exchanges > 0);
        QVERIFY(!shownWhileLinking);
        QVERIFY(link->isVisible());
        QCOMPARE(find->text(), QStringLiteral("DEL DUPL"));

        // DEL DUPL repeats, LINK DUPL stays beside it.
        find->click();
        QCOMPARE(find->text(), QStringLiteral("DEL DUPL"));
        QVERIFY(link->isVisible());

        scan(w);
        QCOMPARE(find->text(), QStringLiteral("FIND DUPL"));
        QVERIFY(link->isHidden());
    }

    void theQuestionIsAskedOnceAndDecides_data() {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("statuses");
        QTest::addColumn<QString>("status");
        QTest::newRow("yes") << true << QStringList{"Orig", "Linked", "Linked"}
                             << QStringLiteral(
                                    "3 files in list; Shared - 0; Linked - 2; "
                                    "Remained - 0; Reclaimed - 4,0 Kb");
        QTest::newRow("no") << false << QStringList{"Orig", "Remained", "Remained"}
                            << QStringLiteral(
                                   "3 files in list; Shared - 0; Linked - 0; "
                                   "Remained - 2; Reclaimed - 0 bytes");
    }

    void theQuestionIsAskedOnceAndDecides() {
        QFETCH(bool, answer);
        QFETCH(QStringList, statuses);
        QFETCH(QString, status);
        WindowFixture w;
        scanAndFind(w);
        w.desktop().yesNoAnswers = {answer, answer};

        w.control<QPushButton>("LinkDuplButton")->click();

        QCOMPARE(w.desktop().calls.size(), 1);
        QVERIFY(w.desktop().calls[0].startsWith(QStringLiteral("askYesNo: ")));
        QVERIFY(
            w.desktop().calls[0].contains(QStringLiteral("a change to one is a change to all")));
        QCOMPARE(w.listColumn(fcStatus), statuses);
        QCOMPARE(w.status(), status);
        QCOMPARE(inodeOf(file("c.jpg")) == inodeOf(file("a.jpg")), answer);
        QCOMPARE(inodeOf(file("d.jpg")) == inodeOf(file("a.jpg")), answer);
        verifyEveryNameReadsTheSame();
    }

    void ctrlZGivesTheLinkedFilesTheirOwnDataBack() {
        WindowFixture w;
        scanAndFind(w);
        w.desktop().yesNoAnswers = {true};
        w.control<QPushButton>("LinkDuplButton")->click();
        QCOMPARE(inodeOf(file("c.jpg")), inodeOf(file("a.jpg")));

        QTest::keyClick(w.listView(), Qt::Key_Z, Qt::ControlModifier);

        QVERIFY(inodeOf(file("c.jpg")) != inodeOf(file("a.jpg")));
        QVERIFY(inodeOf(file("d.jpg")) != inodeOf(file("a.jpg")));
        QVERIFY(inodeOf(file("c.jpg")) != inodeOf(file("d.jpg")));
        verifyEveryNameReadsTheSame();
    }

    void keepThisCopyFollowsTheSelection() {
        WindowFixture w;
        auto* keep = w.control<QAction>("KeepThisCopy1");
        scan(w);
        w.select(RowSelection(4, true));
        QVERIFY(!keep->isEnabled());  // nothing marked yet

        w.control<QPushButton>("FindDuplButton")->click();
        w.select({true, false, false});
        QVERIFY(!keep->isEnabled());
        keep->trigger();
        QCOMPARE(w.listColumn(fcStatus), (QStringList{"Orig", "Dupl", "Dupl"}));

        w.select({false, true, false});
        QVERIFY(keep->isEnabled());
        keep->trigger();
        QCOMPARE(w.listColumn(fcStatus), (QStringList{"Dupl", "Orig", "Dupl"}));
        QVERIFY(!keep->isEnabled());  // the chosen row is "Orig" now

        // Of two selected rows of one group, the engine keeps the last.
        w.select({false, true, true});
        QVERIFY(keep->isEnabled());
        keep->trigger();
        QCOMPARE(w.listColumn(fcStatus), (QStringList{"Dupl", "Dupl", "Orig"}));
    }

private:
    std::unique_ptr<TempTree> tree_;
    std::unique_ptr<ScopedTmpfs> tmpfs_;
    QString folder_;
};

QTEST_MAIN(LinkDuplTest)
#include "LinkDuplTest.moc"
