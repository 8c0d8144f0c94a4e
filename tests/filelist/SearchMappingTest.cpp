#include "filelist/SearchMapping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filelist/EConvertError.h"
#include "support/ThrowsMessage.h"

namespace folivar {
namespace {

TEST(SearchMapping, MasksFiltersDatesAndA64BitSize) {
    TEasyFileSearch search;
    ScanSettings settings;
    settings.includeMasks = {"*.jpg", "*.png"};
    settings.excludeMasks = {"tmp*"};
    settings.filterOnDate = true;
    settings.dateAccess = dfakCreatedFiles;
    settings.dateKind = dfkAfter;
    settings.firstDate = EncodeDate(2004, 7, 9);
    settings.secondDate = EncodeDate(2004, 8, 1);
    settings.sizeKind = sfkBiggerOrEqualTo;
    settings.sizeText = "5368709120";
    writeScanSettings(settings, search);
    EXPECT_EQ(search.FileNames(), (std::vector<std::string>{"*.jpg", "*.png"}));
    EXPECT_EQ(search.ExcludedFiles(), std::vector<std::string>{"tmp*"});
    EXPECT_EQ(search.FilterKind(), TFilter{fkFilterOnDate});
    EXPECT_EQ(search.DateFilterFileAccess(), dfakCreatedFiles);
    EXPECT_EQ(search.DateFilterKind(), dfkAfter);
    EXPECT_EQ(search.DateFilterFirstDate(), EncodeDate(2004, 7, 9));
    EXPECT_EQ(search.DateFilterSecondDate(), EncodeDate(2004, 8, 1));
    EXPECT_EQ(search.SizeFilterKind(), sfkBiggerOrEqualTo);
    EXPECT_EQ(search.SizeFilterSize(), 5368709120LL);
    settings.filterOnDate = false;
    settings.filterOnSize = true;
    writeScanSettings(settings, search);
    EXPECT_EQ(search.FilterKind(), TFilter{fkFilterOnSize});
}

// Options come as they are, but a scan never looks for folders.
TEST(SearchMapping, OptionsNeverAskForFolders) {
    TEasyFileSearch search;
    ScanSettings settings;
    settings.options = {okIncludeSubfolder, okLookForDirectory, okLookForHiddenFile};
    writeScanSettings(settings, search);
    EXPECT_EQ(search.SearchOptions(), (TOptions{okIncludeSubfolder, okLookForHiddenFile}));
}

TEST(SearchMapping, BadSizeTextChangesNothingEvenWithTheFilterOff) {
    TEasyFileSearch search;
    search.SetFileNames({"*.old"});
    ScanSettings settings;
    settings.includeMasks = {"*.new"};
    settings.sizeText = "12 kB";
    EXPECT_THROW_MSG(writeScanSettings(settings, search), EConvertError,
                     "'12 kB' is not a valid integer value");
    EXPECT_EQ(search.FileNames(), std::vector<std::string>{"*.old"});
}

}  // namespace
}  // namespace folivar
