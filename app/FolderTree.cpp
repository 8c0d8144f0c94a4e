#include "app/FolderTree.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <stdexcept>

#include "app/EngineBridge.h"
#include "app/FileIcons.h"

namespace folivar {

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    keepInSight_.setSingleShot(true);
    keepInSight_.setInterval(50);
    connect(&keepInSight_, &QTimer::timeout, this, [this] {
        if (currentIndex().isValid()) {
            scrollTo(currentIndex());
        }
    });
    model_->setOption(QFileSystemModel::DontWatchForChanges);
    model_->setIconProvider(&FileIcons::shared());
    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot | QDir::Hidden);
    model_->setRootPath(QDir::rootPath());
    setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) {
        hideColumn(column);
    }
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!reselecting_) {
            emit changed();
        }
    });
    // Folders arrive from a reader thread and are sorted afterwards: once the
    // folders above the selected one have settled, bring it into sight. Rows
    // that come below it (its own subfolders, read again) move nothing.
    connect(model_, &QFileSystemModel::rowsInserted, this, [this](const QModelIndex& under) {
        if (isAbove(model_->filePath(under), path())) {
            keepInSight_.start();
        }
    });
    // The root has no expand button of its own: show its folders open.
    expand(model_->index(QDir::rootPath()));
}

void FolderTree::setPath(const QString& path) {
    const QModelIndex index = path.isEmpty() ? QModelIndex() : model_->index(path);
    if (!index.isValid() || !model_->isDir(index)) {
        throw std::runtime_error(
            QStringLiteral("Cannot find the folder \"%1\"").arg(path).toStdString());
    }
    setCurrentIndex(index);
    scrollTo(index);
}

QString FolderTree::path() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? model_->filePath(index) : QString();
}

void FolderTree::refreshSelected() {
    const QString before = path();
    // The selected folder, or the nearest one above it that is still there:
    // reading that one again drops the folders that went.
    QString folder = before.isEmpty() ? QDir::rootPath() : before;
    while (!folderExists(folder) && folder != QDir::rootPath()) {
        folder = QFileInfo(folder).path();
    }
    reselecting_ = true;
    if (!before.isEmpty() && folder != before) {
        setCurrentIndex(model_->index(folder));
    }
    readAgain(folder);
    reselecting_ = false;
    // Selecting the same folder again is no change; falling back to a parent is.
    if (path() != before) {
        emit changed();
    }
    emit refreshed();
}

void FolderTree::readAgain(const QString& folder) {
    // The model lists a folder again when it is asked to fetch it while its
    // rows count as not read yet, and making another folder its root path
    // marks the old one so. The computer (the empty path) as the root in
    // between reads no folder at all. Expanded branches, the selection and
    // the scroll position stay; only this folder's rows change.
    if (model_->rootPath() != folder) {
        model_->setRootPath(folder);
    }
    model_->setRootPath(QString());
    model_->setRootPath(folder);
}

bool FolderTree::isAbove(const QString& folder, const QString& path) {
    if (folder.isEmpty() || path.isEmpty() || folder == path) {
        return false;
    }
    return folder == QDir::rootPath() || path.startsWith(folder + QLatin1Char('/'));
}

}  // namespace folivar
