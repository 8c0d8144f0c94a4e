#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "renaming/NamePreview.h"

namespace folivar {

// The preview's rows: old full path, new full path and the Status the run
// would write, one row per list row in list order, or only the rows with a
// problem when asked. Why a row fails is its status cell's ReasonRole, the
// folders its move makes and its side files its NoteRole (both in its
// tooltip).
class PreviewModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int ReasonRole = Qt::UserRole;
    static constexpr int NoteRole = Qt::UserRole + 1;
    enum Column { OldPath, NewPath, Status, ColumnCount };

    explicit PreviewModel(std::vector<PreviewRow> rows, QObject* parent = nullptr);

    // Only the rows that would clash, fail or may fail (true), or every row.
    void showProblemsOnly(bool only);
    std::size_t problemCount() const { return problems_.size(); }
    const std::vector<PreviewRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const PreviewRow* rowAt(int row) const;

    std::vector<PreviewRow> rows_;
    std::vector<std::size_t> problems_;  // indexes of the rows with a problem
    bool problemsOnly_ = false;
};

}  // namespace folivar
