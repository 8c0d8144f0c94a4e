#include "app/DesktopIdentity.h"

#include <QApplication>

namespace folivar {

QString desktopEntryName() {
    return QStringLiteral(FOLIVAR_DESKTOP_ENTRY);
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/folivar/icons/hicolor/%1x%1/apps/%2.png")
                         .arg(size)
                         .arg(desktopEntryName()),
                     QSize(size, size));
    }
    return icon;
}

void presentToDesktop() {
    QApplication::setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(desktopEntryName());
}

}  // namespace folivar
