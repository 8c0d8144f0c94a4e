#pragma once

#include <QAbstractTableModel>

#include "filelist/FileTable.h"

namespace folivar {

// Shows the engine's file table: seven columns, the row texts as they stand,
// read-only. The table stays the engine's; whoever changes it tells the model,
// with a bulk update around a change of rows or cellsChanged() after cells
// were rewritten in place.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit FileListModel(FileTable& table, QObject* parent = nullptr);

    FileTable& table() { return table_; }
    const FileTable& table() const { return table_; }

    // Around any change to the rows: views drop what they know of the old
    // rows and read the new ones once, when the update ends. Nests.
    void beginBulkUpdate();
    void endBulkUpdate();

    // Every cell may have been rewritten; the rows are the same.
    void cellsChanged();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    FileTable& table_;
    int updateDepth_ = 0;
};

}  // namespace folivar
