#include "app/EngineBridge.h"

#include <QComboBox>
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

int chosenValue(const QComboBox* box, int fallback) {
    return box->currentIndex() < 0 ? fallback : box->currentData().toInt();
}

}  // namespace folivar
