#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tarvane {

// The loopback HTTP and HTTPS server script, run as a child process for the
// life of this object. It listens on ephemeral ports of 127.0.0.1 and keeps
// the raw head of every request it is sent.
class LoopbackServer {
public:
    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // False when the server did not come up; the reason is in error().
    [[nodiscard]] bool ready() const { return m_httpPort != 0; }
    [[nodiscard]] const std::string& error() const { return m_error; }

    [[nodiscard]] int httpPort() const { return m_httpPort; }
    [[nodiscard]] int httpsPort() const { return m_httpsPort; }
    [[nodiscard]] std::string httpUrl(const std::string& path) const;
    [[nodiscard]] std::string httpsUrl(const std::string& path) const;
    // An https URL on the port that answers every connection with bytes
    // that are not TLS.
    [[nodiscard]] std::string notTlsUrl(const std::string& path) const;
    // The authority that signed the server's certificate.
    [[nodiscard]] std::filesystem::path caFile() const { return m_work / "ca.pem"; }

    // The request heads received since the last call, oldest first.
    [[nodiscard]] std::vector<std::string> takeRequests();

private:
    std::filesystem::path m_work;
    pid_t m_pid = -1;
    int m_output = -1;
    int m_httpPort = 0;
    int m_httpsPort = 0;
    int m_notTlsPort = 0;
    std::string m_error;
};

}  // namespace tarvane
