#include "app/EngineBridge.h"

#include <QFile>

#include "platform/FileSystem.h"
#include "search/DateTime.h"

namespace folivar {

std::string toEngine(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

QString fromEngine(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

bool folderExists(const QString& text) {
    return !text.isEmpty() && platform::fileSystem().isDirectory(toEngine(text));
}

QDate todayDate() {
    int year = 0;
    int month = 0;
    int day = 0;
    DecodeDate(Today(), year, month, day);
    return QDate(year, month, day);
}

}  // namespace folivar
