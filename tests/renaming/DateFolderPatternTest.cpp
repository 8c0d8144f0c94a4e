// A move target holding dates between braces gives each photo the folder of
// its date; anything else between braces is a folder's own name.
#include "renaming/DateFolderPattern.h"

#include <gtest/gtest.h>

namespace folivar {
namespace {

struct Case {
    const char* target;
    const char* base;    // "" with folder "": no date in it
    const char* folder;  // for 15 April 2023, 09:05:07
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.target;
}

class DateFolders : public testing::TestWithParam<Case> {};

TEST_P(DateFolders, FolderOfTheDate) {
    const Case& c = GetParam();
    const DateFolderPattern pattern(c.target);
    EXPECT_EQ(pattern.holdsDates(), *c.folder != '\0');
    if (pattern.holdsDates()) {
        EXPECT_EQ(pattern.base(), c.base);
        EXPECT_EQ(pattern.folderFor(platform::LocalTime{2023, 4, 6, 15, 9, 5, 7, 0}), c.folder);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, DateFolders,
    testing::Values(Case{"/P/{yyyy}/{yyyy-MM}", "/P/", "/P/2023/2023-04/"},
                    Case{"/P/{yyyy}/{MM}/{dd}/", "/P/", "/P/2023/04/15/"},
                    Case{"/P/trip {yyyy}/x", "/P/", "/P/trip 2023/x/"},
                    Case{"/P/{yy}-{M}-{d}_{HH}h", "/P/", "/P/23-4-15_09h/"},
                    Case{"/P/{'Q'M}", "/P/", "/P/Q4/"},
                    // Not a date: the folder's own name, before and after a date.
                    Case{"/P/{backup}/{yyyy}/{zz}", "/P/{backup}/", "/P/{backup}/2023/{zz}/"},
                    Case{"{yyyy}", "", "2023/"}, Case{"/P/plain/", "", ""},
                    Case{"/P/{backup}", "", ""}, Case{"/P/{yyyy/MM}", "", ""},
                    Case{"/P/{}", "", ""}, Case{"/P/{yyyyy}", "", ""},
                    // Never a way out of the chosen folder.
                    Case{"/P/{yyyy}/../x", "", ""}, Case{"/P/{yyyy}/./x", "", ""}));

}  // namespace
}  // namespace folivar
