#pragma once

#include <functional>
#include <string>

namespace folivar {

// What the workbook application asks of the desktop; the window fills these
// from its Desktop. Either may be empty: no check, no opening.
struct XlsxDesktop {
    // True when some application opens .xlsx files.
    std::function<bool()> hasSpreadsheetApplication;
    // Opens the file with the desktop's default application for it.
    std::function<void(const std::string& file, const std::string& directory)> open;
};

}  // namespace folivar
