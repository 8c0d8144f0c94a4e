#pragma once

#include <QAbstractTableModel>

#include "filelist/FileTable.h"
#include "session/RowsObserver.h"

namespace folivar {

// Shows the session's file table: seven columns, the row texts as they stand,
// read-only. It follows the table as the session's observer: a change of rows
// resets the views once, however the changes nest; rewritten cells are read
// again.
class FileListModel : public QAbstractTableModel, public RowsObserver {
    Q_OBJECT

public:
    // Any cell of a row answers, as a bool, whether the row's outcome is a
    // failure, so painting never reads the Status text again.
    static constexpr int FailedRole = Qt::UserRole + 1;

    explicit FileListModel(const FileTable& table, QObject* parent = nullptr);

    void rowsAboutToChange() override;
    void rowsChanged() override;
    void cellsChanged() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const FileTable& table_;
    int changeDepth_ = 0;
};

}  // namespace folivar
