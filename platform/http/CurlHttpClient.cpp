#include "platform/http/CurlHttpClient.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "platform/http/RequestTarget.h"

namespace tarvane {

namespace {

// curl's global state is set up once per process, whichever thread fetches
// first; a function-local static makes that safe.
void initialiseCurlOnce() {
    struct CurlGlobal {
        CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
        ~CurlGlobal() { curl_global_cleanup(); }
    };
    static const CurlGlobal global;
}

struct EasyCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCleanup>;

struct ListCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, ListCleanup>;

struct BodySink {
    Bytes body;
    std::size_t cap;
};

std::size_t appendBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* sink = static_cast<BodySink*>(user);
    const std::size_t offered = size * count;
    const std::size_t taken = std::min(offered, sink->cap - sink->body.size());
    sink->body.insert(sink->body.end(), data, data + taken);
    // Taking less than was offered makes curl stop the transfer.
    return taken;
}

bool isHostName(const Text& host) {
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '-' || c == '.' || c == '_';
    });
}

bool hasLineBreak(const Text& text) {
    return text.find_first_of("\r\n") != Text::npos;
}

// The extra headers as curl's list, one "Name: value" line each; none when a
// line is empty or carries a stray line break that would start a header of
// its own.
std::optional<HeaderList> headerList(const Text& extraHeaders) {
    HeaderList list;
    std::size_t start = 0;
    while (start < extraHeaders.size()) {
        std::size_t end = extraHeaders.find("\r\n", start);
        if (end == Text::npos) {
            end = extraHeaders.size();
        }
        const Text line = extraHeaders.substr(start, end - start);
        if (line.empty() || hasLineBreak(line)) {
            return std::nullopt;
        }
        curl_slist* longer = curl_slist_append(list.get(), line.c_str());
        if (longer == nullptr) {
            return std::nullopt;
        }
        list.release();
        list.reset(longer);
        start = end + 2;
    }
    return list;
}

std::optional<Text> firstUrl(const HttpRequest& request) {
    int port = request.port;
    if (port == 0) {
        port = request.secure ? 443 : 80;
    }
    if (!isHostName(request.host) || port < 1 || port > 65535 || request.path.empty() ||
        request.path.front() != '/') {
        return std::nullopt;
    }
    return Text(request.secure ? "https://" : "http://") + request.host + ":" +
           std::to_string(port) + requestTarget(request.path);
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? a + 32 : a) == (b >= 'A' && b <= 'Z' ? b + 32 : b);
           });
}

bool isRedirect(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

long wholeSeconds(std::chrono::milliseconds duration) {
    return std::max<long>(1, static_cast<long>((duration.count() + 999) / 1000));
}

// Everything about the transfer that stays the same from one redirect to the
// next.
void setCommonOptions(CURL* handle, const HttpRequest& request, curl_slist* headers,
                      const CurlHttpOptions& options) {
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(handle, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(handle, CURLOPT_PATH_AS_IS, 1L);
    // An empty proxy overrides the proxy environment variables.
    curl_easy_setopt(handle, CURLOPT_PROXY, "");
    curl_easy_setopt(handle, CURLOPT_NOPROXY, "*");
    // Redirects are followed here rather than by curl, so that the https to
    // http rule holds along the whole chain.
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, request.userAgent.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!options.extraCaFile.empty()) {
        curl_easy_setopt(handle, CURLOPT_CAINFO, options.extraCaFile.c_str());
    }
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(std::max<long long>(1, request.connectTimeout.count())));
    // Sending and receiving are each bounded by the time without progress.
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME,
                     wholeSeconds(std::max(request.sendTimeout, request.receiveTimeout)));
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, appendBody);
}

}  // namespace

CurlHttpClient::CurlHttpClient(CurlHttpOptions options) : m_options(std::move(options)) {}

Bytes CurlHttpClient::get(const HttpRequest& request) {
    const std::optional<Text> start = firstUrl(request);
    if (!start || hasLineBreak(request.userAgent)) {
        return {};
    }
    std::optional<HeaderList> headers = headerList(request.extraHeaders);
    if (!headers) {
        return {};
    }
    initialiseCurlOnce();
    const EasyHandle handle(curl_easy_init());
    if (!handle) {
        return {};
    }
    setCommonOptions(handle.get(), request, headers->get(), m_options);

    const auto deadline = std::chrono::steady_clock::now() + m_options.overallBound;
    std::string url = *start;
    bool secure = request.secure;
    for (int redirects = 0;; ++redirects) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return {};
        }
        BodySink sink{{}, m_options.bodyCap};
        curl_easy_setopt(handle.get(), CURLOPT_URL, url.c_str());
        curl_easy_setopt(handle.get(), CURLOPT_TIMEOUT_MS, static_cast<long>(left.count()));
        curl_easy_setopt(handle.get(), CURLOPT_WRITEDATA, &sink);
        // Whatever failed, the body that came before the failure is the
        // result; the status is not looked at.
        if (curl_easy_perform(handle.get()) != CURLE_OK) {
            return std::move(sink.body);
        }
        long status = 0;
        char* location = nullptr;
        curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status);
        curl_easy_getinfo(handle.get(), CURLINFO_REDIRECT_URL, &location);
        if (!isRedirect(status) || location == nullptr) {
            return std::move(sink.body);
        }
        const bool nextSecure = startsWithIgnoringCase(location, "https://");
        const bool known = nextSecure || startsWithIgnoringCase(location, "http://");
        if (redirects == m_options.maxRedirects || !known || (secure && !nextSecure)) {
            return {};
        }
        url = location;
        secure = nextSecure;
    }
}

}  // namespace tarvane
