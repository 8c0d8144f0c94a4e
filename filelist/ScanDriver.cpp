#include "filelist/ScanDriver.h"

#include "filelist/ListStatus.h"
#include "filelist/RowTexts.h"
#include "filelist/SearchMapping.h"
#include "platform/WorkStopped.h"

namespace folivar {

namespace {

// Marks the walk that runs, so the component's events reach the table only
// then, on every way out.
class RunningWalk {
public:
    RunningWalk(ProgressReporter*& slot, ProgressReporter& report) : slot_(slot) {
        slot_ = &report;
    }
    ~RunningWalk() { slot_ = nullptr; }
    RunningWalk(const RunningWalk&) = delete;
    RunningWalk& operator=(const RunningWalk&) = delete;

private:
    ProgressReporter*& slot_;
};

}  // namespace

ScanDriver::ScanDriver(TEasyFileSearch& search, FileTable& table) : search_(search), table_(table) {
    search_.OnFileFound = [this](TFileInformations file) { fileFound(file); };
    search_.OnAcceptFile = [this](TFileInformations file) { return acceptFile(file); };
    search_.OnChangeFolder = [this](std::string folder) { changeFolder(folder); };
    search_.OnStatistics = [this](TStatistics stats) { statistics(stats); };
}

void ScanDriver::prepare(const ScanSettings& settings) {
    writeScanSettings(settings, search_);
    shortNamesOnly_ = settings.shortNamesOnly;
}

ScanDriver::Totals ScanDriver::walk(const std::vector<std::string>& folders,
                                    ProgressReporter& report) {
    const RunningWalk running(report_, report);
    totals_ = Totals{};
    table_.clear();
    try {
        for (const std::string& folder : folders) {
            search_.SetRootPath(folder);
            if (!search_.Execute()) {
                report.status("Error during the search operation!");
            }
        }
    } catch (const platform::WorkStopped&) {
        // Out of the walk from an event; its read-ahead is joined by now.
        totals_.stopped = true;
    }
    return totals_;
}

void ScanDriver::fileFound(const TFileInformations& file) {
    if (report_ == nullptr) {
        return;
    }
    if ((file.Attr & faDirectory) == 0) {
        table_.append(rowFromFile(file));
    }
    report_->working();
    stopIfAsked();
}

bool ScanDriver::acceptFile(const TFileInformations& file) const {
    return !shortNamesOnly_ || isShortName(file.Name);
}

void ScanDriver::changeFolder(const std::string& folder) {
    if (report_ != nullptr) {
        report_->passing(folder);
        stopIfAsked();
    }
}

void ScanDriver::stopIfAsked() {
    if (report_->stopRequested()) {
        throw platform::WorkStopped();
    }
}

void ScanDriver::statistics(const TStatistics& stats) {
    if (report_ != nullptr) {
        totals_.foldersWithFiles += static_cast<std::uint32_t>(stats.FoldersWithFiles);
        totals_.timeSpent += static_cast<std::uint32_t>(stats.ElapsedTime);
        totals_.unreadableFolders += static_cast<std::uint32_t>(stats.FoldersUnreadable);
    }
}

std::string scanSummary(std::size_t rowCount, const ScanDriver::Totals& totals) {
    if (totals.stopped) {
        return stoppedText(filesInListText(rowCount));
    }
    std::string text = std::to_string(rowCount) + " files in " +
                       std::to_string(totals.foldersWithFiles) + " folders. Time spent - " +
                       std::to_string(totals.timeSpent) + " msec";
    if (totals.unreadableFolders > 0) {
        text += "; Unreadable folders - " + std::to_string(totals.unreadableFolders);
    }
    return text;
}

}  // namespace folivar
