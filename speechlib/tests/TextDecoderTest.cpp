#include "TextDecoder.h"

#include <gtest/gtest.h>

namespace speechlib {
namespace {

using std::string_literals::operator""s;

TEST(TextDecoderTest, DecodesEachEncodingToUtf8) {
    const struct {
        std::string bytes;
        TextEncoding encoding;
        std::string expected;
    } cases[] = {
        {"\xcf\xd6\xd4\xda", TextEncoding::Gb18030, "现在"},
        // Four-byte characters exist only in GB18030; GB2312 and GBK texts
        // are read with it, so they must come through too.
        {"\x94\x39\xfc\x36", TextEncoding::Gb18030, "😀"},
        {"\xae\xc9\xb6\xa1", TextEncoding::Big5, "時間"},
        {"\x39\x00\xb9\x70"s, TextEncoding::Utf16Le, "9点"},
        {"\xff\xfe\x39\x00\xb9\x70"s, TextEncoding::Utf16Le, "9点"},
        {"现在", TextEncoding::Utf8, "现在"},
        {"\xef\xbb\xbf现在", TextEncoding::Utf8, "现在"},
        {"现在", TextEncoding::Auto, "现在"},
        {"\xcf\xd6\xd4\xda", TextEncoding::Auto, "现在"},
        {"9:00", TextEncoding::Auto, "9:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(decodeToUtf8(c.bytes, c.encoding), c.expected);
    }
}

TEST(TextDecoderTest, RefusesBytesThatAreNotValidInTheEncoding) {
    const struct {
        std::string bytes;
        TextEncoding encoding;
    } cases[] = {
        {"\xcf\xd6\xd4\xda", TextEncoding::Utf8},  // GBK bytes said to be UTF-8
        {"\xed\xa0\x80", TextEncoding::Utf8},      // a surrogate
        {"\xc0\xaf", TextEncoding::Utf8},          // an overlong slash
        {"\xcf\xd6\xd4", TextEncoding::Gb18030},   // cut off mid-character
        {"\x80", TextEncoding::Gb18030},
        {"\xff\xff", TextEncoding::Big5},
        {"\x39\x00\xb9"s, TextEncoding::Utf16Le},  // odd length
        {"\xff", TextEncoding::Auto},              // neither UTF-8 nor GB18030
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        EXPECT_FALSE(decodeToUtf8(c.bytes, c.encoding).has_value());
    }
}

TEST(TextDecoderTest, BoundedTextStopsAtTheTerminatorOrTheLength) {
    const struct {
        std::string buffer;  // what the caller's memory holds
        std::uint32_t length;
        TextEncoding encoding;
        std::string expected;
    } cases[] = {
        {"abc\0def"s, 7, TextEncoding::Utf8, "abc"},
        {"abcdef", 2, TextEncoding::Gb18030, "ab"},
        {"abc", 1000, TextEncoding::Gb18030, "abc"},
        {"a\0b\0\0\0c\0"s, 8, TextEncoding::Utf16Le, "a\0b\0"s},
        // U+4E00 has a zero low byte; only a whole zero unit ends the text.
        {"\x00\x4e\x00\x00"s, 4, TextEncoding::Utf16Le, "\x00\x4e"s},
        {"a\0b"s, 3, TextEncoding::Utf16Le, "a\0b"s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.buffer));
        EXPECT_EQ(boundedText(c.buffer.c_str(), c.length, c.encoding), c.expected);
    }
}

}  // namespace
}  // namespace speechlib
