#include "app/FileListModel.h"

#include <QString>
#include <limits>

#include "app/EngineBridge.h"
#include "filelist/FileRow.h"
#include "renaming/RenameOperations.h"

namespace folivar {

FileListModel::FileListModel(const FileTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {}

void FileListModel::rowsAboutToChange() {
    if (changeDepth_++ == 0) {
        beginResetModel();
    }
}

void FileListModel::rowsChanged() {
    if (changeDepth_ > 0 && --changeDepth_ == 0) {
        endResetModel();
    }
}

void FileListModel::cellsChanged() {
    if (changeDepth_ == 0 && rowCount() > 0) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, kFileColumnCount - 1),
                         {Qt::DisplayRole, FailedRole});
    }
}

int FileListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    // A view counts rows in int; rows past that cannot be shown, but stay listed.
    constexpr auto kMostRows = static_cast<std::size_t>(std::numeric_limits<int>::max());
    return static_cast<int>(table_.size() < kMostRows ? table_.size() : kMostRows);
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFileColumnCount;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if ((role != Qt::DisplayRole && role != FailedRole) || !index.isValid() ||
        index.row() >= rowCount() || index.column() >= kFileColumnCount) {
        return {};
    }
    const FileRow& row = table_[static_cast<std::size_t>(index.row())];
    if (role == FailedRole) {
        return isFailedOutcome(row.cell(fcStatus));
    }
    return fromEngine(row.cell(static_cast<TFileColumn>(index.column())));
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role != Qt::DisplayRole || section < 0 || section >= kFileColumnCount) {
        return {};
    }
    const std::string_view caption = columnCaption(static_cast<TFileColumn>(section));
    return QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size()));
}

}  // namespace folivar
