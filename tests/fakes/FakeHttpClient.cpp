#include "tests/fakes/FakeHttpClient.h"

#include "web/Url.h"

namespace tarvane {

void FakeHttpClient::respond(const Text& host, const Text& path, Bytes body) {
    m_bodies[{host, path}] = std::move(body);
}

void FakeHttpClient::respond(const Text& host, const Text& path, std::string_view body) {
    respond(host, path, Bytes(body.begin(), body.end()));
}

void FakeHttpClient::respondToUrl(const Text& url, std::string_view body) {
    respond(urlHost(url, KeepPort::No), urlPath(url), body);
}

Bytes FakeHttpClient::get(const HttpRequest& request) {
    m_requests.push_back(request);
    const auto found = m_bodies.find({request.host, request.path});
    return found == m_bodies.end() ? Bytes{} : found->second;
}

}  // namespace tarvane
