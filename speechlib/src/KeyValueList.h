#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace speechlib {

struct KeyValue {
    std::string key;
    std::string value;
};

// Splits "k1=v1,k2=v2" on commas, then each item at its first '=', so values
// such as "audio/L16;rate=16000" keep their own '=' and ';'. The empty text is
// the empty list. Null when an item is empty, lacks '=' or a key, or a key
// appears twice: a repeated key would leave the caller guessing which counts.
[[nodiscard]] std::optional<std::vector<KeyValue>> splitKeyValueList(std::string_view text);

// The value of `key`, or null when the list does not hold it.
[[nodiscard]] const std::string* findValue(const std::vector<KeyValue>& list, std::string_view key);

// A plain run of decimal digits no greater than `max`; null for anything
// else, signs and blanks included.
[[nodiscard]] std::optional<unsigned> parseDecimal(std::string_view text, unsigned max);

}  // namespace speechlib
