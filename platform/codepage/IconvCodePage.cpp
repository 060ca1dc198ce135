#include "platform/codepage/IconvCodePage.h"

#include <iconv.h>

#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/codepage/UserDefinedArea936.h"
#include "platform/codepage/Utf8Decoding.h"

namespace tarvane {

namespace {

constexpr char kCodePage936[] = "CP936";
constexpr const char* kUtf32 = std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";
const auto kIconvFailed = static_cast<std::size_t>(-1);
constexpr char32_t kFirstTagCharacter = 0xE0000;
constexpr char32_t kLastTagCharacter = 0xE007F;

class Conversion {
public:
    Conversion(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~Conversion() {
        if (valid()) {
            iconv_close(m_handle);
        }
    }
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;

    [[nodiscard]] bool valid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can, appending to `out`; stops at the end or at
    // the first unit it cannot convert, which is left at `in`. False when it
    // stopped early.
    [[nodiscard]] bool convert(char*& in, std::size_t& inLeft, std::string& out) const {
        std::array<char, 4096> buffer;
        while (inLeft > 0) {
            char* outAt = buffer.data();
            std::size_t outLeft = buffer.size();
            const std::size_t result = iconv(m_handle, &in, &inLeft, &outAt, &outLeft);
            out.append(buffer.data(), outAt);
            if (result == kIconvFailed && errno != E2BIG) {
                return false;
            }
        }
        return true;
    }

private:
    iconv_t m_handle;
};

// A character the table has no form for: the private use characters that
// Windows maps onto its user-defined cells, "?" for anything else.
void appendGbkFallback(char32_t codePoint, Text& out) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (const auto cell = userDefinedCell(codePoint)) {
        out += static_cast<char>(*cell >> 8);
        out += static_cast<char>(*cell & 0xFF);
    } else {
        out += '?';
    }
}

bool isLeadByte(std::uint8_t byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

bool isTrailByte(std::uint8_t byte) {
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// Decodes the unit at `in` that the table could not: a lead and trail pair
// counts as one character, any other byte as one on its own. Returns the
// bytes it took.
std::size_t appendUtf8Fallback(const char* in, std::size_t inLeft, std::string& out) {
    const auto first = static_cast<std::uint8_t>(in[0]);
    if (first < 0x80) {
        out += static_cast<char>(first);
        return 1;
    }
    if (isLeadByte(first) && inLeft >= 2 && isTrailByte(static_cast<std::uint8_t>(in[1]))) {
        const auto trail = static_cast<std::uint8_t>(in[1]);
        appendUtf8(out, privateUseCharacter(first, trail).value_or(kReplacementCharacter));
        return 2;
    }
    appendUtf8(out, kReplacementCharacter);
    return 1;
}

}  // namespace

Text IconvCodePage::utf8ToGbk(std::string_view utf8) const {
    // iconv stops at the first ill-formed byte; decoding here first gives
    // each ill-formed sequence its one "?" and lets the rest through.
    std::u32string codePoints = decodeUtf8(utf8);
    // glibc drops the language tag characters without a trace; like any
    // other character without a form here, each becomes one "?".
    for (char32_t& codePoint : codePoints) {
        if (codePoint >= kFirstTagCharacter && codePoint <= kLastTagCharacter) {
            codePoint = kReplacementCharacter;
        }
    }
    Text out;
    out.reserve(codePoints.size() * 2);
    const Conversion toGbk(kCodePage936, kUtf32);
    char* in = reinterpret_cast<char*>(codePoints.data());
    std::size_t inLeft = codePoints.size() * sizeof(char32_t);
    while (inLeft > 0) {
        if (toGbk.valid() && toGbk.convert(in, inLeft, out)) {
            break;
        }
        char32_t codePoint;
        std::memcpy(&codePoint, in, sizeof codePoint);
        appendGbkFallback(codePoint, out);
        in += sizeof codePoint;
        inLeft -= sizeof codePoint;
    }
    return out;
}

std::string IconvCodePage::gbkToUtf8(std::string_view gbk) const {
    gbk = gbk.substr(0, gbk.find('\0'));
    std::string bytes(gbk);
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    const Conversion toUtf8("UTF-8", kCodePage936);
    char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        if (toUtf8.valid() && toUtf8.convert(in, inLeft, out)) {
            break;
        }
        const std::size_t taken = appendUtf8Fallback(in, inLeft, out);
        in += taken;
        inLeft -= taken;
    }
    return out;
}

}  // namespace tarvane
