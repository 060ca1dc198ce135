#pragma once

#include <cstdint>
#include <optional>

namespace tarvane {

// Windows maps the cells that code page 936 leaves to its users (and the
// cells it leaves unassigned) one to one onto the private use characters
// U+E000 to U+E864. glibc's table of the same code page omits them, so the
// converter adds them back from here.

// The two bytes, lead byte first, of a private use character; none for any
// other character.
[[nodiscard]] std::optional<std::uint16_t> userDefinedCell(char32_t codePoint);

// The private use character of a lead and trail byte pair; none for a pair
// outside those cells.
[[nodiscard]] std::optional<char32_t> privateUseCharacter(std::uint8_t lead, std::uint8_t trail);

}  // namespace tarvane
