#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTest>

#include "WindowFixture.h"
#include "app/FileListModel.h"

using folivar::FileListModel;
using folivar::FileRow;
using folivar::test::WindowFixture;

namespace {

constexpr int kFileName = 0;
constexpr int kSize = 2;
constexpr int kType = 3;

FileListModel* listModel(const WindowFixture& w) {
    auto* model = qobject_cast<FileListModel*>(w.control<QTableView>("ListView")->model());
    if (model == nullptr) {
        qFatal("ListView shows no file list");
    }
    return model;
}

void fill(const WindowFixture& w, const std::vector<FileRow>& rows) {
    FileListModel* model = listModel(w);
    model->beginBulkUpdate();
    model->table().clear();
    for (const FileRow& row : rows) {
        model->table().append(row);
    }
    model->endBulkUpdate();
}

FileRow row(std::string name, std::string size, std::string type = "jpg") {
    FileRow made;
    made.FileName = std::move(name);
    made.Path = "/p/";
    made.Size = std::move(size);
    made.Type = std::move(type);
    made.Modified = "1.1.2004";
    made.Group = "0";
    made.Status = "-";
    return made;
}

// Clicks the header of a column where a user clicks it.
void clickHeader(const WindowFixture& w, int column) {
    QHeaderView* header = w.control<QTableView>("ListView")->horizontalHeader();
    const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
}

QStringList selectedNames(const WindowFixture& w) {
    QItemSelectionModel* selection = w.control<QTableView>("ListView")->selectionModel();
    QStringList names;
    for (const QModelIndex& index : selection->selectedRows(kFileName)) {
        names << index.data().toString();
    }
    names.sort();
    return names;
}

}  // namespace

class ColumnClickTest : public QObject {
    Q_OBJECT

private slots:
    void clicksCycleAscendingAndDescending() {
        WindowFixture w;
        fill(w, {row("a", "10", "txt"), row("b", "9", "jpg"), row("c", "100", "png"),
                 row("d", "5368709120", "bmp")});
        struct Step {
            int column;
            QStringList names;
        };
        const QList<Step> steps{
            {kSize, {"b", "a", "c", "d"}},  // as numbers, and past 32 bits
            {kSize, {"d", "c", "a", "b"}},
            {kSize, {"b", "a", "c", "d"}},
            {kType, {"d", "b", "c", "a"}},
            {kSize, {"b", "a", "c", "d"}},  // another column in between: ascending again
        };
        for (const Step& step : steps) {
            clickHeader(w, step.column);
            QCOMPARE(w.listColumn(kFileName), step.names);
        }
        QVERIFY(w.desktop().calls.isEmpty());
    }

    void theSelectionStaysWithItsRows() {
        WindowFixture w;
        fill(w, {row("a", "40"), row("b", "30"), row("c", "20"), row("d", "10")});
        auto* view = w.control<QTableView>("ListView");
        QItemSelectionModel* selection = view->selectionModel();
        FileListModel* model = listModel(w);
        selection->select(model->index(0, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection->select(model->index(1, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection->setCurrentIndex(model->index(1, 0), QItemSelectionModel::NoUpdate);

        clickHeader(w, kSize);
        QCOMPARE(w.listColumn(kFileName), (QStringList{"d", "c", "b", "a"}));
        QCOMPARE(selectedNames(w), (QStringList{"a", "b"}));
        QCOMPARE(selection->currentIndex().row(), 2);
        // Whole rows stay selected, not a single cell of them.
        QVERIFY(selection->isRowSelected(3, QModelIndex()));
    }

    void aCellThatIsNoNumberStopsTheSortAndKeepsEveryRow() {
        WindowFixture w;
        fill(w, {row("a", "2"), row("b", "x1"), row("c", "1")});
        QItemSelectionModel* selection = w.control<QTableView>("ListView")->selectionModel();
        selection->select(listModel(w)->index(2, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);

        clickHeader(w, kSize);
        QCOMPARE(w.desktop().calls, QStringList{"error: 'x1' is not a valid integer value"});
        QCOMPARE(w.listColumn(kFileName), (QStringList{"a", "b", "c"}));
        QCOMPARE(selectedNames(w), QStringList{"c"});

        // The failed click did not count: once mended, Size sorts ascending.
        listModel(w)->table()[1].Size = "3";
        listModel(w)->cellsChanged();
        clickHeader(w, kSize);
        QCOMPARE(w.listColumn(kFileName), (QStringList{"c", "a", "b"}));
        QCOMPARE(selectedNames(w), QStringList{"c"});
    }

    void anEmptyListSortsWithoutEffect() {
        WindowFixture w;
        clickHeader(w, kSize);
        clickHeader(w, kSize);
        QVERIFY(w.desktop().calls.isEmpty());
        QCOMPARE(w.listColumn(kFileName), QStringList{});
        // The clicks still counted: a third is ascending.
        fill(w, {row("a", "2"), row("b", "1")});
        clickHeader(w, kSize);
        QCOMPARE(w.listColumn(kFileName), (QStringList{"b", "a"}));
    }
};

QTEST_MAIN(ColumnClickTest)
#include "ColumnClickTest.moc"
