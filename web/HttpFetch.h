#pragma once

#include "text/Text.h"

namespace tarvane {

class HttpClient;

// One blocking GET in the program's fixed request shape; the body whatever
// the status, empty when nothing could be fetched.
[[nodiscard]] Bytes httpFetch(HttpClient& client, const Text& url);
// The body up to its first zero byte, unconverted.
[[nodiscard]] Text fetchText(HttpClient& client, const Text& url);

}  // namespace tarvane
