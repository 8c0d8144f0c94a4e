#include "app/FileIcons.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>

namespace folivar {

FileIcons::FileIcons() {
    const QStyle* style = QApplication::style();
    computer_ = style->standardIcon(QStyle::SP_ComputerIcon);
    drive_ = style->standardIcon(QStyle::SP_DriveHDIcon);
    folder_ = style->standardIcon(QStyle::SP_DirIcon);
    folderLink_ = style->standardIcon(QStyle::SP_DirLinkIcon);
    file_ = style->standardIcon(QStyle::SP_FileIcon);
    fileLink_ = style->standardIcon(QStyle::SP_FileLinkIcon);
}

FileIcons& FileIcons::shared() {
    static auto* icons = new FileIcons;  // never destroyed: see the header
    return *icons;
}

QIcon FileIcons::icon(IconType type) const {
    // The theme's, by its standard name ("folder", "drive-harddisk", ...).
    QIcon themed = QAbstractFileIconProvider::icon(type);
    if (!themed.isNull()) {
        return themed;
    }
    switch (type) {
        case Computer:
            return computer_;
        case Drive:
            return drive_;
        case Folder:
            return folder_;
        default:
            return file_;
    }
}

QIcon FileIcons::icon(const QFileInfo& info) const {
    // The theme's picture for the file's type (it asks icon(IconType) above
    // for folders and drives).
    QIcon themed = QAbstractFileIconProvider::icon(info);
    if (!themed.isNull()) {
        return themed;
    }
    if (info.isRoot()) {
        return drive_;
    }
    if (info.isDir()) {
        return info.isSymLink() ? folderLink_ : folder_;
    }
    // Files, and what is neither file nor folder (pipes, sockets, devices).
    return info.isSymLink() ? fileLink_ : file_;
}

}  // namespace folivar
