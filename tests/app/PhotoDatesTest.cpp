// The window's wiring of dates taken: the three structures that name files by
// them and DateFormatEdit, through RENAME and its undo, and Sort by Date Taken.
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "WindowFixture.h"
#include "app/PreviewModel.h"
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

    // MOVE into "{yyyy}/{MM}" under a chosen folder, b.xmp along with b.jpg:
    // the preview tells both, the undo takes files and folders back.
    void movesIntoDateFoldersWithTheirSideFiles() {
        WindowFixture w;
        list(w);
        tree_->file("b.xmp", "b's side file");
        tree_->dir("t");
        w.desktop().folderAnswers.push_back(folder_ + QStringLiteral("/t/{yyyy}/{MM}"));
        w.desktop().yesNoAnswers.push_back(true);
        w.control<QComboBox>("RenMovBox")->setCurrentIndex(1);

        w.control<QAction>("PreviewNames1")->trigger();
        auto* dialog = w.form().findChild<QDialog*>("PreviewDialog");
        QVERIFY(dialog != nullptr);
        const QAbstractItemModel* preview =
            dialog->findChild<QAbstractItemView*>("PreviewView")->model();
        QCOMPARE(
            preview->index(0, folivar::PreviewModel::Status)
                .data(folivar::PreviewModel::NoteRole)
                .toString(),
            QStringLiteral("makes %1/t/2023/, %1/t/2023/04/; with b.xmp as b.xmp").arg(folder_));
        dialog->close();

        w.form().RenameButtonClick();
        QCOMPARE(filesIn(folder_ + QStringLiteral("/t/2023/04")), (QStringList{"b.jpg", "b.xmp"}));
        QCOMPARE(filesIn(folder_ + QStringLiteral("/t/2021/12")), QStringList{"a.jpg"});
        QCOMPARE(w.listColumn(fcStatus), (QStringList{"Moved", "Moved", "Moved"}));

        w.control<QAction>("UndoRename1")->trigger();
        QCOMPARE(filesIn(folder_),
                 (QStringList{"IMG_20220101_080000.jpg", "a.jpg", "b.jpg", "b.xmp"}));
        QVERIFY(QDir(folder_ + QStringLiteral("/t"))
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                    .isEmpty());
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
