#include "web/HttpFetch.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeHttpClient.h"

namespace tarvane {
namespace {

struct RequestCase {
    Text url;
    bool secure;
    Text host;
    int port;
    Text path;
};

TEST(HttpFetch, BuildsTheFixedRequestFromTheUrl) {
    const RequestCase cases[] = {
        {"https://svc.example.test/x3/weather?cityid=CN000000000&key=0", true, "svc.example.test",
         443, "/x3/weather?cityid=CN000000000&key=0"},
        {"http://site.example.test/ham_clock.html", false, "site.example.test", 80,
         "/ham_clock.html"},
        {"HTTPS://Host.Test:8443/A", true, "host.test", 8443, "/A"},
        {"http://host.test:8080", false, "host.test", 8080, "/"},
        {"site.example.test/a", false, "site.example.test", 80, "/a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        FakeHttpClient client;
        (void)httpFetch(client, c.url);
        ASSERT_EQ(client.requests().size(), 1u);
        const HttpRequest& request = client.requests().front();
        EXPECT_EQ(request.secure, c.secure);
        EXPECT_EQ(request.host, c.host);
        EXPECT_EQ(request.port, c.port);
        EXPECT_EQ(request.path, c.path);
        EXPECT_EQ(request.userAgent, "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)");
        EXPECT_EQ(request.extraHeaders, "Accept: */*\r\nAccept-Language: zh-cn");
        EXPECT_EQ(request.extraHeaders.size(), 35u);
        EXPECT_EQ(request.connectTimeout.count(), 15000);
        EXPECT_EQ(request.sendTimeout.count(), 15000);
        EXPECT_EQ(request.receiveTimeout.count(), 15000);
    }
}

TEST(HttpFetch, KeepsZeroBytesThatFetchTextCutsAt) {
    const std::string body("before\0after", 12);
    FakeHttpClient client;
    client.respondToUrl("http://site.example.test/page", body);

    EXPECT_EQ(httpFetch(client, "http://site.example.test/page"), Bytes(body.begin(), body.end()));
    EXPECT_EQ(fetchText(client, "http://site.example.test/page"), "before");
}

TEST(HttpFetch, NothingFetchedIsEmpty) {
    FakeHttpClient client;
    EXPECT_TRUE(httpFetch(client, "http://unreachable.example.test/").empty());
    EXPECT_EQ(fetchText(client, "http://unreachable.example.test/"), "");
}

}  // namespace
}  // namespace tarvane
