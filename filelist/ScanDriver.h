#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "filelist/FileTable.h"
#include "filelist/ScanSettings.h"
#include "search/EasyFileSearch.h"

namespace folivar {

// SCAN: turns the scan settings into one run of the search component per PATH
// entry and fills the file table with one row per file found. Binds the
// component's four events to itself for its whole life.
class ScanDriver {
public:
    enum class Result {
        NoPath,    // "You must enter a pathname!": beep, focus to PathEdit
        NoMask,    // "You must enter a mask!": beep, focus to ScanEdit1
        Completed  // summary written; set the buttons as below, FindDuplButton back to FIND DUPL
    };

    struct Outcome {
        Result result = Result::Completed;
        std::size_t rowCount = 0;
        bool renameEnabled = false;    // 1 or more rows
        bool findDuplEnabled = false;  // 2 or more rows
    };

    // What the window shows while the scan runs. Any of them may be empty.
    struct Events {
        // Every status line text: the refusals, each folder as it is entered,
        // "Error during the search operation!" and the summary.
        std::function<void(const std::string&)> status;
        // The PATH list once pruned and rid of missing folders; called before
        // the settings are read, so it is shown even when SizeText is refused.
        std::function<void(const std::vector<std::string>&)> pathList;
        // Around the emptying and refilling of the table. endUpdate follows
        // beginUpdate whatever happens, also when a mask error escapes.
        std::function<void()> beginUpdate;
        std::function<void()> endUpdate;
    };

    ScanDriver(TEasyFileSearch& search, FileTable& table);
    ScanDriver(const ScanDriver&) = delete;
    ScanDriver& operator=(const ScanDriver&) = delete;

    // Runs a scan. Throws EConvertError for a SizeText that is not a whole
    // number (only the PATH list has changed then) and lets EMaskException
    // through from the walk (rows found so far stay, no summary).
    Outcome scan(const ScanSettings& settings, const Events& events);

    // Summed over the runs of the last scan.
    std::uint32_t folderCount() const { return folderCount_; }
    std::uint32_t timeSpent() const { return timeSpent_; }
    std::uint32_t unreadableFolders() const { return unreadableFolders_; }

private:
    void setStatus(const std::string& text) const;

    TEasyFileSearch& search_;
    FileTable& table_;
    const ScanSettings* settings_ = nullptr;  // set while a scan runs
    const Events* events_ = nullptr;          // set while a scan runs
    std::uint32_t folderCount_ = 0;
    std::uint32_t timeSpent_ = 0;
    std::uint32_t unreadableFolders_ = 0;
};

}  // namespace folivar
