#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "SessionSettings.h"

namespace speechlib {

// The caller's text: at most `length` bytes, ending early at the terminator
// (a zero byte, or a zero 16-bit unit in UTF-16), so that a length larger than
// the text never makes us read past its end.
[[nodiscard]] std::string_view boundedText(const char* text, std::uint32_t length,
                                           TextEncoding encoding);

// The bytes read in `encoding`, as UTF-8 without a leading byte-order mark.
// Auto takes valid UTF-8 as UTF-8 and anything else as GB18030. Null when the
// bytes are not valid in the encoding, a cut-off character included.
[[nodiscard]] std::optional<std::string> decodeToUtf8(std::string_view bytes,
                                                      TextEncoding encoding);

}  // namespace speechlib
