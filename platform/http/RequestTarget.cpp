#include "platform/http/RequestTarget.h"

#include <cstdint>

namespace tarvane {

namespace {

bool standsInRequestLine(std::uint8_t byte) {
    return byte > 0x20 && byte < 0x7F && byte != '#';
}

}  // namespace

Text requestTarget(std::string_view path) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    Text target;
    target.reserve(path.size());
    for (const char c : path) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (standsInRequestLine(byte)) {
            target += c;
        } else {
            target += '%';
            target += kHexDigits[byte >> 4];
            target += kHexDigits[byte & 0x0F];
        }
    }
    return target;
}

}  // namespace tarvane
