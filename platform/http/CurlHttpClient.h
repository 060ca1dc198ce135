#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>

#include "platform/HttpClient.h"

namespace tarvane {

struct CurlHttpOptions {
    // Certificates to trust in place of curl's CA bundle; the system
    // certificate folder stays in use. Empty for the system store alone,
    // which is what the program uses; tests hand in their own authority.
    std::filesystem::path extraCaFile;
    // The whole fetch, redirects included. The per-phase time-outs alone let
    // a server that trickles a byte now and then hold the caller for ever.
    std::chrono::milliseconds overallBound{45000};
    // Past this many body bytes the fetch stops and returns what came, so a
    // hostile server cannot exhaust memory.
    std::size_t bodyCap = 4 * 1024 * 1024;
    // Redirects followed before the fetch gives up with an empty body.
    int maxRedirects = 10;
};

// HTTP and HTTPS GETs through libcurl, putting exactly the request's shape on
// the wire: the request line, Host, User-Agent and the extra headers, nothing
// else. Direct connection whatever the proxy environment says; certificates
// checked; redirects followed, from http to https too but never from https
// down to http (such a fetch gives nothing). A port of 0 means the scheme's
// default port. A request that could not be sent as asked (a host name or
// header with bytes that do not belong there, a port out of range) fetches
// nothing.
class CurlHttpClient final : public HttpClient {
public:
    explicit CurlHttpClient(CurlHttpOptions options = {});

    [[nodiscard]] Bytes get(const HttpRequest& request) override;

private:
    CurlHttpOptions m_options;
};

}  // namespace tarvane
