#pragma once

#include "text/Text.h"

namespace tarvane {

class CodePage;

// A UTF-8 text (a fetched body) as code page 936; never fails.
[[nodiscard]] Text utf8ToGbk(const CodePage& codePage, const Text& utf8);

}  // namespace tarvane
