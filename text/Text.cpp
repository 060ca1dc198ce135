#include "text/Text.h"

#include <algorithm>
#include <limits>

namespace tarvane {
namespace {

bool isLeadByte(std::string_view text, std::size_t index) {
    return static_cast<unsigned char>(text[index]) >= 0x80 && index + 1 < text.size() &&
           text[index + 1] != '\0';
}

// Width of the character that starts at `index`: 2 for a double-byte
// character, else 1.
std::size_t characterWidth(std::string_view text, std::size_t index) {
    return isLeadByte(text, index) ? 2 : 1;
}

char foldAscii(char byte) {
    return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte - 'A' + 'a') : byte;
}

bool matchesAt(std::string_view text, std::size_t index, std::string_view sought, CaseRule rule) {
    if (sought.size() > text.size() - index) {
        return false;
    }
    for (std::size_t i = 0; i < sought.size(); ++i) {
        const char a = text[index + i];
        const char b = sought[i];
        if (isLeadByte(sought, i)) {
            // A double-byte character matches only itself: its trail byte may
            // look like an ASCII letter but must never be folded.
            if (a != b || text[index + i + 1] != sought[i + 1]) {
                return false;
            }
            ++i;
            continue;
        }
        if (rule == CaseRule::IgnoreAsciiCase ? foldAscii(a) != foldAscii(b) : a != b) {
            return false;
        }
    }
    return true;
}

// Index of the first character boundary at or after the 1-based `start`.
// Walking from the first byte keeps a start inside a double-byte character
// from being taken as the start of a character.
std::size_t firstBoundaryFrom(std::string_view text, int start) {
    const std::size_t wanted = start <= 1 ? 0 : static_cast<std::size_t>(start - 1);
    std::size_t index = 0;
    while (index < wanted && index < text.size()) {
        index += characterWidth(text, index);
    }
    return index;
}

std::size_t findIndex(std::string_view text, std::string_view sought, std::size_t from,
                      CaseRule rule) {
    for (std::size_t index = from; index < text.size(); index += characterWidth(text, index)) {
        if (matchesAt(text, index, sought, rule)) {
            return index;
        }
    }
    return std::string_view::npos;
}

bool startIsPastEnd(std::string_view text, int start) {
    return start > 1 && static_cast<std::size_t>(start) > text.size();
}

bool isIdeographicSpace(std::string_view text, std::size_t index) {
    return index + 1 < text.size() && static_cast<unsigned char>(text[index]) == 0xA1 &&
           static_cast<unsigned char>(text[index + 1]) == 0xA1;
}

// Width of the blank starting at `index`, or 0 when none starts there.
std::size_t blankWidthAt(std::string_view text, std::size_t index) {
    if (text[index] == ' ') {
        return 1;
    }
    return isIdeographicSpace(text, index) ? 2 : 0;
}

}  // namespace

int find(std::string_view text, std::string_view sought, int start, CaseRule rule) {
    if (sought.empty() || startIsPastEnd(text, start)) {
        return kNotFound;
    }
    const std::size_t index = findIndex(text, sought, firstBoundaryFrom(text, start), rule);
    return index == std::string_view::npos ? kNotFound : static_cast<int>(index) + 1;
}

int findLast(std::string_view text, std::string_view sought, CaseRule rule) {
    if (sought.empty()) {
        return kNotFound;
    }
    int last = kNotFound;
    for (std::size_t index = 0; index < text.size(); index += characterWidth(text, index)) {
        if (matchesAt(text, index, sought, rule)) {
            last = static_cast<int>(index) + 1;
        }
    }
    return last;
}

Text replace(std::string_view text, std::string_view sought, std::string_view replacement,
             int start, int count, CaseRule rule) {
    if (sought.empty() || count == 0 || startIsPastEnd(text, start)) {
        return Text(text);
    }
    std::size_t index = firstBoundaryFrom(text, start);
    Text result(text.substr(0, index));
    int done = 0;
    while (index < text.size() && (count < 0 || done < count)) {
        if (matchesAt(text, index, sought, rule)) {
            result.append(replacement);
            index += sought.size();
            ++done;
        } else {
            const std::size_t width = characterWidth(text, index);
            result.append(text.substr(index, width));
            index += width;
        }
    }
    if (index < text.size()) {
        result.append(text.substr(index));
    }
    return result;
}

Text left(std::string_view text, int n) {
    if (n <= 0) {
        return {};
    }
    return Text(text.substr(0, static_cast<std::size_t>(n)));
}

Text right(std::string_view text, int n) {
    if (n <= 0) {
        return {};
    }
    const std::size_t wanted = std::min(text.size(), static_cast<std::size_t>(n));
    return Text(text.substr(text.size() - wanted));
}

Text middle(std::string_view text, int start, int n) {
    if (n <= 0 || start < 1 || static_cast<std::size_t>(start) > text.size()) {
        return {};
    }
    return Text(text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n)));
}

Text trim(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t width = blankWidthAt(text, begin);
        if (width == 0) {
            break;
        }
        begin += width;
    }
    // The end is found by walking characters from the front, so that the
    // trail byte of a character can never be mistaken for a blank's byte.
    std::size_t end = begin;
    for (std::size_t index = begin; index < text.size();) {
        const std::size_t blank = blankWidthAt(text, index);
        const std::size_t width = blank != 0 ? blank : characterWidth(text, index);
        index += width;
        if (blank == 0) {
            end = index;
        }
    }
    return Text(text.substr(begin, end - begin));
}

Text removeAllBlanks(std::string_view text) {
    Text result;
    result.reserve(text.size());
    for (std::size_t index = 0; index < text.size();) {
        const std::size_t blank = blankWidthAt(text, index);
        if (blank != 0) {
            index += blank;
            continue;
        }
        const std::size_t width = characterWidth(text, index);
        result.append(text.substr(index, width));
        index += width;
    }
    return result;
}

Text toLower(std::string_view text) {
    Text result(text);
    std::transform(result.begin(), result.end(), result.begin(), foldAscii);
    return result;
}

Text integerToText(std::int64_t value) {
    return std::to_string(value);
}

std::int32_t textToInteger(std::string_view text) {
    std::size_t index = 0;
    while (index < text.size() && blankWidthAt(text, index) != 0) {
        index += blankWidthAt(text, index);
    }
    bool negative = false;
    if (index < text.size() && (text[index] == '+' || text[index] == '-')) {
        negative = text[index] == '-';
        ++index;
    }
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    for (; index < text.size() && text[index] >= '0' && text[index] <= '9'; ++index) {
        value = std::min(value * 10 + (text[index] - '0'), limit + 1);
    }
    if (negative) {
        return static_cast<std::int32_t>(-value);
    }
    return static_cast<std::int32_t>(std::min(value, limit));
}

Text bytesToText(std::string_view bytes) {
    return Text(bytes.substr(0, bytes.find('\0')));
}

Text bytesToText(const Bytes& bytes) {
    return bytesToText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

Bytes textToBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

int length(std::string_view text) {
    return static_cast<int>(std::min<std::size_t>(text.size(), std::numeric_limits<int>::max()));
}

}  // namespace tarvane
