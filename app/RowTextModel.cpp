#include "app/RowTextModel.h"

namespace folivar {

namespace {

constexpr std::array<const char*, RowTextModel::kColumnCount> kCaptions{
    "FileName", "Path", "Size", "Type", "Modified", "Group", "Status"};

bool isColumn(int column) {
    return column >= 0 && column < RowTextModel::kColumnCount;
}

}  // namespace

RowTextModel::RowTextModel(QObject* parent) : QAbstractTableModel(parent) {}

QString RowTextModel::caption(int column) {
    return isColumn(column) ? QString::fromLatin1(kCaptions[static_cast<size_t>(column)])
                            : QString();
}

void RowTextModel::appendRow(const Row& row) {
    const int at = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), at, at);
    rows_.push_back(row);
    endInsertRows();
}

void RowTextModel::clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

int RowTextModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RowTextModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant RowTextModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount() ||
        !isColumn(index.column())) {
        return {};
    }
    return rows_[static_cast<size_t>(index.row())][static_cast<size_t>(index.column())];
}

QVariant RowTextModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && isColumn(section)) {
        return caption(section);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace folivar
