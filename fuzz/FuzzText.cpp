// Properties of the code page 936 text operations on arbitrary bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/Text.h"

using namespace tarvane;

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Splits the input into a text and a sought text at the first zero byte, and
// takes two small numbers from the first bytes.
struct Input {
    Text text;
    Text sought;
    int start = 1;
    int count = 1;
};

Input split(const std::uint8_t* data, std::size_t size) {
    Input input;
    if (size >= 2) {
        input.start = static_cast<int>(static_cast<std::int8_t>(data[0]));
        input.count = static_cast<int>(data[1] % 5) - 1;
        data += 2;
        size -= 2;
    }
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = all.find('\0');
    input.text = Text(all.substr(0, zero));
    if (zero != std::string_view::npos) {
        input.sought = bytesToText(all.substr(zero + 1));
    }
    return input;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Input in = split(data, size);
    const int textLength = length(in.text);

    for (CaseRule rule : {CaseRule::Exact, CaseRule::IgnoreAsciiCase}) {
        const int found = find(in.text, in.sought, in.start, rule);
        if (found != kNotFound) {
            require(found >= 1 && found + length(in.sought) - 1 <= textLength);
            require(found >= in.start);
            require(toLower(middle(in.text, found, length(in.sought))) == toLower(in.sought) ||
                    rule == CaseRule::Exact);
            if (rule == CaseRule::Exact) {
                require(middle(in.text, found, length(in.sought)) == in.sought);
            }
        }
        const int last = findLast(in.text, in.sought, rule);
        require((last == kNotFound) == (find(in.text, in.sought, 1, rule) == kNotFound));
        require(last == kNotFound || last >= find(in.text, in.sought, 1, rule));
    }

    require(replace(in.text, in.sought, "x", in.start, 0) == in.text);
    require(replace(in.text, in.sought, in.sought, in.start, in.count) == in.text);
    if (find(in.text, in.sought, in.start) == kNotFound) {
        require(replace(in.text, in.sought, "xy", in.start, in.count) == in.text);
    }

    const Text trimmed = trim(in.text);
    require(trim(trimmed) == trimmed);
    require(trimmed.size() <= in.text.size());
    const Text bare = removeAllBlanks(in.text);
    require(bare.find(' ') == Text::npos || bare.size() <= in.text.size());
    require(removeAllBlanks(bare) == bare);

    require(left(in.text, in.start) + middle(in.text, in.start + 1, textLength) == in.text ||
            in.start < 0);
    require(right(in.text, textLength) == in.text);
    require(toLower(toLower(in.text)) == toLower(in.text));
    require(toLower(in.text).size() == in.text.size());

    const std::int32_t number = textToInteger(in.text);
    require(textToInteger(integerToText(number)) == number);
    return 0;
}
