#include "web/Url.h"

#include "web/TextBetween.h"

namespace tarvane {

namespace {

// Where urlHost starts reading the host: after a leading "https://", else
// after the first "http://", else at the first byte.
int hostSearchStart(const Text& url) {
    const Text lowered = toLower(url);
    if (left(lowered, 8) == "https://") {
        return 9;
    }
    const int http = find(lowered, "http://");
    return http == kNotFound ? 1 : http + 7;
}

}  // namespace

Text urlHost(const Text& url, KeepPort keepPort) {
    Text lowered = toLower(url);
    if (right(lowered, 1) != "/") {
        lowered += "/";
    }
    Text host;
    if (left(lowered, 8) == "https://") {
        host = textBetween(lowered, "https://", "/", 1, CaseRule::Exact);
    } else {
        // Anything that is not https is fetched as plain http, with or
        // without its scheme written out.
        if (find(lowered, "http://") == kNotFound) {
            lowered = "http://" + lowered;
        }
        host = textBetween(lowered, "http://", "/", 1, CaseRule::Exact);
    }
    if (keepPort == KeepPort::Yes) {
        return host;
    }
    const int colon = find(host, ":");
    return colon == kNotFound ? host : left(host, colon - 1);
}

int urlPort(const Text& url) {
    const Text host = urlHost(url, KeepPort::Yes);
    const int colon = findLast(host, ":");
    if (colon != kNotFound) {
        return textToInteger(right(host, length(host) - colon));
    }
    return left(toLower(url), 5) == "https" ? 443 : 80;
}

Text urlPath(const Text& url) {
    const Text host = urlHost(url, KeepPort::No);
    // The host is sought from where urlHost took it, so that a short host
    // such as "t" or "tp" is not found inside "http://" itself, nor the host
    // of a URL without scheme inside a later "://" of its path.
    const int hostAt = find(url, host, hostSearchStart(url), CaseRule::IgnoreAsciiCase);
    const int slash = find(url, "/", hostAt);
    if (slash == kNotFound) {
        return "/";
    }
    return right(url, length(url) - slash + 1);
}

}  // namespace tarvane
