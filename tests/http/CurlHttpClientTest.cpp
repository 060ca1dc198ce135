#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include <gtest/gtest.h>

#include "platform/http/CurlHttpClient.h"
#include "tests/http/LoopbackServer.h"
#include "web/HttpFetch.h"

namespace tarvane {
namespace {

Bytes toBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

// The same bytes the server script sends for its long bodies.
Bytes pattern(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i % 251);
    }
    return bytes;
}

// A port on 127.0.0.1 that nothing listens on: bound, then let go.
int closedPort() {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
    close(probe);
    return ntohs(address.sin_port);
}

std::string expectedHead(const std::string& target, int port) {
    return "GET " + target + " HTTP/1.1\r\n" + "Host: 127.0.0.1:" + std::to_string(port) +
           "\r\n"
           "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\r\n"
           "Accept: */*\r\n"
           "Accept-Language: zh-cn\r\n"
           "\r\n";
}

constexpr const char* kProxyVariables[] = {"http_proxy",  "https_proxy", "HTTP_PROXY",
                                           "HTTPS_PROXY", "all_proxy",   "ALL_PROXY"};

class CurlHttpClientTest : public ::testing::Test {
protected:
    // One server for the whole suite; every fetch goes past proxy settings
    // that point nowhere, so each test also shows the connection is direct.
    static void SetUpTestSuite() {
        s_server = std::make_unique<LoopbackServer>();
        const std::string nowhere = "http://127.0.0.1:" + std::to_string(closedPort());
        for (const char* name : kProxyVariables) {
            setenv(name, nowhere.c_str(), 1);
        }
    }
    static void TearDownTestSuite() {
        for (const char* name : kProxyVariables) {
            unsetenv(name);
        }
        s_server.reset();
    }

    void SetUp() override {
        ASSERT_TRUE(s_server->ready()) << s_server->error();
        (void)s_server->takeRequests();
    }

    CurlHttpOptions options() const {
        CurlHttpOptions options;
        options.extraCaFile = s_server->caFile();
        return options;
    }

    static LoopbackServer& server() { return *s_server; }

    static std::unique_ptr<LoopbackServer> s_server;
};

std::unique_ptr<LoopbackServer> CurlHttpClientTest::s_server;

TEST_F(CurlHttpClientTest, PutsTheFixedRequestOnTheWire) {
    struct WireCase {
        bool secure;
        std::string path;
        std::string target;
    };
    const WireCase cases[] = {
        {false, "/echo", "/echo"},
        {true, "/echo", "/echo"},
        {false, R"(/echo/a/../b/./c\d?x=%41&y=[]|^`{}"<>)",
         R"(/echo/a/../b/./c\d?x=%41&y=[]|^`{}"<>)"},
        {true, "/echo/a/../b?q=1", "/echo/a/../b?q=1"},
        {false, "/echo/\xD6\xD0 x#y", "/echo/%D6%D0%20x%23y"},
    };
    CurlHttpClient client(options());
    for (const auto& c : cases) {
        SCOPED_TRACE((c.secure ? "https " : "http ") + c.path);
        const std::string url = c.secure ? server().httpsUrl(c.path) : server().httpUrl(c.path);
        EXPECT_EQ(httpFetch(client, url), toBytes("hello"));
        const int port = c.secure ? server().httpsPort() : server().httpPort();
        EXPECT_EQ(server().takeRequests(), std::vector<std::string>{expectedHead(c.target, port)});
    }
}

TEST_F(CurlHttpClientTest, ReturnsBodiesWholeWhateverTheStatus) {
    struct BodyCase {
        const char* path;
        Bytes body;
    };
    const BodyCase cases[] = {
        {"/missing", toBytes("<html><body>no such page</body></html>")},
        {"/exact1024", pattern(1024)},
        {"/large", pattern(3 * 1024 * 1024 + 17)},
        {"/zero", toBytes(std::string_view("before\0after", 12))},
    };
    CurlHttpClient client(options());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(httpFetch(client, server().httpUrl(c.path)), c.body);
    }
    EXPECT_EQ(fetchText(client, server().httpUrl("/zero")), "before");
}

TEST_F(CurlHttpClientTest, UnreachableHostGivesNothing) {
    CurlHttpClient client(options());
    EXPECT_TRUE(
        httpFetch(client, "http://127.0.0.1:" + std::to_string(closedPort()) + "/").empty());
}

TEST_F(CurlHttpClientTest, UntrustedCertificateGivesNothing) {
    CurlHttpClient client;
    EXPECT_TRUE(httpFetch(client, server().httpsUrl("/echo")).empty());
    EXPECT_TRUE(server().takeRequests().empty());
}

TEST_F(CurlHttpClientTest, FollowsRedirectToAnotherPath) {
    CurlHttpClient client(options());
    EXPECT_EQ(httpFetch(client, server().httpUrl("/redirect")), toBytes("arrived at the target"));
    const int port = server().httpPort();
    EXPECT_EQ(server().takeRequests(), (std::vector<std::string>{expectedHead("/redirect", port),
                                                                 expectedHead("/target", port)}));
}

TEST_F(CurlHttpClientTest, FollowsPlainHttpUpToHttps) {
    CurlHttpClient client(options());
    EXPECT_EQ(httpFetch(client, server().httpUrl("/to-https")), toBytes("arrived over TLS"));
    EXPECT_EQ(server().takeRequests(),
              (std::vector<std::string>{expectedHead("/to-https", server().httpPort()),
                                        expectedHead("/secure-target", server().httpsPort())}));
}

TEST_F(CurlHttpClientTest, NeverFollowsHttpsDownToHttp) {
    CurlHttpClient client(options());
    EXPECT_TRUE(httpFetch(client, server().httpsUrl("/to-http")).empty());
    EXPECT_EQ(server().takeRequests().size(), 1u);
}

TEST_F(CurlHttpClientTest, RefusesRequestsThatCannotBeSentAsAsked) {
    struct RefusedCase {
        const char* name;
        HttpRequest request;
    };
    HttpRequest base;
    base.host = "127.0.0.1";
    base.port = server().httpPort();
    base.path = "/echo";
    base.extraHeaders = "Accept: */*";
    auto with = [&base](auto change) {
        HttpRequest request = base;
        change(request);
        return request;
    };
    const RefusedCase cases[] = {
        {"host with user information", with([](HttpRequest& r) { r.host = "user@127.0.0.1"; })},
        {"empty host", with([](HttpRequest& r) { r.host = ""; })},
        {"port out of range", with([](HttpRequest& r) { r.port = 70000; })},
        {"negative port", with([](HttpRequest& r) { r.port = -1; })},
        {"header with a line break",
         with([](HttpRequest& r) { r.extraHeaders = "Accept: */*\nX-Injected: 1"; })},
        {"user agent with a line break",
         with([](HttpRequest& r) { r.userAgent = "agent\r\nX-Injected: 1"; })},
    };
    CurlHttpClient client(options());
    EXPECT_EQ(client.get(base), toBytes("hello"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(client.get(c.request).empty());
    }
    EXPECT_EQ(server().takeRequests().size(), 1u);
}

}  // namespace
}  // namespace tarvane
