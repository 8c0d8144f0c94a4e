#include "filelist/SearchMapping.h"

#include <array>
#include <utility>

#include "filelist/IntegerText.h"

namespace folivar {

namespace {

// The combo lists do not stand in the order of the enumerations they choose.
constexpr std::array kDateAccessAt = {dfakAnyFiles, dfakCreatedFiles, dfakModifiedFiles,
                                      dfakOpenedFiles};
constexpr std::array kDateKindAt = {dfkBetween, dfkAfter, dfkBefore, dfkSame};
constexpr std::array kSizeKindAt = {sfkSmallerOrEqualTo, sfkBiggerOrEqualTo};

template <typename Table, typename Set>
void setByIndex(const Table& table, int index, Set set) {
    if (index >= 0 && static_cast<std::size_t>(index) < table.size()) {
        set(table[static_cast<std::size_t>(index)]);
    }
}

}  // namespace

void writeScanSettings(const ScanSettings& settings, TEasyFileSearch& search) {
    const int64_t size = StrToInt64(settings.SizeText);

    search.SetFileNames(settings.IncludeMasks);

    TOptions options;
    const std::pair<bool, TOptionsKind> checks[] = {
        {settings.IncludeSubfolders, okIncludeSubfolder},
        {settings.LookForAnyFiles, okLookForAnyFile},
        {settings.LookForReadOnlyFiles, okLookForReadOnlyFile},
        {settings.LookForHiddenFiles, okLookForHiddenFile},
        {settings.LookForSystemFiles, okLookForSystemFile},
        {settings.LookForArchiveFiles, okLookForArchiveFile},
    };
    for (const auto& [checked, option] : checks) {
        if (checked) {
            options.insert(option);
        }
    }
    search.SetSearchOptions(options);

    TFilter filter;
    if (settings.FilterOnSize) {
        filter.insert(fkFilterOnSize);
    }
    search.SetFilterKind(filter);
    setByIndex(kSizeKindAt, settings.SizeKindIndex,
               [&](TSizeFilterKind kind) { search.SetSizeFilterKind(kind); });
    search.SetSizeFilterSize(size);

    if (settings.FilterOnDate) {
        filter.insert(fkFilterOnDate);
    }
    search.SetFilterKind(filter);
    setByIndex(kDateKindAt, settings.DateKindIndex,
               [&](TDateFilterKind kind) { search.SetDateFilterKind(kind); });
    search.SetDateFilterFirstDate(settings.FirstDate);
    search.SetDateFilterSecondDate(settings.SecondDate);
    setByIndex(kDateAccessAt, settings.DateAccessIndex,
               [&](TDateFilterAccessKind kind) { search.SetDateFilterFileAccess(kind); });

    search.SetExcludedFiles(settings.ExcludeMasks);
}

}  // namespace folivar
