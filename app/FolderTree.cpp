#include "app/FolderTree.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <stdexcept>

#include "app/FileIcons.h"

namespace folivar {

FolderTree::FolderTree(QWidget* parent) : QTreeView(parent) {
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
    installModel();
}

void FolderTree::installModel() {
    auto* fresh = new QFileSystemModel(this);
    fresh->setOption(QFileSystemModel::DontWatchForChanges);
    fresh->setIconProvider(&FileIcons::shared());
    fresh->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot | QDir::Hidden);
    fresh->setRootPath(QDir::rootPath());
    QFileSystemModel* old = model_;
    QItemSelectionModel* oldSelection = selectionModel();
    model_ = fresh;
    setModel(fresh);  // a view keeps the old selection model alive: release it below
    for (int column = 1; column < fresh->columnCount(); ++column) {
        hideColumn(column);
    }
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!reselecting_) {
            emit changed();
        }
    });
    // Folders arrive from a reader thread and are sorted afterwards: once the
    // folders above the selected one have settled, bring it into sight.
    connect(fresh, &QFileSystemModel::rowsInserted, this, [this](const QModelIndex& parent) {
        const QString selected = path();
        if (!selected.isEmpty() && selected.startsWith(model_->filePath(parent))) {
            keepInSight_.start();
        }
    });
    // The root has no expand button of its own: show its folders open.
    expand(fresh->index(QDir::rootPath()));
    if (old != nullptr) {
        oldSelection->deleteLater();
        old->deleteLater();
    }
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
    QString selected = before;
    reselecting_ = true;
    installModel();
    while (!selected.isEmpty()) {
        try {
            setPath(selected);
            break;
        } catch (const std::runtime_error&) {
            const QString parentPath = QFileInfo(selected).path();
            selected = parentPath == selected ? QString() : parentPath;
        }
    }
    reselecting_ = false;
    // Selecting the same folder again is no change; falling back to a parent is.
    if (path() != before) {
        emit changed();
    }
    emit refreshed();
}

}  // namespace folivar
