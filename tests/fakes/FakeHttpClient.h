#pragma once

#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/HttpClient.h"

namespace tarvane {

// An HTTP client that answers from a script and records every request it is
// given, in order. A request nobody scripted gets an empty body, as an
// unreachable server would give.
class FakeHttpClient : public HttpClient {
public:
    // Answers GETs of `path` (query included) on `host` (lower case, without
    // the port), whatever the scheme and port.
    void respond(const Text& host, const Text& path, Bytes body);
    void respond(const Text& host, const Text& path, std::string_view body);
    // Answers the request that httpFetch makes for `url`.
    void respondToUrl(const Text& url, std::string_view body);

    [[nodiscard]] Bytes get(const HttpRequest& request) override;

    // Every request so far, oldest first.
    [[nodiscard]] const std::vector<HttpRequest>& requests() const { return m_requests; }

private:
    std::map<std::pair<Text, Text>, Bytes> m_bodies;
    std::vector<HttpRequest> m_requests;
};

}  // namespace tarvane
