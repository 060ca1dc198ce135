#include "KeyValueList.h"

#include <algorithm>

namespace speechlib {

std::optional<std::vector<KeyValue>> splitKeyValueList(std::string_view text) {
    std::vector<KeyValue> list;
    if (text.empty()) {
        return list;
    }
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view item = text.substr(start, comma - start);
        const std::size_t equals = item.find('=');
        if (equals == std::string_view::npos || equals == 0) {
            return std::nullopt;
        }
        KeyValue entry{std::string(item.substr(0, equals)), std::string(item.substr(equals + 1))};
        if (findValue(list, entry.key) != nullptr) {
            return std::nullopt;
        }
        list.push_back(std::move(entry));
        start = comma + 1;
    }
    return list;
}

const std::string* findValue(const std::vector<KeyValue>& list, std::string_view key) {
    const auto found =
        std::find_if(list.begin(), list.end(), [key](const KeyValue& e) { return e.key == key; });
    return found == list.end() ? nullptr : &found->value;
}

std::optional<unsigned> parseDecimal(std::string_view text, unsigned max) {
    if (text.empty()) {
        return std::nullopt;
    }
    unsigned long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > max) {
            return std::nullopt;
        }
    }
    return static_cast<unsigned>(value);
}

}  // namespace speechlib
