#include "filelist/SearchMapping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filelist/EConvertError.h"

namespace folivar {
namespace {

struct ComboCase {
    int index;
    TDateFilterAccessKind access;
    TDateFilterKind kind;
};

class ComboPositions : public testing::TestWithParam<ComboCase> {};

// The combo lists do not stand in the order of the enumerations.
TEST_P(ComboPositions, MapByPositionNotByOrdinal) {
    ScanSettings settings;
    settings.DateAccessIndex = settings.DateKindIndex = GetParam().index;
    TEasyFileSearch search;
    writeScanSettings(settings, search);
    EXPECT_EQ(search.DateFilterFileAccess(), GetParam().access);
    EXPECT_EQ(search.DateFilterKind(), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(Entries, ComboPositions,
                         testing::Values(ComboCase{0, dfakAnyFiles, dfkBetween},
                                         ComboCase{1, dfakCreatedFiles, dfkAfter},
                                         ComboCase{2, dfakModifiedFiles, dfkBefore},
                                         ComboCase{3, dfakOpenedFiles, dfkSame}));

TEST(SearchMapping, EachCheckBoxSetsItsOption) {
    const std::vector<std::pair<bool ScanSettings::*, TOptionsKind>> boxes = {
        {&ScanSettings::IncludeSubfolders, okIncludeSubfolder},
        {&ScanSettings::LookForAnyFiles, okLookForAnyFile},
        {&ScanSettings::LookForReadOnlyFiles, okLookForReadOnlyFile},
        {&ScanSettings::LookForHiddenFiles, okLookForHiddenFile},
        {&ScanSettings::LookForSystemFiles, okLookForSystemFile},
        {&ScanSettings::LookForArchiveFiles, okLookForArchiveFile}};
    TEasyFileSearch search;
    for (const auto& [box, option] : boxes) {
        ScanSettings settings;
        for (const auto& other : boxes) {
            settings.*(other.first) = other.first == box;
        }
        writeScanSettings(settings, search);
        EXPECT_EQ(search.SearchOptions(), TOptions{option});
    }
}

TEST(SearchMapping, MasksFiltersDatesAndA64BitSize) {
    TEasyFileSearch search;
    ScanSettings settings;
    settings.IncludeMasks = {"*.jpg", "*.png"};
    settings.ExcludeMasks = {"tmp*"};
    settings.FilterOnDate = true;
    settings.FirstDate = EncodeDate(2004, 7, 9);
    settings.SecondDate = EncodeDate(2004, 8, 1);
    settings.SizeText = "5368709120";
    writeScanSettings(settings, search);
    EXPECT_EQ(search.FileNames(), (std::vector<std::string>{"*.jpg", "*.png"}));
    EXPECT_EQ(search.ExcludedFiles(), std::vector<std::string>{"tmp*"});
    EXPECT_EQ(search.FilterKind(), TFilter{fkFilterOnDate});
    EXPECT_EQ(search.DateFilterFirstDate(), EncodeDate(2004, 7, 9));
    EXPECT_EQ(search.DateFilterSecondDate(), EncodeDate(2004, 8, 1));
    EXPECT_EQ(search.SizeFilterSize(), 5368709120LL);
    settings.FilterOnDate = false;
    settings.FilterOnSize = true;
    writeScanSettings(settings, search);
    EXPECT_EQ(search.FilterKind(), TFilter{fkFilterOnSize});
}

TEST(SearchMapping, BadSizeTextChangesNothingEvenWithTheFilterOff) {
    TEasyFileSearch search;
    search.SetFileNames({"*.old"});
    ScanSettings settings;
    settings.IncludeMasks = {"*.new"};
    settings.SizeText = "12 kB";
    try {
        writeScanSettings(settings, search);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'12 kB' is not a valid integer value");
    }
    EXPECT_EQ(search.FileNames(), std::vector<std::string>{"*.old"});
}

}  // namespace
}  // namespace folivar
