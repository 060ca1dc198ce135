#pragma once

// Splits absolute http:// and https:// URLs (code page 936 bytes).

#include "text/Text.h"

namespace tarvane {

enum class KeepPort { No, Yes };

// The lower-cased host, with ":port" when `keepPort` is Yes.
[[nodiscard]] Text urlHost(const Text& url, KeepPort keepPort);
// The explicit port, else 443 for https and 80 otherwise.
[[nodiscard]] int urlPort(const Text& url);
// Everything from the first "/" after the host, in the URL's own case; "/"
// when there is none.
[[nodiscard]] Text urlPath(const Text& url);

}  // namespace tarvane
