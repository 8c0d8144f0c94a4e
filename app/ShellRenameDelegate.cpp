#include "app/ShellRenameDelegate.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMetaProperty>

#include "renaming/RenameOperations.h"

namespace folivar {

void ShellRenameDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const {
    const QByteArray property = editor->metaObject()->userProperty().name();
    const QString newName = editor->property(property.constData()).toString();
    const QString oldName = index.data(Qt::EditRole).toString();
    if (newName == oldName) {
        return;
    }
    const auto* files = qobject_cast<const QFileSystemModel*>(model);
    const QString folder = files != nullptr ? files->filePath(index.parent()) : QString();
    // Asked first: a name taken is never handed to the file system to rename onto.
    const bool exists = !newName.isEmpty() && !folder.isEmpty() &&
                        QFileInfo::exists(QDir(folder).filePath(newName));
    if (exists || !model->setData(index, newName, Qt::EditRole)) {
        emit renameRefused(refusalText(oldName, newName, exists));
    }
}

QString ShellRenameDelegate::refusalText(const QString& oldName, const QString& newName,
                                         bool exists) {
    return QStringLiteral("Cannot rename %1 to %2: %3")
        .arg(oldName, newName, QString::fromLatin1(exists ? kAlreadyExists : kError));
}

}  // namespace folivar
