#pragma once

#include <QFileSystemModel>
#include <QTimer>
#include <QTreeView>

namespace folivar {

// The folder tree: every folder of the file system, hidden ones included, no
// files. It does not follow changes on disk by itself; refreshSelected()
// reads the folders again.
class FolderTree : public QTreeView {
    Q_OBJECT

public:
    explicit FolderTree(QWidget* parent = nullptr);

    // Selects the folder named by path, opening the tree down to it. Throws
    // std::runtime_error when path names no folder.
    void setPath(const QString& path);

    // The selected folder's path; empty when nothing is selected.
    QString path() const;

    // Reads the folders again from disk and selects again what was selected
    // (or its nearest folder still there).
    void refreshSelected();

    QFileSystemModel* folderModel() const { return model_; }

signals:
    // After every change of the selected folder.
    void changed();
    // After refreshSelected() has read the folders again.
    void refreshed();

private:
    void installModel();

    QFileSystemModel* model_ = nullptr;
    bool reselecting_ = false;
    QTimer keepInSight_;
};

}  // namespace folivar
