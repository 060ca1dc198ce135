#pragma once

// Works on code page 936 bytes.

#include "text/Text.h"

namespace tarvane {

// The text between the first `leftMarker` at or after `start` and the next
// `rightMarker` after it; empty when either is missing. In both markers
// "#引号" stands for a double quote.
[[nodiscard]] Text textBetween(const Text& source, const Text& leftMarker, const Text& rightMarker,
                               int start = 1, CaseRule rule = CaseRule::Exact);

}  // namespace tarvane
