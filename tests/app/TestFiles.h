#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

namespace folivar::test {

// A temporary folder, removed with everything in it when the object goes.
class TempFolder {
public:
    TempFolder();
    // Its canonical path, without a trailing "/".
    const QString& path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
};

// Writes a file (and its folders) with the contents; a valid time becomes its
// last write time. The test stops when it cannot.
void writeFile(const QString& path, const QByteArray& contents = {},
               const QDateTime& modified = QDateTime());

// The file's contents; a null array when it cannot be read.
QByteArray readFile(const QString& path);

}  // namespace folivar::test
