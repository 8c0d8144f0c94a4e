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

    // Reads the selected folder's subfolders again from disk (the top folder's
    // when nothing is selected). When the selected folder has gone, its
    // nearest folder still there is read again and selected instead. Every
    // other branch stays as it is, open or closed, and the view does not move.
    void refreshSelected();

    QFileSystemModel* folderModel() const { return model_; }

    // Folders above the selected one have just arrived: it is brought into
    // sight once they settle.
    bool bringingIntoSight() const { return keepInSight_.isActive(); }

signals:
    // After every change of the selected folder.
    void changed();
    // After refreshSelected() has read the folders again.
    void refreshed();

private:
    void readAgain(const QString& folder);
    // True when folder holds path somewhere below it.
    static bool isAbove(const QString& folder, const QString& path);

    QFileSystemModel* model_;
    bool reselecting_ = false;
    QTimer keepInSight_;
};

}  // namespace folivar
