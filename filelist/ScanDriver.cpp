#include "filelist/ScanDriver.h"

#include "filelist/PathPruning.h"
#include "filelist/RowTexts.h"
#include "filelist/SearchMapping.h"
#include "platform/FileSystem.h"

namespace folivar {

namespace {

// Brackets the refilling of the table, so the window's bulk update is closed
// on every way out, an escaping mask error included.
class UpdateBracket {
public:
    explicit UpdateBracket(const ScanDriver::Events& events) : events_(events) {
        if (events_.beginUpdate) {
            events_.beginUpdate();
        }
    }
    ~UpdateBracket() {
        if (events_.endUpdate) {
            events_.endUpdate();
        }
    }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;

private:
    const ScanDriver::Events& events_;
};

template <typename T>
class ScopedPointer {
public:
    ScopedPointer(const T*& slot, const T& value) : slot_(slot) { slot_ = &value; }
    ~ScopedPointer() { slot_ = nullptr; }
    ScopedPointer(const ScopedPointer&) = delete;
    ScopedPointer& operator=(const ScopedPointer&) = delete;

private:
    const T*& slot_;
};

std::string summary(std::size_t rows, std::uint32_t folders, std::uint32_t time,
                    std::uint32_t unreadable) {
    std::string text = std::to_string(rows) + " files in " + std::to_string(folders) +
                       " folders. Time spent - " + std::to_string(time) + " msec";
    if (unreadable > 0) {
        text += "; Unreadable folders - " + std::to_string(unreadable);
    }
    return text;
}

}  // namespace

ScanDriver::ScanDriver(TEasyFileSearch& search, FileTable& table) : search_(search), table_(table) {
    search_.OnChangeFolder = [this](std::string folder) { setStatus(folder); };
    search_.OnAcceptFile = [this](const TFileInformations& file) {
        return settings_ == nullptr || !settings_->ShortNamesOnly || isShortName(file.Name);
    };
    search_.OnFileFound = [this](const TFileInformations& file) {
        if ((file.Attr & faDirectory) == 0) {
            table_.append(rowFromFile(file));
        }
    };
    search_.OnStatistics = [this](TStatistics stats) {
        // Wrapping 32-bit sums, like the counters they stand for.
        folderCount_ += static_cast<std::uint32_t>(stats.FoldersWithFiles);
        timeSpent_ += static_cast<std::uint32_t>(stats.ElapsedTime);
        unreadableFolders_ += static_cast<std::uint32_t>(stats.FoldersUnreadable);
    };
}

void ScanDriver::setStatus(const std::string& text) const {
    if (events_ != nullptr && events_->status) {
        events_->status(text);
    }
}

ScanDriver::Outcome ScanDriver::scan(const ScanSettings& settings, const Events& events) {
    const ScopedPointer<Events> eventsInUse(events_, events);
    Outcome outcome;
    outcome.rowCount = table_.size();
    if (settings.Paths.empty()) {
        setStatus("You must enter a pathname!");
        outcome.result = Result::NoPath;
        return outcome;
    }
    if (settings.IncludeMasks.empty()) {
        setStatus("You must enter a mask!");
        outcome.result = Result::NoMask;
        return outcome;
    }

    std::vector<std::string> paths = settings.Paths;
    prunePaths(paths, settings.IncludeSubfolders);
    std::erase_if(
        paths, [](const std::string& path) { return !platform::fileSystem().isDirectory(path); });
    if (events.pathList) {
        events.pathList(paths);
    }

    writeScanSettings(settings, search_);

    folderCount_ = 0;
    timeSpent_ = 0;
    unreadableFolders_ = 0;
    {
        const ScopedPointer<ScanSettings> settingsInUse(settings_, settings);
        const UpdateBracket bracket(events);
        table_.clear();
        for (const std::string& path : paths) {
            search_.SetRootPath(path);
            if (!search_.Execute()) {
                setStatus("Error during the search operation!");
            }
        }
    }

    setStatus(summary(table_.size(), folderCount_, timeSpent_, unreadableFolders_));
    outcome.rowCount = table_.size();
    outcome.renameEnabled = outcome.rowCount >= 1;
    outcome.findDuplEnabled = outcome.rowCount >= 2;
    return outcome;
}

}  // namespace folivar
