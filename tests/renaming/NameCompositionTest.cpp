#include "renaming/NameComposition.h"

#include "datetaken/CalendarTime.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace folivar {
namespace {

struct ComposeCase {
    FileStructure structure;
    std::string prefix;
    int capacity;
    std::int64_t origin;
    std::size_t row;
    std::string oldName;
    std::string expected;
};

void PrintTo(const ComposeCase& c, std::ostream* os) {
    *os << static_cast<int>(c.structure) << " '" << c.prefix << "' " << c.capacity << " "
        << c.origin << "+" << c.row << " " << c.oldName;
}

class Compose : public testing::TestWithParam<ComposeCase> {};

TEST_P(Compose, NewName) {
    const ComposeCase& c = GetParam();
    const NamingScheme scheme{c.prefix, c.structure, c.capacity, c.origin};
    EXPECT_EQ(ComposeName(scheme, c.row, c.oldName), c.expected);
}

using S = FileStructure;

INSTANTIATE_TEST_SUITE_P(
    Structures, Compose,
    testing::Values(ComposeCase{S::Counter, "pic", 4, 1, 0, "IMG_7.JPG", "0001.JPG"},
                    ComposeCase{S::CounterPrefix, "pic", 4, 1, 1, "IMG_7.JPG", "0002pic.JPG"},
                    ComposeCase{S::PrefixCounter, "pic", 4, 1, 0, "IMG_7.JPG", "pic0001.JPG"},
                    ComposeCase{S::PrefixCounter, "pic", 4, 1, 1, "notes.txt", "pic0002.txt"},
                    ComposeCase{S::PrefixCounter, "pic", 4, 1, 2, "README", "pic0003"},
                    ComposeCase{S::CounterOldName, "pic", 4, 1, 0, "IMG_7.JPG", "0001IMG_7.JPG"},
                    ComposeCase{S::CounterOldName, "pic", 4, 1, 2, "README", "0003README"},
                    ComposeCase{S::PrefixOldName, "pic", 4, 1, 9, "a.b", "pica.b"},
                    ComposeCase{S::CounterPrefixOldName, "x", 2, 7, 0, "a.b", "07xa.b"},
                    ComposeCase{S::PrefixCounterOldName, "x", 2, 7, 0, "a.b", "x07a.b"}));

INSTANTIATE_TEST_SUITE_P(Counters, Compose,
                         testing::Values(ComposeCase{S::Counter, "", 3, 995, 4, "a", "999"},
                                         ComposeCase{S::Counter, "", 3, 995, 5, "a", "1000"},
                                         ComposeCase{S::Counter, "", 3, 995, 11, "a", "1006"},
                                         ComposeCase{S::Counter, "", 6, 999999, 0, "a", "999999"},
                                         ComposeCase{S::Counter, "", 6, 999999, 1, "a", "1000000"},
                                         ComposeCase{S::Counter, "", 6, 1, 99999, "a", "100000"},
                                         ComposeCase{S::Counter, "", 1, 1, 0, "a", "1"},
                                         ComposeCase{S::Counter, "", 4, 1, 12344, "a", "12345"}));

INSTANTIATE_TEST_SUITE_P(
    Extensions, Compose,
    testing::Values(ComposeCase{S::Counter, "pic", 4, 1, 0, "README", "0001"},
                    ComposeCase{S::Counter, "pic", 4, 1, 0, "archive.tar.gz", "0001.gz"},
                    ComposeCase{S::Counter, "pic", 4, 1, 0, ".profile", "0001.profile"},
                    ComposeCase{S::Counter, "pic", 4, 1, 0, "trailing.", "0001."},
                    ComposeCase{S::PrefixCounter, "", 4, 1, 0, "a.Jpg", "0001.Jpg"},
                    ComposeCase{S::PrefixOldName, "", 4, 1, 0, "same.txt", "same.txt"},
                    ComposeCase{S::Counter, "", 4, 1, 0, "\xC3\xA9t\xC3\xA9.\xC3\x89X",
                                "0001.\xC3\x89X"}));

// The three structures of the date taken (Saturday 15 April 2023, 12:34:56.789).
TEST(ComposeByDate, DateCounterPrefixAndOldName) {
    const platform::LocalTime taken = *calendarTime(2023, 4, 15, 12, 34, 56, 789);
    struct Case {
        FileStructure structure;
        const char* format;
        const char* expected;
    };
    const Case cases[] = {
        {S::DateCounter, kDefaultDateFormat, "2023-04-15_12.34.56_0003.JPG"},
        {S::PrefixDateCounter, kDefaultDateFormat, "pic2023-04-15_12.34.56_0003.JPG"},
        {S::DateOldName, kDefaultDateFormat, "2023-04-15_12.34.56_IMG_7.JPG"},
        {S::DateCounter, "yyyyMMdd-", "20230415-0003.JPG"},
        {S::DateOldName, "ddd d MMM yyyy 'at' h.mm ap zzz ",
         "Sat 15 Apr 2023 at 12.34 pm 789 IMG_7.JPG"},
        {S::DateCounter, "", "0003.JPG"},
    };
    for (const Case& c : cases) {
        NamingScheme scheme{"pic", c.structure, 4, 1};
        scheme.dateFormat = c.format;
        EXPECT_EQ(ComposeName(scheme, 2, "IMG_7.JPG", &taken), c.expected) << c.format;
    }
    // The other structures write no date, given one or not.
    EXPECT_EQ(ComposeName(NamingScheme{}, 2, "IMG_7.JPG", &taken), "pic0003.JPG");
}

TEST(PrefixCheck, AppliesToWhatADateFormatWrites) {
    EXPECT_EQ(DateFormatWithoutForbiddenCharacter(kDefaultDateFormat), std::nullopt);
    EXPECT_EQ(DateFormatWithoutForbiddenCharacter("HH:mm:ss"), "HH:mmss");
    EXPECT_EQ(DateFormatWithoutForbiddenCharacter("yyyy'/'MM"), "yyyy''MM");
    EXPECT_EQ(DateFormatWithoutForbiddenCharacter("'a<b'"), "'ab'");
}

TEST(NameParts, BaseAndExtension) {
    EXPECT_EQ(BaseOf("photo.jpg"), "photo");
    EXPECT_EQ(BaseOf("a.tar.gz"), "a.tar");
    EXPECT_EQ(BaseOf("README"), "README");
    EXPECT_EQ(BaseOf(".profile"), "");
    EXPECT_EQ(ExtensionOf("a.tar.gz"), ".gz");
    EXPECT_EQ(ExtensionOf("README"), "");
}

struct PrefixCase {
    std::string text;
    std::optional<std::string> shortened;
};

// The text in the test's name, not the case's bytes.
void PrintTo(const PrefixCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class PrefixCheck : public testing::TestWithParam<PrefixCase> {};

TEST_P(PrefixCheck, RemovesTheLastForbiddenCharacterWhereverItStands) {
    EXPECT_EQ(WithoutLastForbiddenCharacter(GetParam().text), GetParam().shortened);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PrefixCheck,
    testing::Values(PrefixCase{"", std::nullopt}, PrefixCase{"pic.", std::nullopt},
                    PrefixCase{"pic/", "pic"}, PrefixCase{"p/c", "pc"}, PrefixCase{"/pic", "pic"},
                    PrefixCase{"a*b?", "a*b"}, PrefixCase{"a*b", "ab"},
                    // The bytes of a longer character are never taken for one.
                    PrefixCase{"\xC3\xA9t\xC3\xA9", std::nullopt},
                    PrefixCase{"\xE2\x80\x9C/\xE2\x80\x9D", "\xE2\x80\x9C\xE2\x80\x9D"}));

TEST(PrefixCheck, EveryForbiddenCharacterAndTheWarning) {
    for (char c : std::string("\\/:*?\"<>|")) {
        EXPECT_EQ(WithoutLastForbiddenCharacter(std::string("p") + c + "c"), "pc") << c;
    }
    EXPECT_STREQ(kForbiddenPrefixWarning,
                 "The file name should not contain the following symbols: \\/:*?\"<>|");
}

}  // namespace
}  // namespace folivar
