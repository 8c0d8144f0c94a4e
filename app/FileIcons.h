#pragma once

#include <QFileIconProvider>
#include <QIcon>

namespace folivar {

// Icons for the folder tree and the shell file pane that every desktop has:
// the icon theme's picture for the file's type where a theme has one, else
// the style's own file, folder and drive pictures, which Qt carries itself.
// The file models ask it from their reader threads; the style's pictures are
// made beforehand, on the window's thread.
class FileIcons : public QFileIconProvider {
public:
    FileIcons();

    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;

    // The one the window's file models share. It is made on first use, which
    // must be on the window's thread, and lasts as long as the process, as
    // long as any model that may still ask it.
    static FileIcons& shared();

private:
    QIcon computer_;
    QIcon drive_;
    QIcon folder_;
    QIcon folderLink_;
    QIcon file_;
    QIcon fileLink_;
};

}  // namespace folivar
