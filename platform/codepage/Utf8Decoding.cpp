#include "platform/codepage/Utf8Decoding.h"

#include <cstdint>

namespace tarvane {

namespace {

struct LeadByte {
    int length;  // bytes in the whole sequence; 0 for a byte that cannot lead
    std::uint8_t secondLow;
    std::uint8_t secondHigh;
};

// The second byte is the one whose range depends on the lead; it is what
// rules out overlong forms, surrogates and values past U+10FFFF.
LeadByte leadByte(std::uint8_t byte) {
    if (byte >= 0xC2 && byte <= 0xDF) {
        return {2, 0x80, 0xBF};
    }
    if (byte == 0xE0) {
        return {3, 0xA0, 0xBF};
    }
    if (byte == 0xED) {
        return {3, 0x80, 0x9F};
    }
    if (byte >= 0xE1 && byte <= 0xEF) {
        return {3, 0x80, 0xBF};
    }
    if (byte == 0xF0) {
        return {4, 0x90, 0xBF};
    }
    if (byte >= 0xF1 && byte <= 0xF3) {
        return {4, 0x80, 0xBF};
    }
    if (byte == 0xF4) {
        return {4, 0x80, 0x8F};
    }
    return {0, 0, 0};
}

}  // namespace

std::u32string decodeUtf8(std::string_view utf8) {
    utf8 = utf8.substr(0, utf8.find('\0'));
    std::u32string codePoints;
    codePoints.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const auto lead = static_cast<std::uint8_t>(utf8[at]);
        if (lead < 0x80) {
            codePoints.push_back(lead);
            ++at;
            continue;
        }
        const LeadByte shape = leadByte(lead);
        if (shape.length == 0) {
            codePoints.push_back(kReplacementCharacter);
            ++at;
            continue;
        }
        const int leadBits = 7 - shape.length;
        char32_t value = lead & ((1u << leadBits) - 1);
        int taken = 1;
        for (; taken < shape.length && at + taken < utf8.size(); ++taken) {
            const auto next = static_cast<std::uint8_t>(utf8[at + taken]);
            const std::uint8_t low = taken == 1 ? shape.secondLow : 0x80;
            const std::uint8_t high = taken == 1 ? shape.secondHigh : 0xBF;
            if (next < low || next > high) {
                break;
            }
            value = (value << 6) | (next & 0x3F);
        }
        codePoints.push_back(taken == shape.length ? value : kReplacementCharacter);
        at += taken;
    }
    return codePoints;
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace tarvane
