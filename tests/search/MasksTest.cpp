#include "search/Masks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/ThrowsMessage.h"

namespace folivar {
namespace {

struct MatchCase {
    const char* mask;
    const char* name;
    bool matches;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
    *os << "'" << c.mask << "' vs '" << c.name << "'";
}

class MaskMatching : public testing::TestWithParam<MatchCase> {};

TEST_P(MaskMatching, WholeNameAgainstMask) {
    const MatchCase& c = GetParam();
    EXPECT_EQ(TMask(c.mask).Matches(c.name), c.matches)
        << "mask '" << c.mask << "' name '" << c.name << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Wildcards, MaskMatching,
    testing::Values(
        // "*.*" demands a dot somewhere; "*" takes everything
        MatchCase{"*.*", "a.txt", true}, MatchCase{"*.*", ".profile", true},
        MatchCase{"*.*", "a.", true}, MatchCase{"*.*", "README", false},
        MatchCase{"*", "README", true}, MatchCase{"*", "", true},
        // '?' is one character; "*?" is the same as "*"
        MatchCase{"*?", "x", true}, MatchCase{"*?", "", true}, MatchCase{"?*", "x", true},
        MatchCase{"?*", "", false}, MatchCase{"a?", "a", false}, MatchCase{"a?", "ab", true},
        MatchCase{"a?", "abc", false},
        // letter case of ASCII letters only
        MatchCase{"*.jpg", "HOLIDAY.JPG", true}, MatchCase{"PIC*", "pic001.png", true},
        MatchCase{"*.jpg", "a.jpeg", false}, MatchCase{"*.jpg", "a.jpg.bak", false},
        // sets and ranges
        MatchCase{"[a-c]x", "bX", true}, MatchCase{"[a-c]x", "Cx", true},
        MatchCase{"[a-c]x", "dx", false}, MatchCase{"[!a-c]*", "apple", false},
        MatchCase{"[!a-c]*", "dog", true}, MatchCase{"[A-z]", "q", true},
        MatchCase{"[A-z]", "_", false}, MatchCase{"[a-c-e]", "d", true},
        MatchCase{"[c-ab]x", "bx", true},  // a reversed range adds nothing
        MatchCase{"[c-ab]x", "ax", false}, MatchCase{"[c-a]", "c", true},
        MatchCase{"[a-!]", "a", true}, MatchCase{"[a-!]", "!", false},
        MatchCase{"[z-]]", "\\", true},  // ']' right after '-' is the upper bound
        MatchCase{"[z-]]", "]", true}, MatchCase{"[z-]]", "y", false},
        // no escapes: these are ordinary literals outside a set
        MatchCase{"a\\b", "A\\B", true}, MatchCase{"]!-.", "]!-.", true},
        // the end of the name
        MatchCase{"", "", true}, MatchCase{"", "a", false}, MatchCase{"abc", "abcd", false},
        MatchCase{"abc*", "abc", true},
        // backtracking over several stars
        MatchCase{"*a*b*c", "xxaxxbxxbxxc", true}, MatchCase{"*a*b*c", "xxaxxbxxbxx", false},
        MatchCase{"*ab", "aab", true}, MatchCase{"*aab", "aaab", true},
        MatchCase{"*.tar.gz", "x.tar.tar.gz", true}));

INSTANTIATE_TEST_SUITE_P(
    Utf8, MaskMatching,
    testing::Values(
        MatchCase{"?.jpg", "\xC3\xA9.jpg", true},           // é is one character
        MatchCase{"??.jpg", "\xC3\xA9.jpg", false},         // not two
        MatchCase{"\xC3\xA9*", "\xC3\xA9t\xC3\xA9", true},  // a literal multi-byte character
        MatchCase{"\xC3\xA9", "\xC3\x89", false},           // é and É do not fold
        MatchCase{"[!a]", "\xC3\xA9", true},          // a multi-byte character fits a negated set
        MatchCase{"[a\xC3\xA9]", "\xC3\xA9", false},  // and is never a member
        MatchCase{"*\xE2\x82\xAC", "price\xE2\x82\xAC", true},  // € after a star
        MatchCase{"?", "\xF0\x9F\x98\x80", true},               // a four-byte character
        MatchCase{"?", "\xFF", true},              // a stray byte is a character of its own
        MatchCase{"\xFF?", "\xFF\xC3\xA9", true},  // and matches only itself
        MatchCase{"?\xA9", "\xC3\xA9", false},     // '?' never stops inside a character
        MatchCase{"*\xA9", "\xC3\xA9", false},     // nor does '*'
        MatchCase{"[\xFF]", "\xFF", true},         // a stray byte can be a member
        MatchCase{"?", "\xC3", true}));            // a cut sequence is a stray byte

struct InvalidCase {
    std::string mask;
    int position;
};

void PrintTo(const InvalidCase& c, std::ostream* os) {
    *os << "'" << c.mask << "'";
}

class InvalidMask : public testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidMask, RaisesWithPosition) {
    const InvalidCase& c = GetParam();
    EXPECT_THROW_MSG(TMask{c.mask}, EMaskException,
                     "'" + c.mask + "' is an invalid mask at (" + std::to_string(c.position) + ")");
}

// 30 or 31 runs of "*x", followed by a tail.
std::string stars(int count, const std::string& tail = "") {
    std::string s;
    for (int i = 0; i < count; ++i) {
        s += "*x";
    }
    return s + tail;
}

INSTANTIATE_TEST_SUITE_P(
    Positions, InvalidMask,
    testing::Values(InvalidCase{"[-a]", 2}, InvalidCase{"[!-a]", 3}, InvalidCase{"ab[-", 4},
                    InvalidCase{"[abc", 5}, InvalidCase{"[", 2}, InvalidCase{"[!", 3},
                    InvalidCase{"[a-", 4}, InvalidCase{"[]", 2}, InvalidCase{"[!]", 3},
                    InvalidCase{"[\xC3\xA9]", 4},
                    // the 31st state after a '*': a literal, a set's ']', the last byte
                    // of a multi-byte character, the end of the name
                    InvalidCase{stars(31), 62}, InvalidCase{stars(30, "*[ab]"), 65},
                    InvalidCase{stars(30, "*\xE2\x82\xAC"), 64}, InvalidCase{stars(30, "*"), 62}));

TEST(Mask, ThirtyStarsCompile) {
    EXPECT_NO_THROW(TMask{stars(30)});
    EXPECT_NO_THROW(TMask{stars(30, "?")});  // '?' after a literal takes no star
    EXPECT_NO_THROW(TMask{"**********************************x"});  // a run is one star
    EXPECT_TRUE(TMask(stars(30)).Matches(std::string(30, 'x')));
    EXPECT_FALSE(TMask(stars(30)).Matches(std::string(29, 'x')));
}

TEST(Mask, CompilationStopsAtTheFirstFault) {
    EXPECT_THROW_MSG(TMask{"[]x[-"}, EMaskException, "'[]x[-' is an invalid mask at (2)");
}

TEST(Mask, NameEndsAtItsFirstNul) {
    EXPECT_TRUE(TMask("ab").Matches(std::string("ab\0cd", 5)));
}

TEST(Mask, ManyStarsAgainstALongNameStayFast) {
    // Exponential without pruning: 30 stars, each able to restart anywhere.
    const TMask mask(stars(29, "*y"));
    EXPECT_FALSE(mask.Matches(std::string(4000, 'x')));
    EXPECT_TRUE(mask.Matches(std::string(4000, 'x') + "y"));
}

// Reference: the plain definition, by recursion over mask text and name, for
// masks made of ASCII letters, '*', '?' and simple sets ('?' right after '*' is
// dropped before it is called).
bool reference(const std::string& mask, std::size_t m, const std::string& name, std::size_t n) {
    auto up = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    if (m == mask.size()) {
        return n == name.size();
    }
    if (mask[m] == '*') {
        for (std::size_t k = n; k <= name.size(); ++k) {
            if (reference(mask, m + 1, name, k)) {
                return true;
            }
        }
        return false;
    }
    if (n == name.size()) {
        return false;
    }
    if (mask[m] == '[') {  // "[xy]" only, two single members
        const bool member = up(name[n]) == up(mask[m + 1]) || up(name[n]) == up(mask[m + 2]);
        return member && reference(mask, m + 4, name, n + 1);
    }
    if (mask[m] != '?' && up(mask[m]) != up(name[n])) {
        return false;
    }
    return reference(mask, m + 1, name, n + 1);
}

TEST(Mask, AgreesWithThePlainDefinition) {
    std::mt19937 random(20261208);
    const std::string alphabet = "abAB*?";
    for (int round = 0; round < 20000; ++round) {
        std::string mask;
        const int maskLength = static_cast<int>(random() % 8);
        for (int i = 0; i < maskLength; ++i) {
            if (random() % 7 == 0) {
                mask += "[ab]";
            } else {
                mask += alphabet[random() % alphabet.size()];
            }
        }
        std::string name;
        const int nameLength = static_cast<int>(random() % 9);
        for (int i = 0; i < nameLength; ++i) {
            name += "abAB"[random() % 4];
        }
        std::string plain;  // "*?" means "*"
        for (char ch : mask) {
            if (!(ch == '?' && !plain.empty() && plain.back() == '*')) {
                plain += ch;
            }
        }
        ASSERT_EQ(TMask(mask).Matches(name), reference(plain, 0, name, 0))
            << "mask '" << mask << "' name '" << name << "'";
    }
}

}  // namespace
}  // namespace folivar
