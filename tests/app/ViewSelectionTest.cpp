#include <QItemSelectionModel>
#include <QStandardItemModel>
#include <QTest>

#include "app/ViewSelection.h"

using folivar::followRows;
using folivar::selectedRows;
using folivar::selectRows;

class ViewSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void selectsWholeRowsInRuns() {
        QStandardItemModel model(6, 3);
        QItemSelectionModel selection(&model);
        selectRows(selection, {true, true, false, true, false, true});
        QCOMPARE(selection.selection().size(), 3);  // rows 0-1, 3 and 5
        QCOMPARE(selection.selectedRows().size(), 4);
        QVERIFY(selection.isRowSelected(3, QModelIndex()));
        QVERIFY(!selection.isSelected(model.index(2, 1)));
        QCOMPARE(selectedRows(selection),
                 (std::vector<bool>{true, true, false, true, false, true}));

        selectRows(selection, {false, false, true});  // replaces, and misses no row past its end
        QCOMPARE(selectedRows(selection),
                 (std::vector<bool>{false, false, true, false, false, false}));
    }

    void readsRowsFromPartialAndOverlappingRanges() {
        QStandardItemModel model(4, 3);
        QItemSelectionModel selection(&model);
        selection.select(QItemSelection(model.index(1, 1), model.index(2, 1)),
                         QItemSelectionModel::Select);
        selection.select(model.index(2, 2), QItemSelectionModel::Select);
        QCOMPARE(selectedRows(selection), (std::vector<bool>{false, true, true, false}));
    }

    void flagsFollowTheirRows() {
        // The row that stood at 2 now leads, and so on.
        QCOMPARE(followRows({true, false, false, true}, {2, 3, 0, 1}),
                 (std::vector<bool>{false, true, true, false}));
        QCOMPARE(followRows({}, {}), std::vector<bool>{});
    }
};

QTEST_MAIN(ViewSelectionTest)
#include "ViewSelectionTest.moc"
