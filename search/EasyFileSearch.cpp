#include "search/EasyFileSearch.h"

namespace folivar {

namespace {
constexpr const char* kVersion = "TEasyFileSearch v1.02";
}

TEasyFileSearch::TEasyFileSearch()
    : searchOptions_{okIncludeSubfolder,  okLookForReadOnlyFile, okLookForHiddenFile,
                     okLookForSystemFile, okLookForDirectory,    okLookForArchiveFile,
                     okLookForAnyFile},
      dateFilterFirstDate_(Today()),
      dateFilterSecondDate_(Today()) {
    walker_.OnFileFound = [this](TFileInformations info) {
        if (OnFileFound) {
            OnFileFound(std::move(info));
        }
    };
    walker_.OnAcceptFile = [this](TFileInformations info) {
        return OnAcceptFile ? OnAcceptFile(std::move(info)) : true;
    };
    walker_.OnChangeFolder = [this](std::string path) {
        if (OnChangeFolder) {
            OnChangeFolder(std::move(path));
        }
    };
    walker_.OnStatistics = [this](TStatistics stats) {
        if (OnStatistics) {
            OnStatistics(stats);
        }
    };
}

std::string TEasyFileSearch::Version() const {
    return kVersion;
}

void TEasyFileSearch::SetVersion(const std::string&) {}

bool TEasyFileSearch::Execute() {
    walker_.IncludeSubfolder = searchOptions_.contains(okIncludeSubfolder);
    walker_.LookForReadOnlyFile = searchOptions_.contains(okLookForReadOnlyFile);
    walker_.LookForHiddenFile = searchOptions_.contains(okLookForHiddenFile);
    walker_.LookForSystemFile = searchOptions_.contains(okLookForSystemFile);
    walker_.LookForDirectory = searchOptions_.contains(okLookForDirectory);
    walker_.LookForArchiveFile = searchOptions_.contains(okLookForArchiveFile);
    walker_.LookForAnyFile = searchOptions_.contains(okLookForAnyFile);

    walker_.FilterOnDate = filterKind_.contains(fkFilterOnDate);
    walker_.DateFilterFileAccess = dateFilterFileAccess_;
    walker_.DateFilterKind = dateFilterKind_;
    walker_.DateFilterFirstDate = dateFilterFirstDate_;
    walker_.DateFilterSecondDate = dateFilterSecondDate_;
    walker_.FilterOnSize = filterKind_.contains(fkFilterOnSize);
    walker_.SizeFilterKind = sizeFilterKind_;
    walker_.SizeFilterSize = sizeFilterSize_;
    walker_.ExcludedFiles = excludedFiles_;
    walker_.FileNames = fileNames_;

    return walker_.Search();
}

}  // namespace folivar
