#pragma once

// Sends the program's requests to the loopback server instead of the hosts
// they name, and notes what each fetch took.

#include <chrono>
#include <vector>

#include "platform/HttpClient.h"

namespace tarvane {

class LoopbackHttpClient final : public HttpClient {
public:
    using Moment = std::chrono::steady_clock::time_point;

    struct Fetch {
        HttpRequest request;  // as the program made it, before the redirection
        Moment start;
        Moment end;
        Bytes body;
    };

    // https requests go to `httpsPort` of 127.0.0.1, plain ones to
    // `httpPort`; path, headers and time-outs pass through unchanged.
    // `inner` must outlive this object.
    LoopbackHttpClient(HttpClient& inner, int httpPort, int httpsPort);

    [[nodiscard]] Bytes get(const HttpRequest& request) override;

    // The fetches since the last call, oldest first.
    [[nodiscard]] std::vector<Fetch> takeFetches();

private:
    HttpClient& m_inner;
    int m_httpPort;
    int m_httpsPort;
    std::vector<Fetch> m_fetches;
};

}  // namespace tarvane
