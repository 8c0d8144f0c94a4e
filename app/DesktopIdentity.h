#pragma once

#include <QIcon>
#include <QString>

namespace folivar {

// The name of the program's desktop entry, AppStream component and icon:
// the same one the installation gives its files.
QString desktopEntryName();

// The program's own icon at every size it is drawn for.
QIcon programIcon();

// Tells the desktop who the program is: the icon of its windows and dialogs
// and the desktop entry they belong to. Needs the application object.
void presentToDesktop();

}  // namespace folivar
