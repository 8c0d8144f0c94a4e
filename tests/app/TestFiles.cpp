#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace folivar::test {

TempFolder::TempFolder() {
    if (!dir_.isValid()) {
        qFatal("no temporary folder: %s", qPrintable(dir_.errorString()));
    }
    path_ = QDir(dir_.path()).canonicalPath();
}

void writeFile(const QString& path, const QByteArray& contents, const QDateTime& modified) {
    if (!QDir().mkpath(QFileInfo(path).path())) {
        qFatal("cannot make the folder of %s", qPrintable(path));
    }
    QFile file(path);
    // Flushed before the time is set, or closing would write it anew.
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() ||
        !file.flush()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    if (modified.isValid() && !file.setFileTime(modified, QFileDevice::FileModificationTime)) {
        qFatal("cannot set the time of %s", qPrintable(path));
    }
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

}  // namespace folivar::test
