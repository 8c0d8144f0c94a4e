#pragma once

#include <QDate>
#include <QString>
#include <string>

class QComboBox;

namespace folivar {

// Names go to the engine as the file system's bytes and come back the same way.
std::string toEngine(const QString& text);
QString fromEngine(const std::string& bytes);

// True when text names an existing folder (links followed), as the engine's
// file system sees it.
bool folderExists(const QString& text);

// Today's local date, from the engine's clock.
QDate todayDate();

// The engine's value the chosen entry of a drop-down list carries; fallback
// when none is chosen.
int chosenValue(const QComboBox* box, int fallback);

}  // namespace folivar
