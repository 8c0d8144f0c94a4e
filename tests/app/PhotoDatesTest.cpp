// The window's wiring of dates taken: the three structures that name files by
// them and DateFormatEdit, through RENAME and its undo, and Sort by Date Taken.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "WindowFixture.h"
#include "support/MediaFiles.h"
#include "support/TempTree.h"

using folivar::fcFileName;
using folivar::fcStatus;
using folivar::test::fileRow;
using folivar::test::filesIn;
using folivar::test::TempTree;
using folivar::test::WindowFixture;

namespace {

const char* const kOriginal = "Exif.Photo.DateTimeOriginal";

}  // namespace

class PhotoDatesTest : public QObject {
    Q_OBJECT

private slots:
    // Three photos listed newest first: b.jpg (2023), c.jpg (no date but its
    // name), a.jpg (2021).
    void init() {
        tree_ = std::make_unique<TempTree>();
        folder_ = QString::fromStdString(tree_->path());
        folivar::test::writeJpeg(tree_->file("b.jpg"), {{kOriginal, "2023:04:15 12:34:56"}});
        tree_->file("IMG_20220101_080000.jpg", "no metadata");
        folivar::test::writeJpeg(tree_->file("a.jpg"), {{kOriginal, "2021:12:24 18:00:00"}});
    }

    void list(WindowFixture& w) {
        const std::string path = tree_->path() + "/";
        w.setRows({fileRow("b.jpg", "1", path), fileRow("IMG_20220101_080000.jpg", "1", path),
                   fileRow("a.jpg", "1", path)});
    }

    void sortByDateTakenOrdersTheListOldestFirst() {
        WindowFixture w;
        list(w);
        auto* sort = w.control<QAction>("SortByDateTaken1");
        QCOMPARE(sort->text(), QStringLiteral("Sort by Date Taken"));
        const QList<QAction*> items = w.control<QMenu>("PopupMenu1")->actions();
        QCOMPARE(items.indexOf(sort), items.indexOf(w.control<QAction>("UndoRename1")) + 1);
        sort->trigger();
        QCOMPARE(w.listColumn(fcFileName),
                 (QStringList{"a.jpg", "IMG_20220101_080000.jpg", "b.jpg"}));
        QCOMPARE(w.status(), QStringLiteral("3 files in list; Dates taken: 2 from metadata, 1 "
                                            "from names, 0 from modification times"));
        QVERIFY(w.control<QPushButton>("RenameButton")->isVisible());
    }

    void theDateStructuresRenameByDateTakenAndUndo() {
        WindowFixture w;
        list(w);
        w.control<QLineEdit>("PrefixEdit")->setText(QStringLiteral("trip_"));
        w.control<QLineEdit>("DateFormatEdit")->setText(QStringLiteral("yyyyMMdd-HHmm_"));
        auto* structures = w.control<QComboBox>("FileStructureBox");
        structures->setCurrentIndex(8);
        w.form().RenameButtonClick();
        QCOMPARE(filesIn(folder_),
                 (QStringList{"trip_20211224-1800_0003.jpg", "trip_20220101-0800_0002.jpg",
                              "trip_20230415-1234_0001.jpg"}));
        QCOMPARE(w.listColumn(fcStatus), (QStringList{"Renamed", "Renamed", "Renamed"}));

        w.control<QAction>("UndoRename1")->trigger();
        QCOMPARE(filesIn(folder_), (QStringList{"IMG_20220101_080000.jpg", "a.jpg", "b.jpg"}));
    }

    void theDateFormatRefusesWhatANameMayNotHold() {
        WindowFixture w;
        auto* edit = w.control<QLineEdit>("DateFormatEdit");
        edit->setText(QStringLiteral("HH:mm"));
        QCOMPARE(edit->text(), QStringLiteral("HHmm"));
        QCOMPARE(w.desktop().calls,
                 QStringList{"warning: The file name should not contain the following symbols: "
                             "\\/:*?\"<>|"});
        edit->setText(QStringLiteral("yyyy-MM-dd 'at' HH.mm"));
        QCOMPARE(edit->text(), QStringLiteral("yyyy-MM-dd 'at' HH.mm"));
        QCOMPARE(w.desktop().calls.size(), 1);
    }

private:
    std::unique_ptr<TempTree> tree_;
    QString folder_;
};

QTEST_MAIN(PhotoDatesTest)
#include "PhotoDatesTest.moc"
