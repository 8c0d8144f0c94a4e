#include <QSignalSpy>
#include <QTest>

#include "app/FileListModel.h"

using folivar::FileListModel;
using folivar::FileRow;
using folivar::FileTable;

class FileListModelTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheSevenColumnsUnderTheirCaptions() {
        FileTable table;
        FileListModel model(table);
        QCOMPARE(model.columnCount(), 7);
        QStringList captions;
        for (int column = 0; column < model.columnCount(); ++column) {
            captions << model.headerData(column, Qt::Horizontal).toString();
        }
        QCOMPARE(captions,
                 (QStringList{"FileName", "Path", "Size", "Type", "Modified", "Group", "Status"}));
        QVERIFY(!model.headerData(7, Qt::Horizontal).isValid());
    }

    void cellsAreTheRowTexts() {
        FileTable table;
        table.append({"Holiday.Photo.JPG", "/pics/", "5368709120", "JPG", "9.7.2004", "0", "-"});
        FileListModel model(table);
        QCOMPARE(model.rowCount(), 1);
        QStringList texts;
        for (int column = 0; column < 7; ++column) {
            texts << model.data(model.index(0, column)).toString();
        }
        QCOMPARE(texts, (QStringList{"Holiday.Photo.JPG", "/pics/", "5368709120", "JPG", "9.7.2004",
                                     "0", "-"}));
        QVERIFY(!model.data(model.index(0, 0), Qt::EditRole).isValid());
        QVERIFY(!model.data(model.index(1, 0)).isValid());
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    }

    // Names are the file system's bytes in UTF-8; a byte that is none shows as
    // a replacement mark and takes nothing else with it.
    void namesAreDecodedAsTheFileSystemsBytes() {
        FileTable table;
        table.append(
            {"caf\xE9-\xFF.jpg", "/d\xC3\xA9j\xC3\xA0/", "1", "jpg", "1.1.2004", "0", "-"});
        FileListModel model(table);
        QCOMPARE(model.data(model.index(0, 0)).toString(),
                 QString::fromUtf8("caf\uFFFD-\uFFFD.jpg"));
        QCOMPARE(model.data(model.index(0, 1)).toString(), QString::fromUtf8("/d\u00e9j\u00e0/"));
    }

    // Every cell of a row tells whether the row's outcome failed, and a
    // rewritten outcome is told to the views with it.
    void everyCellTellsWhetherItsRowFailed() {
        const QList<std::pair<std::string, bool>> outcomes{
            {"-", false},           {"Renamed", false},
            {"Error", true},        {"Already Exists", true},
            {"Dupl", false},        {"Not restored: gone", true},
            {"Not restored", false}};
        FileTable table;
        for (const auto& outcome : outcomes) {
            table.append({"a.jpg", "/x/", "1", "jpg", "1.1.2004", "0", outcome.first});
        }
        FileListModel model(table);
        for (int row = 0; row < outcomes.size(); ++row) {
            for (int column = 0; column < 7; ++column) {
                QCOMPARE(model.data(model.index(row, column), FileListModel::FailedRole).toBool(),
                         outcomes[row].second);
            }
        }
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        table[0].cell(folivar::fcStatus) = "Error";
        model.cellsChanged();
        QCOMPARE(changed.count(), 1);
        QVERIFY(changed[0][2].value<QList<int>>().contains(FileListModel::FailedRole));
        QVERIFY(model.data(model.index(0, 0), FileListModel::FailedRole).toBool());
    }

    // However often an operation brackets its work, views reset once.
    void bulkUpdatesNestIntoOneReset() {
        FileTable table;
        FileListModel model(table);
        QSignalSpy begun(&model, &QAbstractItemModel::modelAboutToBeReset);
        QSignalSpy ended(&model, &QAbstractItemModel::modelReset);
        model.rowsAboutToChange();
        model.rowsAboutToChange();
        table.append({"a", "/", "1", "", "1.1.2004", "0", "-"});
        model.rowsChanged();
        QCOMPARE(ended.count(), 0);
        model.rowsChanged();
        model.rowsChanged();  // one too many does no harm
        QCOMPARE(begun.count(), 1);
        QCOMPARE(ended.count(), 1);
        QCOMPARE(model.rowCount(), 1);
    }
};

QTEST_MAIN(FileListModelTest)
#include "FileListModelTest.moc"
