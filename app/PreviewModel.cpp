#include "app/PreviewModel.h"

#include <QBrush>
#include <QColor>
#include <limits>

#include "app/EngineBridge.h"

namespace folivar {

PreviewModel::PreviewModel(std::vector<PreviewRow> rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(std::move(rows)) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].problem()) {
            problems_.push_back(i);
        }
    }
}

void PreviewModel::showProblemsOnly(bool only) {
    if (only == problemsOnly_) {
        return;
    }
    beginResetModel();
    problemsOnly_ = only;
    endResetModel();
}

int PreviewModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    constexpr auto kMostRows = static_cast<std::size_t>(std::numeric_limits<int>::max());
    const std::size_t count = problemsOnly_ ? problems_.size() : rows_.size();
    return static_cast<int>(count < kMostRows ? count : kMostRows);
}

int PreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

const PreviewRow* PreviewModel::rowAt(int row) const {
    if (row < 0 || row >= rowCount()) {
        return nullptr;
    }
    const auto at = static_cast<std::size_t>(row);
    return &rows_[problemsOnly_ ? problems_[at] : at];
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const {
    const PreviewRow* row = index.isValid() ? rowAt(index.row()) : nullptr;
    if (row == nullptr) {
        return {};
    }
    const QString reason = row->reason != nullptr ? QString::fromUtf8(row->reason) : QString();
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case OldPath:
                    return fromEngine(row->oldPath);
                case NewPath:
                    return fromEngine(row->newPath);
                case Status:
                    return QString::fromLatin1(row->status);
                default:
                    return {};
            }
        case ReasonRole:
            return index.column() == Status ? QVariant(reason) : QVariant();
        case NoteRole:
            return index.column() == Status ? QVariant(fromEngine(row->note())) : QVariant();
        case Qt::ToolTipRole: {
            if (index.column() != Status) {
                return {};
            }
            const QString note = fromEngine(row->note());
            const QString tip = reason.isEmpty() || note.isEmpty()
                                    ? reason + note
                                    : reason + QLatin1Char('\n') + note;
            return tip.isEmpty() ? QVariant() : QVariant(tip);
        }
        case Qt::ForegroundRole:
            return row->problem() ? QVariant(QBrush(QColor(0xb0, 0x20, 0x20))) : QVariant();
        default:
            return {};
    }
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
        case OldPath:
            return QStringLiteral("Old path");
        case NewPath:
            return QStringLiteral("New path");
        case Status:
            return QStringLiteral("Status");
        default:
            return {};
    }
}

}  // namespace folivar
