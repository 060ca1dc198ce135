#include "web/Url.h"

#include <gtest/gtest.h>

namespace tarvane {
namespace {

struct UrlCase {
    Text url;
    Text host;
    Text hostWithPort;
    int port;
    Text path;
};

TEST(Url, SplitsIntoHostPortAndPath) {
    const UrlCase cases[] = {
        {"https://svc.example.test/x3/weather?cityid=CN000000000&key=0", "svc.example.test",
         "svc.example.test", 443, "/x3/weather?cityid=CN000000000&key=0"},
        {"http://site.example.test/ham_clock.html", "site.example.test", "site.example.test", 80,
         "/ham_clock.html"},
        {"HTTP://Site.Example.TEST/A/B", "site.example.test", "site.example.test", 80, "/A/B"},
        {"http://host.test:8080/a", "host.test", "host.test:8080", 8080, "/a"},
        {"https://host.test", "host.test", "host.test", 443, "/"},
        {"https://host.test:8443", "host.test", "host.test:8443", 8443, "/"},
        {"http://host.test:x/", "host.test", "host.test:x", 0, "/"},
        {"HTTPS://Host.Test:8443/Q?A=B", "host.test", "host.test:8443", 8443, "/Q?A=B"},
        {"host.test/a", "host.test", "host.test", 80, "/a"},
        {"http://a.test/a.test/x", "a.test", "a.test", 80, "/a.test/x"},
        {"", "", "", 80, "/"},
        {"http://t/x", "t", "t", 80, "/x"},
        {"https://tp:81/q", "tp", "tp:81", 81, "/q"},
        {"h.test/x?u=ftp://h.test/y", "h.test", "h.test", 80, "/x?u=ftp://h.test/y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(urlHost(c.url, KeepPort::No), c.host);
        EXPECT_EQ(urlHost(c.url, KeepPort::Yes), c.hostWithPort);
        EXPECT_EQ(urlPort(c.url), c.port);
        EXPECT_EQ(urlPath(c.url), c.path);
    }
}

}  // namespace
}  // namespace tarvane
