#include "export/CellText.h"

#include <gtest/gtest.h>

#include <string>

namespace folivar {
namespace {

using namespace std::string_literals;

struct CellCase {
    std::string text;
    std::string expected;
};

TEST(CellTextTest, KeepsWhatACellCarriesAsItIs) {
    const std::string kept[] = {
        "",
        "IMG_0001.JPG",
        "=SUM(A1:A3)",
        " leading and trailing ",
        "tab\there",
        "two\nlines",
        "Fotos \xE2\x80\x93 \xC3\x84gypten \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80",
        "\xEF\xBF\xBD",  // U+FFFD itself
        "_x41_",
        "_x004G_",
        "_x0041",
        "<&>\"'",
    };
    for (const auto& text : kept) {
        EXPECT_TRUE(isPlainCellText(text)) << text;
        EXPECT_EQ(cellText(text), text);
    }
}

TEST(CellTextTest, RewritesWhatACellWouldLoseOrMisread) {
    const CellCase cases[] = {
        // A literal escape would be decoded into another character.
        {"_x0041_.jpg", "_x005F_x0041_.jpg"},
        {"a_x00e9_b_x000D_", "a_x005F_x00e9_b_x005F_x000D_"},
        {"__x0041_", "__x005F_x0041_"},
        // Control characters XML cannot carry; a raw CR would become LF.
        {"a\x01z", "a_x0001_z"},
        {"cr\rlf", "cr_x000D_lf"},
        {"\x1F", "_x001F_"},
        {"nul\0end"s, "nul_x0000_end"},
        // Bytes the list shows as U+FFFD: one per byte that starts no valid sequence.
        {"bad\xFF.jpg", "bad\xEF\xBF\xBD.jpg"},
        {"cut\xC3", "cut\xEF\xBF\xBD"},
        {"\xE6\x97", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                                  // overlong "/"
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},                  // a surrogate
        {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // past U+10FFFF
        {"\x80z", "\xEF\xBF\xBDz"},
        // Valid UTF-8 that is no XML character.
        {"\xEF\xBF\xBE", "_xFFFE_"},
        {"a\xEF\xBF\xBFz", "a_xFFFF_z"},
        // Everything at once, with valid text between.
        {"\xC3\xA9\x01_x0020_\xFF", "\xC3\xA9_x0001__x005F_x0020_\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(isPlainCellText(c.text)) << c.text;
        EXPECT_EQ(cellText(c.text), c.expected) << c.text;
    }
}

}  // namespace
}  // namespace folivar
