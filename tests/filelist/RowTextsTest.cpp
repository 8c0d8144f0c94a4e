#include "filelist/RowTexts.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace folivar {
namespace {

struct TypeCase {
    std::string name, type;
};

void PrintTo(const TypeCase& c, std::ostream* out) {
    *out << '"' << c.name << '"';
}

class TypeOfName : public testing::TestWithParam<TypeCase> {};

TEST_P(TypeOfName, IsTheTextAfterTheLastDot) {
    EXPECT_EQ(typeOfName(GetParam().name), GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(Names, TypeOfName,
                         testing::Values(TypeCase{"Holiday.Photo.JPG", "JPG"},
                                         TypeCase{"README", ""}, TypeCase{".bashrc", "bashrc"},
                                         TypeCase{"trailing.", ""}, TypeCase{"a.JpEg", "JpEg"}));

struct ShortCase {
    std::string name;
    bool accepted;
};

void PrintTo(const ShortCase& c, std::ostream* out) {
    *out << '"' << c.name << '"';
}

class ShortName : public testing::TestWithParam<ShortCase> {};

TEST_P(ShortName, LastDotBeforePositionTen) {
    EXPECT_EQ(isShortName(GetParam().name), GetParam().accepted) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, ShortName,
    testing::Values(
        ShortCase{"12345678.jpg", true},      // last dot at 9
        ShortCase{"123456789.jpg", false},    // last dot at 10
        ShortCase{"abcdefghijklmnop", true},  // no dot at all
        ShortCase{"a.abcdefghijklm", true},   // long extension
        ShortCase{"12345678.tar.gz", false},  // the last dot
        ShortCase{"long-folder-name/a.txt", true},
        // Characters, not bytes: seven Cyrillic letters
        // (14 bytes), eight accented ones (16 bytes).
        ShortCase{"\u0444\u043e\u0442\u043e\u0433\u0440\u0430.jpg", true},
        ShortCase{"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9.txt", true},
        ShortCase{"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9.txt", false},
        // Four-byte characters: eight pass, nine do not.
        ShortCase{
            "\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600.png",
            true},
        ShortCase{"\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600"
                  "\U0001F600.png",
                  false},
        // A stray byte is one character of its own.
        ShortCase{"\xff\xfe\xfd\xfc\xfb\xfa\xf9\xf8.bin", true},
        ShortCase{"\xff\xfe\xfd\xfc\xfb\xfa\xf9\xf8\xf7.bin", false},
        // A cut sequence: two stray bytes, nine in all.
        ShortCase{"abcdefg\xd0\xd0.txt", false}));

}  // namespace
}  // namespace folivar
