#pragma once

#include <string>
#include <string_view>

namespace tarvane {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// The code points of a UTF-8 text, up to its first zero byte. Each ill-formed
// sequence becomes one U+FFFD, taking its maximal subpart as Unicode
// recommends: a lead byte and the continuation bytes that could still belong
// to it. Surrogates, overlong forms and values past U+10FFFF are ill-formed.
[[nodiscard]] std::u32string decodeUtf8(std::string_view utf8);

// Appends one code point as UTF-8.
void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace tarvane
