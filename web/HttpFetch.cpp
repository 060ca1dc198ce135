#include "web/HttpFetch.h"

#include "platform/HttpClient.h"
#include "web/Url.h"

namespace tarvane {

namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr char kExtraHeaders[] = "Accept: */*\r\nAccept-Language: zh-cn";
constexpr std::chrono::milliseconds kTimeout{15000};

}  // namespace

Bytes httpFetch(HttpClient& client, const Text& url) {
    HttpRequest request;
    request.secure = toLower(left(url, 5)) == "https";
    request.host = urlHost(url, KeepPort::No);
    request.port = urlPort(url);
    request.path = urlPath(url);
    request.userAgent = kUserAgent;
    request.extraHeaders = kExtraHeaders;
    request.connectTimeout = kTimeout;
    request.sendTimeout = kTimeout;
    request.receiveTimeout = kTimeout;
    return client.get(request);
}

Text fetchText(HttpClient& client, const Text& url) {
    return bytesToText(httpFetch(client, url));
}

}  // namespace tarvane
