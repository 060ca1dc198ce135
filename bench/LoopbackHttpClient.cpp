#include "bench/LoopbackHttpClient.h"

#include <utility>

namespace tarvane {

LoopbackHttpClient::LoopbackHttpClient(HttpClient& inner, int httpPort, int httpsPort)
    : m_inner(inner), m_httpPort(httpPort), m_httpsPort(httpsPort) {}

Bytes LoopbackHttpClient::get(const HttpRequest& request) {
    // The server's certificate names 127.0.0.1, so TLS is checked for real.
    HttpRequest redirected = request;
    redirected.host = "127.0.0.1";
    redirected.port = request.secure ? m_httpsPort : m_httpPort;
    const Moment start = std::chrono::steady_clock::now();
    Bytes body = m_inner.get(redirected);
    const Moment end = std::chrono::steady_clock::now();
    m_fetches.push_back({request, start, end, body});
    return body;
}

std::vector<LoopbackHttpClient::Fetch> LoopbackHttpClient::takeFetches() {
    return std::exchange(m_fetches, {});
}

}  // namespace tarvane
