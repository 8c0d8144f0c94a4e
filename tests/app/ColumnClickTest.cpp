#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <algorithm>

#include "WindowFixture.h"
#include "session/FileListSession.h"

using folivar::fcFileName;
using folivar::fcSize;
using folivar::fcType;
using folivar::FileRow;
using folivar::test::WindowFixture;

namespace {

FileRow row(std::string name, std::string size, std::string type = "jpg") {
    return folivar::test::fileRow(std::move(name), std::move(size), "/p/", std::move(type));
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
    for (const QModelIndex& index : selection->selectedRows(fcFileName)) {
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
        w.setRows({row("a", "10", "txt"), row("b", "9", "jpg"), row("c", "100", "png"),
                   row("d", "5368709120", "bmp")});
        struct Step {
            int column;
            QStringList names;
            Qt::SortOrder shown;  // the header's sort indicator
        };
        const QList<Step> steps{
            {fcSize, {"b", "a", "c", "d"}, Qt::AscendingOrder},  // as numbers, past 32 bits
            {fcSize, {"d", "c", "a", "b"}, Qt::DescendingOrder},
            {fcSize, {"b", "a", "c", "d"}, Qt::AscendingOrder},
            {fcType, {"d", "b", "c", "a"}, Qt::AscendingOrder},
            {fcSize, {"b", "a", "c", "d"}, Qt::AscendingOrder},  // another column in between
        };
        QHeaderView* header = w.listView()->horizontalHeader();
        QVERIFY(header->isSortIndicatorShown());
        for (const Step& step : steps) {
            clickHeader(w, step.column);
            QCOMPARE(w.listColumn(fcFileName), step.names);
            QCOMPARE(header->sortIndicatorSection(), step.column);
            QCOMPARE(header->sortIndicatorOrder(), step.shown);
        }
        QVERIFY(w.desktop().calls.isEmpty());
        w.form().ShuffleItems1Click();  // the rows are in no column's order now
        QCOMPARE(header->sortIndicatorSection(), -1);
    }

    // A sort keeps the view where it was: no jump to the selection, no
    // scrolling back to the left. Home and End go to the first and last row.
    void theViewStaysWhereItWasAndHomeAndEndGoToTheEnds() {
        WindowFixture w;
        std::vector<FileRow> rows;
        for (int i = 0; i < 300; ++i) {
            rows.push_back(row("f" + std::to_string(1000 + i), std::to_string(i % 7)));
        }
        w.setRows(rows);
        QTableView* view = w.listView();
        view->setColumnWidth(fcFileName, 3 * view->viewport()->width());
        w.select(folivar::RowSelection(300, false));
        view->selectionModel()->setCurrentIndex(view->model()->index(299, fcSize),
                                                QItemSelectionModel::SelectCurrent);
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
        const int down = view->verticalScrollBar()->value();
        const int right = view->horizontalScrollBar()->value();
        QVERIFY(down > 0 && right > 0);

        clickHeader(w, fcSize);
        QCOMPARE(view->verticalScrollBar()->value(), down);
        QCOMPARE(view->horizontalScrollBar()->value(), right);

        view->setFocus();
        QTest::keyClick(view, Qt::Key_Home);
        QCOMPARE(view->currentIndex().row(), 0);
        QTest::keyClick(view, Qt::Key_End);
        QCOMPARE(view->currentIndex().row(), 299);
        QCOMPARE(view->currentIndex().column(), fcSize);
        const folivar::RowSelection selected = w.selected();
        QCOMPARE(std::count(selected.begin(), selected.end(), true), 1);
    }

    void theSelectionStaysWithItsRows() {
        WindowFixture w;
        w.setRows({row("a", "40"), row("b", "30"), row("c", "20"), row("d", "10")});
        auto* view = w.control<QTableView>("ListView");
        QItemSelectionModel* selection = view->selectionModel();
        const QAbstractItemModel* model = view->model();
        selection->select(model->index(0, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection->select(model->index(1, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection->setCurrentIndex(model->index(1, 0), QItemSelectionModel::NoUpdate);

        clickHeader(w, fcSize);
        QCOMPARE(w.listColumn(fcFileName), (QStringList{"d", "c", "b", "a"}));
        QCOMPARE(selectedNames(w), (QStringList{"a", "b"}));
        QCOMPARE(selection->currentIndex().row(), 2);
        // Whole rows stay selected, not a single cell of them.
        QVERIFY(selection->isRowSelected(3, QModelIndex()));
    }

    void aCellThatIsNoNumberStopsTheSortAndKeepsEveryRow() {
        WindowFixture w;
        w.setRows({row("a", "2"), row("b", "x1"), row("c", "1")});
        w.select({false, false, true});

        clickHeader(w, fcSize);
        QCOMPARE(w.desktop().calls, QStringList{"error: 'x1' is not a valid integer value"});
        QCOMPARE(w.listColumn(fcFileName), (QStringList{"a", "b", "c"}));
        QCOMPARE(w.listView()->horizontalHeader()->sortIndicatorSection(), -1);
        QCOMPARE(selectedNames(w), QStringList{"c"});

        // The failed click did not count: once mended, Size sorts ascending.
        w.form().session().setCell(1, fcSize, "3");
        clickHeader(w, fcSize);
        QCOMPARE(w.listColumn(fcFileName), (QStringList{"c", "a", "b"}));
        QCOMPARE(selectedNames(w), QStringList{"c"});
    }

    void anEmptyListSortsWithoutEffect() {
        WindowFixture w;
        clickHeader(w, fcSize);
        clickHeader(w, fcSize);
        QVERIFY(w.desktop().calls.isEmpty());
        QCOMPARE(w.listColumn(fcFileName), QStringList{});
        // The clicks still counted: a third is ascending.
        w.setRows({row("a", "2"), row("b", "1")});
        clickHeader(w, fcSize);
        QCOMPARE(w.listColumn(fcFileName), (QStringList{"b", "a"}));
    }
};

QTEST_MAIN(ColumnClickTest)
#include "ColumnClickTest.moc"
