// Properties of textBetween on arbitrary code page 936 bytes.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "web/TextBetween.h"

using namespace tarvane;
using fuzz::require;

namespace {

// "#引号" in code page 936: how a caller writes a quote inside a marker.
constexpr std::string_view kQuoteToken = "#\xD2\xFD\xBA\xC5";

bool isAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// The value between plain ASCII markers, worked out with the standard
// library's byte search alone.
Text asciiBetween(const std::string& source, const std::string& left, const std::string& right,
                  int start) {
    if (left.empty() || right.empty() ||
        (start > 1 && static_cast<std::size_t>(start) > source.size())) {
        return {};
    }
    const std::size_t leftAt =
        source.find(left, start <= 1 ? 0 : static_cast<std::size_t>(start - 1));
    if (leftAt == std::string::npos) {
        return {};
    }
    const std::size_t valueAt = leftAt + left.size();
    const std::size_t rightAt = source.find(right, valueAt);
    if (rightAt == std::string::npos) {
        return {};
    }
    return source.substr(valueAt, rightAt - valueAt);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const int start = static_cast<std::int8_t>(input.takeByte());
    const CaseRule rule = input.takeByte() % 2 == 0 ? CaseRule::Exact : CaseRule::IgnoreAsciiCase;
    const Text source(input.takePart());
    const Text leftMarker(input.takePart());
    const Text rightMarker(input.takePart());

    const Text value = textBetween(source, leftMarker, rightMarker, start, rule);
    require(value.size() <= source.size(), "the value is no longer than the source");

    // Where the markers are looked for once the quote token is a quote.
    const Text left = replace(leftMarker, kQuoteToken, "\"");
    const Text right = replace(rightMarker, kQuoteToken, "\"");
    const int leftAt = find(source, left, start, rule);
    if (leftAt == kNotFound) {
        require(value.empty(), "no left marker gives nothing");
    } else {
        const int valueAt = leftAt + length(left);
        const int rightAt = find(source, right, valueAt, rule);
        // The value sits right after the first left marker and runs up to
        // the first right marker after it: nothing lost, nothing added.
        require(middle(source, valueAt, length(value)) == value,
                "the value follows the first left marker");
        if (!value.empty()) {
            require(rightAt == valueAt + length(value), "the right marker ends the value");
        } else {
            require(rightAt == kNotFound || rightAt == valueAt || valueAt > length(source),
                    "an empty value means no right marker or one right after the left");
        }
    }

    // Writing a quote as the token or as itself makes no difference.
    const Text leftWithTokens = replace(leftMarker, "\"", kQuoteToken);
    const Text rightWithTokens = replace(rightMarker, "\"", kQuoteToken);
    require(textBetween(source, leftWithTokens, rightWithTokens, start, rule) == value,
            "a quote and its token are the same marker");

    // Plain ASCII has no double-byte characters to step over, so a byte
    // search must agree.
    if (rule == CaseRule::Exact && isAscii(source) && isAscii(leftMarker) && isAscii(rightMarker)) {
        require(value == asciiBetween(source, leftMarker, rightMarker, start),
                "ASCII agrees with a byte search");
    }
    return 0;
}
