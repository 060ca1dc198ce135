#pragma once

// Text operations on code page 936 (GBK) byte strings, not UTF-8.
//
// A Text never holds a zero byte; the empty string stands for a missing text
// as well. Lengths and positions count bytes, positions are 1-based and a
// search that finds nothing yields -1. A byte of 0x80 or above followed by a
// non-zero byte starts a double-byte character: find, findLast and replace
// step over such a pair as one unit, so a search for "[" never matches the
// trail byte of a character. left, right and middle count plain bytes.
//
//   find("现在是[time]", "[time]")  == 7
//   replace("a-b-c", "-", "+", 1, 1) == "a+b-c"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvane {

using Text = std::string;
using Bytes = std::vector<std::uint8_t>;

enum class CaseRule { Exact, IgnoreAsciiCase };

inline constexpr int kNotFound = -1;
// A replacement count that means "every occurrence".
inline constexpr int kReplaceAll = -1;

// The first match of `sought` at or after `start`; a start of 1 or less means
// byte 1, a start beyond the last byte finds nothing. An empty `sought` finds
// nothing.
[[nodiscard]] int find(std::string_view text, std::string_view sought, int start = 1,
                       CaseRule rule = CaseRule::Exact);

// The last match of `sought`, or -1.
[[nodiscard]] int findLast(std::string_view text, std::string_view sought,
                           CaseRule rule = CaseRule::Exact);

// Copies the bytes before `start`, then replaces matches left to right,
// resuming after each match, so an inserted replacement is never searched
// again. After `count` replacements (kReplaceAll for no limit) the rest is
// copied. An empty sought text, a start beyond the end or a count of 0 change
// nothing.
[[nodiscard]] Text replace(std::string_view text, std::string_view sought,
                           std::string_view replacement, int start = 1, int count = kReplaceAll,
                           CaseRule rule = CaseRule::Exact);

// The first or last n bytes; the whole text when shorter; empty for n <= 0.
[[nodiscard]] Text left(std::string_view text, int n);
[[nodiscard]] Text right(std::string_view text, int n);
// n bytes from the 1-based start, cut at the end; empty for a start outside
// the text or n <= 0.
[[nodiscard]] Text middle(std::string_view text, int start, int n);

// Blanks are the ASCII space and the ideographic space (0xA1 0xA1); tab,
// carriage return and line feed are not blanks.
[[nodiscard]] Text trim(std::string_view text);
[[nodiscard]] Text removeAllBlanks(std::string_view text);

// Maps A..Z onto a..z and leaves every other byte, trail bytes included.
[[nodiscard]] Text toLower(std::string_view text);

[[nodiscard]] Text integerToText(std::int64_t value);
// Skips leading blanks, reads an optional sign and decimal digits; 0 when
// there are none. Saturates instead of overflowing.
[[nodiscard]] std::int32_t textToInteger(std::string_view text);

// The bytes before the first zero byte, unconverted.
[[nodiscard]] Text bytesToText(const Bytes& bytes);
[[nodiscard]] Text bytesToText(std::string_view bytes);
// The text's bytes, without a terminator.
[[nodiscard]] Bytes textToBytes(std::string_view text);

// Byte length as the 32-bit count the rest of the system passes around.
[[nodiscard]] int length(std::string_view text);

}  // namespace tarvane
