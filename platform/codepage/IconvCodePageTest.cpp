#include "platform/codepage/IconvCodePage.h"

#include <gtest/gtest.h>

#include "platform/codepage/UserDefinedArea936.h"
#include "platform/codepage/Utf8Decoding.h"
#include "web/Utf8ToGbk.h"

namespace tarvane {
namespace {

struct ConversionCase {
    const char* name;
    std::string utf8;
    Text gbk;
};

// Rows marked "not GB18030" or "not GB2312" are where those tables give
// other bytes than Windows code page 936 does.
TEST(Utf8ToGbk, GivesWhatWindowsCodePage936Gives) {
    const ConversionCase cases[] = {
        {"empty", "", ""},
        {"ASCII unchanged", "{\"max\":\"25\"}\t\r\n~\x7F", "{\"max\":\"25\"}\t\r\n~\x7F"},
        {"two characters", "多云", "\xB6\xE0\xD4\xC6"},
        {"euro sign is 0x80, not GB18030", "\xE2\x82\xAC", "\x80"},
        {"emoji is one ?, not GB18030",
         "a\xF0\x9F\x98\x80"
         "b",
         "a?b"},
        {"character outside the page is one ?", "\xE0\xB8\x81", "?"},
        {"middle dot, not GB2312", "\xC2\xB7", "\xA1\xA4"},
        {"katakana middle dot has no form, not GB2312", "\xE3\x83\xBB", "?"},
        {"em dash, not GB2312", "\xE2\x80\x94", "\xA1\xAA"},
        {"horizontal bar", "\xE2\x80\x95", "\xA8\x44"},
        {"vertical comma has no form, not GB18030", "\xEF\xB8\x90", "?"},
        {"first user-defined cell", "\xEE\x80\x80", "\xAA\xA1"},
        {"private use cell, not GB18030", "\xEE\x9F\x87", "\xA8\xBC"},
        {"last private use cell", "\xEE\xA1\xA4", "\xFE\xA0"},
        {"private use beyond the page", "\xEE\xA1\xA5", "?"},
        {"replacement character itself", "\xEF\xBF\xBD", "?"},
        {"language tags are one ? each, not dropped",
         "a\xF3\xA0\x80\x81\xF3\xA0\x81\xBF"
         "b",
         "a??b"},
        {"zero byte ends the input", std::string("ab\0cd", 5), "ab"},
        {"lone continuation byte", "a\x80z", "a?z"},
        {"cut at the end", "a\xC3", "a?"},
        {"cut before ASCII is one ?", "\xE2\x82x", "?x"},
        {"cut four-byte sequence is one ?", "\xF0\x9F\x98x", "?x"},
        {"overlong form", "\xC0\xAF", "??"},
        {"overlong three-byte form", "\xE0\x80\x80", "???"},
        {"surrogate", "\xED\xA0\x80", "???"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "????"},
        {"byte that never leads", "\xFF\xFE", "??"},
        {"maximal subparts",
         "a\xF1\x80\x80\xE1\x80\xC2"
         "b\x80"
         "c\x80\xBF"
         "d",
         "a???b?c??d"},
    };
    const IconvCodePage codePage;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(utf8ToGbk(codePage, c.utf8), c.gbk);
    }
}

TEST(Utf8ToGbk, ConvertsLongTextsWhole) {
    std::string utf8;
    Text gbk;
    for (int i = 0; i < 20000; ++i) {
        utf8 += "多云\xF0\x9F\x98\x80x";
        gbk += "\xB6\xE0\xD4\xC6?x";
    }
    EXPECT_EQ(IconvCodePage().utf8ToGbk(utf8), gbk);
}

TEST(GbkToUtf8, DecodesForDisplay) {
    const ConversionCase cases[] = {
        {"empty", "", ""},
        {"ASCII", "abc 123", "abc 123"},
        {"two characters", "多云", "\xB6\xE0\xD4\xC6"},
        {"euro sign", "\xE2\x82\xAC", "\x80"},
        {"user-defined cell", "\xEE\x80\x80", "\xAA\xA1"},
        {"zero byte ends the input", "ab", std::string("ab\0cd", 5)},
        {"lead byte at the end", "a\xEF\xBF\xBD", "a\x81"},
        {"lead byte before ASCII", "\xEF\xBF\xBD x", "\x81 x"},
        {"byte that never leads", "\xEF\xBF\xBD", "\xFF"},
    };
    const IconvCodePage codePage;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(codePage.gbkToUtf8(c.gbk), c.utf8);
    }
}

// Every cell that Windows gives a private use character must be one that
// glibc leaves unmapped, and each must come back to its own cell.
TEST(UserDefinedArea936, PrivateUseCellsRoundTrip) {
    const IconvCodePage codePage;
    for (char32_t codePoint = 0xE000; codePoint <= 0xE864; ++codePoint) {
        SCOPED_TRACE(static_cast<int>(codePoint));
        const auto cell = userDefinedCell(codePoint);
        ASSERT_TRUE(cell.has_value());
        const auto lead = static_cast<std::uint8_t>(*cell >> 8);
        const auto trail = static_cast<std::uint8_t>(*cell & 0xFF);
        EXPECT_EQ(privateUseCharacter(lead, trail), codePoint);
        const Text gbk{static_cast<char>(lead), static_cast<char>(trail)};
        std::string utf8;
        appendUtf8(utf8, codePoint);
        EXPECT_EQ(codePage.gbkToUtf8(gbk), utf8);
        EXPECT_EQ(codePage.utf8ToGbk(utf8), gbk);
    }
    EXPECT_FALSE(userDefinedCell(0xDFFF).has_value());
    EXPECT_FALSE(userDefinedCell(0xE865).has_value());
    EXPECT_FALSE(privateUseCharacter(0xB6, 0xE0).has_value());
    EXPECT_FALSE(privateUseCharacter(0xA1, 0x7F).has_value());
}

}  // namespace
}  // namespace tarvane
