#pragma once

#include <chrono>
#include <string>

#include "text/Text.h"

namespace tarvane {

// One GET request in the fixed shape the program always uses.
struct HttpRequest {
    bool secure = false;  // https
    Text host;            // without the port
    int port = 80;
    Text path;  // begins with "/", query included, as the URL spells it
    Text userAgent;
    Text extraHeaders;  // "Name: value" lines separated by CR LF, no trailing break
    std::chrono::milliseconds connectTimeout{15000};
    std::chrono::milliseconds sendTimeout{15000};
    std::chrono::milliseconds receiveTimeout{15000};
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    // The response body, whatever the status; empty when nothing came, and
    // what came before a failure when the body broke off.
    [[nodiscard]] virtual Bytes get(const HttpRequest& request) = 0;
};

}  // namespace tarvane
