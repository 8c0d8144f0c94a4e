#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "filelist/FileTable.h"
#include "filelist/ProgressReporter.h"
#include "filelist/ScanSettings.h"
#include "search/EasyFileSearch.h"

namespace folivar {

// The scan's part under SCAN: writes the settings into the search component,
// runs it once per folder and turns what it finds into rows. The component's
// four events call the four methods below: the driver binds them so, and no
// one else binds them.
class ScanDriver {
public:
    // Summed over the runs of one walk, wrapping like the 32-bit counters
    // they stand for.
    struct Totals {
        std::uint32_t foldersWithFiles = 0;
        std::uint32_t timeSpent = 0;  // milliseconds
        std::uint32_t unreadableFolders = 0;
        // The user stopped the walk: the rows found until then stay, and the
        // counts above are those of the folders walked to their end.
        bool stopped = false;
    };

    ScanDriver(TEasyFileSearch& search, FileTable& table);
    ScanDriver(const ScanDriver&) = delete;
    ScanDriver& operator=(const ScanDriver&) = delete;

    // Writes the settings into the component. Throws EConvertError for a
    // sizeText that is not a whole number, before anything changes.
    void prepare(const ScanSettings& settings);

    // Empties the table and runs the component over each folder in turn,
    // reporting each folder entered as a passing text and a run that fails as
    // "Error during the search operation!". Lets EMaskException through from
    // the walk; the rows found so far stay. Asks the reporter whether to stop
    // at every file found and folder entered.
    Totals walk(const std::vector<std::string>& folders, ProgressReporter& report);

    // The component's events. They act only while a walk runs.
    void fileFound(const TFileInformations& file);
    bool acceptFile(const TFileInformations& file) const;
    void changeFolder(const std::string& folder);
    void statistics(const TStatistics& stats);

private:
    // Leaves the walk by WorkStopped when the reporter is asked to stop.
    void stopIfAsked();

    TEasyFileSearch& search_;
    FileTable& table_;
    bool shortNamesOnly_ = false;
    ProgressReporter* report_ = nullptr;  // where the walk running now reports
    Totals totals_;
};

// "<rows> files in <folders> folders. Time spent - <ms> msec", then
// "; Unreadable folders - <n>" when some folder could not be listed; after a
// walk the user stopped, "Stopped - <rows> files in list".
std::string scanSummary(std::size_t rowCount, const ScanDriver::Totals& totals);

}  // namespace folivar
