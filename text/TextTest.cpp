#include "text/Text.h"

#include <gtest/gtest.h>

namespace tarvane {
namespace {

// "中" in code page 936 is D6 D0; "现" is CF D6; a character whose trail
// byte is "[" is 81 5B, one whose trail byte is "\" is 81 5C, one whose
// trail byte is "]" is 81 5D, and "a" as a trail byte: 81 61.
const Text kTrailBracket = "\x81[";
const Text kTrailBackslash = "\x81\\";
const Text kTrailCloseBracket = "\x81]";
const Text kTrailLetter =
    "\x81"
    "a";
const Text kZhong = "\xD6\xD0";
const Text kIdeographicSpace = "\xA1\xA1";

struct FindCase {
    const char* name;
    Text text;
    Text sought;
    int start;
    CaseRule rule;
    int expected;
};

TEST(TextFind, FindsWholeCharactersOnly) {
    const FindCase cases[] = {
        {"plain", "abc[time]", "[time]", 1, CaseRule::Exact, 4},
        {"trail byte is [", kTrailBracket + "x[", "[", 1, CaseRule::Exact, 4},
        {"trail byte is backslash", kTrailBackslash + "\\", "\\", 1, CaseRule::Exact, 3},
        {"trail byte is ]", kTrailCloseBracket, "]", 1, CaseRule::Exact, kNotFound},
        {"trail byte is a letter", kTrailLetter + "a", "a", 1, CaseRule::Exact, 3},
        {"trail letter ignoring case", kTrailLetter, "A", 1, CaseRule::IgnoreAsciiCase, kNotFound},
        {"double-byte sought", "ab" + kZhong + kZhong, kZhong, 1, CaseRule::Exact, 3},
        {"start 0 means 1", "abc", "a", 0, CaseRule::Exact, 1},
        {"negative start means 1", "abc", "a", -5, CaseRule::Exact, 1},
        {"start at last byte", "abc", "c", 3, CaseRule::Exact, 3},
        {"start past the end", "abc", "c", 4, CaseRule::Exact, kNotFound},
        {"start skips earlier match", "abab", "ab", 2, CaseRule::Exact, 3},
        {"start inside a character", kZhong + "x", "x", 2, CaseRule::Exact, 3},
        {"empty sought", "abc", "", 1, CaseRule::Exact, kNotFound},
        {"empty text", "", "a", 1, CaseRule::Exact, kNotFound},
        {"case exact misses", "[TIME]", "[time]", 1, CaseRule::Exact, kNotFound},
        {"ignore case", "x[TiMe]", "[time]", 1, CaseRule::IgnoreAsciiCase, 2},
        {"trail byte never folded", "\x81\x41", "\x81\x61", 1, CaseRule::IgnoreAsciiCase,
         kNotFound},
        {"sought longer than text", "ab", "abc", 1, CaseRule::Exact, kNotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(find(c.text, c.sought, c.start, c.rule), c.expected);
    }
}

TEST(TextFind, FindLastStepsOverCharacters) {
    EXPECT_EQ(findLast("host.test:8080", ":"), 10);
    EXPECT_EQ(findLast("a:b:c", ":"), 4);
    EXPECT_EQ(findLast("abc", ":"), kNotFound);
    EXPECT_EQ(findLast(":" + kTrailBracket, "["), kNotFound);
    EXPECT_EQ(findLast("aXbx", "x", CaseRule::IgnoreAsciiCase), 4);
    EXPECT_EQ(findLast("abc", ""), kNotFound);
}

struct ReplaceCase {
    const char* name;
    Text text;
    Text sought;
    Text replacement;
    int start;
    int count;
    CaseRule rule;
    Text expected;
};

TEST(TextReplace, FollowsTheScanRules) {
    const ReplaceCase cases[] = {
        {"first only", "a-b-c", "-", "+", 1, 1, CaseRule::Exact, "a+b-c"},
        {"all", "a-b-c", "-", "+", 1, kReplaceAll, CaseRule::Exact, "a+b+c"},
        {"count 0 changes nothing", "a-b-c", "-", "+", 1, 0, CaseRule::Exact, "a-b-c"},
        {"empty sought", "abc", "", "x", 1, kReplaceAll, CaseRule::Exact, "abc"},
        {"start past end", "abc", "c", "x", 4, kReplaceAll, CaseRule::Exact, "abc"},
        {"start keeps earlier bytes", "aaaa", "a", "b", 3, kReplaceAll, CaseRule::Exact, "aabb"},
        {"start below 1 is 1", "aa", "a", "b", -3, 1, CaseRule::Exact, "ba"},
        {"replacement not searched again", "aa", "a", "aa", 1, kReplaceAll, CaseRule::Exact,
         "aaaa"},
        {"resumes after the match", "aaa", "aa", "b", 1, kReplaceAll, CaseRule::Exact, "ba"},
        {"trail byte not matched", kTrailBracket + "[", "[", "<", 1, kReplaceAll, CaseRule::Exact,
         kTrailBracket + "<"},
        {"ignore case", "x[Time][time]", "[time]", "9", 1, 1, CaseRule::IgnoreAsciiCase,
         "x9[time]"},
        {"quote marker", "#\xD2\xFD\xBA\xC5,", "#\xD2\xFD\xBA\xC5", "\"", 1, kReplaceAll,
         CaseRule::Exact, "\","},
        {"double-byte sought", kZhong + "a" + kZhong, kZhong, "z", 1, kReplaceAll, CaseRule::Exact,
         "zaz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(replace(c.text, c.sought, c.replacement, c.start, c.count, c.rule), c.expected);
    }
}

TEST(TextSlices, CountPlainBytes) {
    EXPECT_EQ(left("abcdef", 3), "abc");
    EXPECT_EQ(left("ab", 5), "ab");
    EXPECT_EQ(left("ab", 0), "");
    EXPECT_EQ(left("ab", -1), "");
    EXPECT_EQ(left(kZhong, 1), "\xD6");
    EXPECT_EQ(right("abcdef", 2), "ef");
    EXPECT_EQ(right("ab", 5), "ab");
    EXPECT_EQ(right("ab", 0), "");
    EXPECT_EQ(middle("abcdef", 2, 3), "bcd");
    EXPECT_EQ(middle("abcdef", 5, 10), "ef");
    EXPECT_EQ(middle("abcdef", 7, 1), "");
    EXPECT_EQ(middle("abcdef", 0, 2), "");
    EXPECT_EQ(middle("abcdef", 2, 0), "");
}

TEST(TextBlanks, AsciiAndIdeographicSpacesOnly) {
    const struct {
        const char* name;
        Text text;
        Text trimmed;
        Text withoutBlanks;
    } cases[] = {
        {"ascii", "  a b  ", "a b", "ab"},
        {"ideographic", kIdeographicSpace + "a" + kIdeographicSpace, "a", "a"},
        {"tab cr lf are content", "\t\r\n", "\t\r\n", "\t\r\n"},
        {"only blanks", " " + kIdeographicSpace + " ", "", ""},
        {"trail byte A1 is not a blank", "\xB0\xA1\xA1\xA1", "\xB0\xA1", "\xB0\xA1"},
        {"character ending in 0x20 byte pair", kZhong + " ", kZhong, kZhong},
        {"empty", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(trim(c.text), c.trimmed);
        EXPECT_EQ(removeAllBlanks(c.text), c.withoutBlanks);
    }
}

TEST(TextCase, LowersAsciiLettersOnly) {
    EXPECT_EQ(toLower("HTTP://Site.TEST/A"), "http://site.test/a");
    EXPECT_EQ(toLower("\xC4\xC1"), "\xC4\xC1");
}

TEST(TextNumbers, ConvertBothWays) {
    EXPECT_EQ(integerToText(0), "0");
    EXPECT_EQ(integerToText(9), "9");
    EXPECT_EQ(integerToText(-42), "-42");
    const struct {
        Text text;
        std::int32_t value;
    } cases[] = {
        {"8080", 8080},
        {"  12", 12},
        {kIdeographicSpace + "7", 7},
        {"-3", -3},
        {"+5", 5},
        {"x", 0},
        {"", 0},
        {"12ab", 12},
        {"\t5", 0},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(textToInteger(c.text), c.value);
    }
}

TEST(TextBytes, CutAtTheFirstZeroByte) {
    const Bytes bytes{'a', 'b', 0, 'c'};
    EXPECT_EQ(bytesToText(bytes), "ab");
    EXPECT_EQ(bytesToText(Bytes{}), "");
    EXPECT_EQ(textToBytes("ab"), (Bytes{'a', 'b'}));
}

}  // namespace
}  // namespace tarvane
