#include "app/ShellRenameDelegate.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMetaProperty>

#include "app/EngineBridge.h"
#include "platform/FileSystem.h"
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
    if (files == nullptr) {
        if (!model->setData(index, newName, Qt::EditRole)) {
            emit renameRefused(refusalText(oldName, newName, false));
        }
        return;
    }
    // The program's own move, which never replaces a file (the model's
    // rename may, where the file system cannot refuse a taken name); the
    // model sees the new name through its watcher.
    const QString to = QDir(files->filePath(index.parent())).filePath(newName);
    const bool plain = !newName.isEmpty() && !newName.contains(QLatin1Char('/')) &&
                       newName != QStringLiteral(".") && newName != QStringLiteral("..");
    if (!plain ||
        !platform::fileSystem().moveFile(toEngine(files->filePath(index)), toEngine(to))) {
        emit renameRefused(refusalText(oldName, newName, plain && QFileInfo::exists(to)));
    }
}

QString ShellRenameDelegate::refusalText(const QString& oldName, const QString& newName,
                                         bool exists) {
    return QStringLiteral("Cannot rename %1 to %2: %3")
        .arg(oldName, newName, QString::fromLatin1(exists ? kAlreadyExists : kError));
}

}  // namespace folivar
