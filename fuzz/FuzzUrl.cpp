// Properties of the URL functions on arbitrary bytes, and on URLs put
// together from known parts.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "web/Url.h"

using namespace tarvane;
using fuzz::require;

namespace {

bool hasUpperCase(std::string_view text) {
    return text.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string_view::npos;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// What any text given as a URL must satisfy.
void checkAnyUrl(const Text& url) {
    const Text host = urlHost(url, KeepPort::No);
    const Text hostWithPort = urlHost(url, KeepPort::Yes);
    const Text path = urlPath(url);
    const int port = urlPort(url);

    require(startsWith(path, "/"), "urlPath begins with /");
    require(path == "/" || endsWith(url, path), "urlPath is the end of the URL");
    require(!hasUpperCase(host) && !hasUpperCase(hostWithPort), "the host is lower case");
    require(startsWith(hostWithPort, host), "the host without port begins the host with port");
    // Searched as code page 936 characters: the trail byte of a double-byte
    // character is no separator, even where it looks like one.
    require(find(host, ":") == kNotFound, "the host without port has no colon");
    require(find(hostWithPort, "/") == kNotFound, "the host ends at the first slash");

    const int colon = findLast(hostWithPort, ":");
    if (colon != kNotFound) {
        require(port == textToInteger(right(hostWithPort, length(hostWithPort) - colon)),
                "an explicit port is the text after the colon");
    } else {
        require(port == (startsWith(toLower(url), "https") ? 443 : 80),
                "without a port the scheme's default");
    }
}

// A URL put together from a scheme, a host, an optional port and an
// optional path, each drawn from the input; the functions must give the
// parts back.
void checkComposedUrl(fuzz::FuzzInput& input) {
    constexpr std::string_view kSchemes[] = {"http://", "https://", "HTTP://", "HtTpS://", ""};
    constexpr std::string_view kHostBytes = "abcxyzABCXYZ0189.-_";
    const std::uint8_t choice = input.takeByte();
    const std::string_view scheme = kSchemes[choice % 5];

    Text host;
    for (const char c : input.takePart()) {
        host += kHostBytes[static_cast<unsigned char>(c) % kHostBytes.size()];
    }
    if (host.empty()) {
        host = "h";
    }
    const bool hasPort = (choice & 0x10) != 0;
    const int port = (input.takeByte() << 8) | input.takeByte();
    const Text path(input.takePart());
    if (!path.empty() && path.front() != '/') {
        return;
    }
    // Without a scheme, an "http://" anywhere later is taken as the start of
    // the URL, and a host that begins with "https" as asking for TLS; both
    // are the documented reading, not what this check is about.
    const Text lowered = toLower(host + path);
    if (scheme.empty() && (lowered.find("http://") != Text::npos || startsWith(lowered, "https"))) {
        return;
    }

    const Text portText = hasPort ? ":" + std::to_string(port) : "";
    const Text url = Text(scheme) + host + portText + path;
    const int defaultPort = startsWith(toLower(scheme), "https") ? 443 : 80;
    require(urlHost(url, KeepPort::No) == toLower(host), "composed: host");
    require(urlHost(url, KeepPort::Yes) == toLower(host) + portText, "composed: host with port");
    require(urlPort(url) == (hasPort ? port : defaultPort), "composed: port");
    require(urlPath(url) == (path.empty() ? "/" : path), "composed: path");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput whole(data, size);
    checkAnyUrl(Text(whole.takePart()));

    fuzz::FuzzInput parts(data, size);
    checkComposedUrl(parts);
    return 0;
}
