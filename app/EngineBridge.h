#pragma once

#include <QDate>
#include <QString>
#include <string>

namespace folivar {

// Names go to the engine as the file system's bytes and come back the same way.
std::string toEngine(const QString& text);
QString fromEngine(const std::string& bytes);

// True when text names an existing folder (links followed), as the engine's
// file system sees it.
bool folderExists(const QString& text);

// Today's local date, from the engine's clock.
QDate todayDate();

}  // namespace folivar
