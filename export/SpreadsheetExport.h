#pragma once

#include <functional>
#include <memory>
#include <string>

#include "export/SpreadsheetApplication.h"
#include "filelist/FileTable.h"

namespace folivar {

inline constexpr const char* kNoSpreadsheetMessage = "You need to first install Microsoft Excel!";
inline constexpr const char* kExportCaption = "Mirosel Folivar File List";
inline constexpr const char* kExportSheetName = "FileList";

// EXPORT: copies the file list into a new workbook of a spreadsheet
// application, one text cell per column of each row, and shows it. Holds the
// application object of the last export until the next one or quit().
class SpreadsheetExport {
public:
    enum class Result {
        EmptyList,      // nothing happened at all
        NoApplication,  // the warning was shown; nothing else changed
        Completed       // "<rows> files in list"
    };

    // What the window shows while the export runs. Any of them may be empty.
    struct Events {
        // "Please wait...", "<n>% are completed. Please wait..." whenever the
        // percentage changes, then "<rows> files in list".
        std::function<void(const std::string&)> status;
        // A modal warning: "You need to first install Microsoft Excel!".
        std::function<void(const std::string&)> warning;
        // Hide SCAN, RENAME and FIND DUPL and show the progress bar.
        std::function<void()> showProgress;
        // The progress bar's new position, only when it differs from the last
        // one of this export (the first row always reports).
        std::function<void(int)> progress;
        // Hide the progress bar and show the three buttons again; follows
        // showProgress also when a write fails midway.
        std::function<void()> hideProgress;
    };

    explicit SpreadsheetExport(SpreadsheetCreator create);

    // Runs one export of the table, which it does not change. A spreadsheet
    // call failing after creation throws ESpreadsheetError (or whatever the
    // application throws) with its text; the status line keeps what it showed
    // last, and the buttons are back if they had been hidden.
    Result exportList(const FileTable& table, const Events& events);

    // The window is closing: "Quit" on the application object of the last
    // export, if any.
    void quit();

    // The application object of the last export that created one; nullptr
    // before.
    SpreadsheetApplication* application() const { return application_.get(); }

private:
    SpreadsheetCreator create_;
    std::unique_ptr<SpreadsheetApplication> application_;
};

}  // namespace folivar
