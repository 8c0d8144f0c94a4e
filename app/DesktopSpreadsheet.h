#pragma once

#include <QString>
#include <functional>

#include "app/Desktop.h"
#include "export/SpreadsheetApplication.h"

namespace folivar {

// The export's spreadsheet application on the user's desktop: a workbook
// file opened with its default program. desktop is asked at each call, so a
// desktop installed after this is made is the one used; why a workbook could
// not be opened is handed to tell.
SpreadsheetCreator desktopSpreadsheet(std::function<Desktop&()> desktop,
                                      std::function<void(const QString&)> tell);

}  // namespace folivar
