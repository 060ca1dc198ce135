#pragma once

#include "platform/CodePage.h"

namespace tarvane {

// Code page 936 through glibc's iconv. glibc's "CP936" is an alias of its
// "GBK" table, which is the Windows table (0x80 is the euro sign) without
// the private use mappings; those are added on top. "GB18030" would be wrong
// here: it gives every character some form, where Windows gives "?".
//
// Safe to use from several threads: each call opens its own conversion. If
// the system lacks the conversion module, ASCII still passes and every other
// character becomes "?" (or U+FFFD the other way).
class IconvCodePage final : public CodePage {
public:
    [[nodiscard]] Text utf8ToGbk(std::string_view utf8) const override;
    [[nodiscard]] std::string gbkToUtf8(std::string_view gbk) const override;
};

}  // namespace tarvane
