#pragma once

#include <string_view>

#include "text/Text.h"

namespace tarvane {

// The request target for a path as the URL spells it: every printable ASCII
// byte as it is (no dot segments removed, no escapes decoded), and each byte
// that cannot stand in a request line percent-encoded: a space, a control
// byte, a byte of 0x80 and above, and "#", which would otherwise end the
// target as a fragment.
[[nodiscard]] Text requestTarget(std::string_view path);

}  // namespace tarvane
