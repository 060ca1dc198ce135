// Properties of the UTF-8 to code page 936 conversion on arbitrary bytes.
#include <cstdint>
#include <optional>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "platform/codepage/IconvCodePage.h"

using namespace tarvane;
using fuzz::require;

namespace {

// The characters of a UTF-8 text up to its first zero byte, counting each
// ill-formed sequence as one: a byte that cannot lead, or a lead byte with
// the continuation bytes that could still have belonged to it.
std::size_t countUtf8Characters(std::string_view utf8) {
    utf8 = utf8.substr(0, utf8.find('\0'));
    std::size_t count = 0;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const auto lead = static_cast<std::uint8_t>(utf8[at]);
        ++count;
        std::size_t length = 1;
        std::uint8_t low = 0x80;
        std::uint8_t high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;   // overlong
            high = lead == 0xED ? 0x9F : 0xBF;  // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;   // overlong
            high = lead == 0xF4 ? 0x8F : 0xBF;  // past U+10FFFF
        }
        std::size_t taken = 1;
        while (taken < length && at + taken < utf8.size()) {
            const auto next = static_cast<std::uint8_t>(utf8[at + taken]);
            const std::uint8_t min = taken == 1 ? low : 0x80;
            const std::uint8_t max = taken == 1 ? high : 0xBF;
            if (next < min || next > max) {
                break;
            }
            ++taken;
        }
        at += taken;
    }
    return count;
}

// The characters of a code page 936 text; none when a byte sequence is not
// valid there. A zero byte is never valid: a Text cannot hold one.
std::optional<std::size_t> countGbkCharacters(std::string_view gbk) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < gbk.size(); ++count) {
        const auto byte = static_cast<std::uint8_t>(gbk[at]);
        if (byte == 0x00 || byte == 0xFF) {
            return std::nullopt;
        }
        // ASCII, and 0x80 for the euro sign.
        if (byte <= 0x80) {
            ++at;
            continue;
        }
        if (at + 1 == gbk.size()) {
            return std::nullopt;
        }
        const auto trail = static_cast<std::uint8_t>(gbk[at + 1]);
        if (trail < 0x40 || trail == 0x7F || trail == 0xFF) {
            return std::nullopt;
        }
        at += 2;
    }
    return count;
}

bool isAscii(std::string_view text) {
    for (const char c : text) {
        if (c == '\0' || static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view utf8(reinterpret_cast<const char*>(data), size);
    const IconvCodePage codePage;
    const Text gbk = codePage.utf8ToGbk(utf8);

    const std::optional<std::size_t> characters = countGbkCharacters(gbk);
    require(characters.has_value(), "the output is valid code page 936");
    require(*characters == countUtf8Characters(utf8),
            "one output character for each input character or ill-formed sequence");
    if (isAscii(utf8)) {
        require(gbk == utf8, "ASCII passes unchanged");
    }
    // Every character that came out stands for a character the way back, so
    // the output survives the way back and forth unchanged.
    require(codePage.utf8ToGbk(codePage.gbkToUtf8(gbk)) == gbk,
            "the output is a fixed point of the way back and forth");
    return 0;
}
