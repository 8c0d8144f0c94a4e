#pragma once

#include <QStyledItemDelegate>

namespace folivar {

// Edits a name in the shell file pane in place. A name the folder already
// holds, or one the file system refuses, changes nothing and is told, with
// the outcome the file list would show for it.
class ShellRenameDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

    // "Cannot rename <old> to <new>: Already Exists" (or ": Error").
    static QString refusalText(const QString& oldName, const QString& newName, bool exists);

signals:
    void renameRefused(const QString& text) const;
};

}  // namespace folivar
