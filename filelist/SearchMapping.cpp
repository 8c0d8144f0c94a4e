#include "filelist/SearchMapping.h"

#include "filelist/IntegerText.h"

namespace folivar {

void writeScanSettings(const ScanSettings& settings, TEasyFileSearch& search) {
    const int64_t size = StrToInt64(settings.sizeText);

    search.SetFileNames(settings.includeMasks);
    TOptions options = settings.options;
    options.erase(okLookForDirectory);
    search.SetSearchOptions(options);

    TFilter filter;
    if (settings.filterOnSize) {
        filter.insert(fkFilterOnSize);
    }
    search.SetFilterKind(filter);
    search.SetSizeFilterKind(settings.sizeKind);
    search.SetSizeFilterSize(size);

    if (settings.filterOnDate) {
        filter.insert(fkFilterOnDate);
    }
    search.SetFilterKind(filter);
    search.SetDateFilterKind(settings.dateKind);
    search.SetDateFilterFirstDate(settings.firstDate);
    search.SetDateFilterSecondDate(settings.secondDate);
    search.SetDateFilterFileAccess(settings.dateAccess);

    search.SetExcludedFiles(settings.excludeMasks);
}

}  // namespace folivar
