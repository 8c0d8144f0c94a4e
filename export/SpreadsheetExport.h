#pragma once

#include <memory>
#include <string>

#include "export/SpreadsheetApplication.h"
#include "filelist/FileTable.h"
#include "filelist/ProgressSink.h"

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
        NoApplication,  // only the warning is to be shown; nothing else changed
        Completed,      // "<rows> files in list"
        Stopped         // the user stopped it: nothing is shown and no file is left
    };

    struct Outcome {
        Result result = Result::EmptyList;
        std::string warning;  // NoApplication: kNoSpreadsheetMessage, for a modal warning
    };

    explicit SpreadsheetExport(SpreadsheetCreator create);

    // Runs one export of the table, which it does not change. Shows
    // "Please wait..." once the application is there, then the progress bar in
    // place of the buttons while the rows are written, each new percentage
    // with "<n>% are completed. Please wait...", and "<rows> files in list". A
    // spreadsheet call failing after creation throws ESpreadsheetError (or
    // whatever the application throws) with its text; the status line keeps
    // what it showed last, and the buttons are back if they had been hidden.
    // Asked to stop before the last row is written, it drops the workbook
    // unshown and unwritten and says "Stopped - <rows> files in list; no
    // workbook is made". The workbook's writing itself, once every row is in,
    // is one step that runs to its end.
    Outcome exportList(const FileTable& table, ProgressSink& progress);

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
