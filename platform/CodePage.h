#pragma once

#include <string>
#include <string_view>

#include "text/Text.h"

namespace tarvane {

// Conversions between UTF-8 and code page 936 as Windows defines it.
class CodePage {
public:
    virtual ~CodePage() = default;
    // Never fails: a character without a code page 936 form and each
    // ill-formed UTF-8 sequence become one "?". Input ends at a zero byte.
    [[nodiscard]] virtual Text utf8ToGbk(std::string_view utf8) const = 0;
    // For showing texts to the toolkit and naming files; undecodable bytes
    // become U+FFFD.
    [[nodiscard]] virtual std::string gbkToUtf8(std::string_view gbk) const = 0;
};

}  // namespace tarvane
