#include "filelist/RowTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace folivar {
namespace {

struct TypeCase {
    std::string name, type;
};

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

class ShortName : public testing::TestWithParam<ShortCase> {};

TEST_P(ShortName, LastDotBeforePositionTen) {
    EXPECT_EQ(isShortName(GetParam().name), GetParam().accepted) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Names, ShortName,
                         testing::Values(ShortCase{"12345678.jpg", true},      // last dot at 9
                                         ShortCase{"123456789.jpg", false},    // last dot at 10
                                         ShortCase{"abcdefghijklmnop", true},  // no dot at all
                                         ShortCase{"a.abcdefghijklm", true},   // long extension
                                         ShortCase{"12345678.tar.gz", false},  // the last dot
                                         ShortCase{"long-folder-name/a.txt", true}));

}  // namespace
}  // namespace folivar
