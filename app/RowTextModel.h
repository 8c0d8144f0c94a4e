#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <array>
#include <vector>

namespace folivar {

// File list rows held as their seven texts (FileName, Path, Size, Type,
// Modified, Group, Status), read-only to the view.
class RowTextModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kColumnCount = 7;
    using Row = std::array<QString, kColumnCount>;

    explicit RowTextModel(QObject* parent = nullptr);

    // The header caption of a column.
    static QString caption(int column);

    void appendRow(const Row& row);
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<Row> rows_;
};

}  // namespace folivar
