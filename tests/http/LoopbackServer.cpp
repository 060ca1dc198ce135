#include "tests/http/LoopbackServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

extern char** environ;

namespace tarvane {

namespace {

// Making the certificates takes a moment; a slow machine gets plenty.
constexpr int kStartTimeoutMs = 30000;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

LoopbackServer::LoopbackServer() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvane-http-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        m_error = "cannot make a work folder";
        return;
    }
    m_work = pattern;

    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        m_error = "cannot make a pipe";
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    std::string python = TARVANE_PYTHON;
    std::string script = TARVANE_LOOPBACK_SERVER;
    std::string work = m_work.string();
    char* argv[] = {python.data(), script.data(), work.data(), nullptr};
    const int spawned = posix_spawn(&m_pid, python.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    m_output = pipeEnds[0];
    if (spawned != 0) {
        m_pid = -1;
        m_error = "cannot start " + python;
        return;
    }

    std::string line;
    pollfd readable{m_output, POLLIN, 0};
    while (line.find('\n') == std::string::npos && poll(&readable, 1, kStartTimeoutMs) > 0) {
        char buffer[256];
        const ssize_t got = read(m_output, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        line.append(buffer, static_cast<std::size_t>(got));
    }
    std::istringstream words(line);
    std::string ready;
    words >> ready >> m_httpPort >> m_httpsPort >> m_notTlsPort;
    if (ready != "READY" || m_httpsPort == 0 || m_notTlsPort == 0) {
        m_httpPort = 0;
        m_error = "the server did not come up: '" + line + "'";
    }
}

LoopbackServer::~LoopbackServer() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    if (m_output >= 0) {
        close(m_output);
    }
    if (!m_work.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_work, ignored);
    }
}

std::string LoopbackServer::httpUrl(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_httpPort) + path;
}

std::string LoopbackServer::httpsUrl(const std::string& path) const {
    return "https://127.0.0.1:" + std::to_string(m_httpsPort) + path;
}

std::string LoopbackServer::notTlsUrl(const std::string& path) const {
    return "https://127.0.0.1:" + std::to_string(m_notTlsPort) + path;
}

std::vector<std::string> LoopbackServer::takeRequests() {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(m_work / "requests", error)) {
        if (entry.path().extension() == ".req") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<std::string> heads;
    for (const auto& file : files) {
        heads.push_back(readFile(file));
        std::filesystem::remove(file, error);
    }
    return heads;
}

}  // namespace tarvane
