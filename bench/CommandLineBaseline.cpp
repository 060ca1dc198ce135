#include "bench/CommandLineBaseline.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <utility>

extern char** environ;

namespace tarvane {

namespace {

using Clock = std::chrono::steady_clock;

// The program's own request shape, so both sides put the same bytes on the
// wire.
constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// Starts the command with its output thrown away (errors still show) and
// waits for it; the exit status, or -1 when it could not start.
int runToEnd(const std::vector<std::string>& command) {
    std::vector<std::string> arguments = command;
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

CommandLineBaseline::CommandLineBaseline(std::filesystem::path folder, Urls urls,
                                         std::filesystem::path caFile, const std::string& utf8Text)
    : m_folder(std::move(folder)), m_urls(std::move(urls)), m_caFile(std::move(caFile)) {
    std::ofstream(m_folder / "text.txt", std::ios::binary) << utf8Text;
}

std::vector<std::string> CommandLineBaseline::fetchCommand(
    const std::string& url, const std::filesystem::path& output) const {
    return {"curl",
            "--silent",
            "--show-error",
            "--noproxy",
            "*",
            "--cacert",
            m_caFile.string(),
            "--user-agent",
            kUserAgent,
            "--header",
            "Accept: */*",
            "--header",
            "Accept-Language: zh-cn",
            "--output",
            output.string(),
            url};
}

std::optional<CommandLineBaseline::Milliseconds> CommandLineBaseline::step(
    const std::vector<std::string>& command, const std::filesystem::path& output) {
    const auto start = Clock::now();
    const int status = runToEnd(command);
    const Milliseconds elapsed = Clock::now() - start;
    if (status != 0) {
        m_error = command.front() + (status < 0 ? " could not be run"
                                                : " failed with status " + std::to_string(status));
        return std::nullopt;
    }
    std::error_code sizeError;
    if (std::filesystem::file_size(output, sizeError) == 0 || sizeError) {
        m_error = command.front() + " left " + output.string() + " empty or missing";
        return std::nullopt;
    }
    return elapsed;
}

std::optional<CommandLineBaseline::Steps> CommandLineBaseline::run() {
    const std::filesystem::path weather = m_folder / "weather.json";
    const std::filesystem::path notice = m_folder / "notice.html";
    const std::filesystem::path speech = m_folder / "speech.wav";
    const std::filesystem::path text = m_folder / "text.txt";

    // Each step proves itself by its file, so none may be left from before.
    for (const auto& output : {weather, notice, speech, resampledFile()}) {
        std::error_code ignored;
        std::filesystem::remove(output, ignored);
    }
    Steps steps;
    const auto start = Clock::now();
    const auto weatherFetch = step(fetchCommand(m_urls.weather, weather), weather);
    if (!weatherFetch) {
        return std::nullopt;
    }
    const auto noticeFetch = step(fetchCommand(m_urls.notice, notice), notice);
    if (!noticeFetch) {
        return std::nullopt;
    }
    const auto speak = step({"espeak-ng", "-v", "cmn-latn-pinyin", "-b", "1", "-w", speech.string(),
                             "-f", text.string()},
                            speech);
    if (!speak) {
        return std::nullopt;
    }
    const auto resample = step(
        {"sox", "-V1", speech.string(), "-r", "16000", resampledFile().string()}, resampledFile());
    if (!resample) {
        return std::nullopt;
    }
    steps.total = Clock::now() - start;
    steps.weatherFetch = *weatherFetch;
    steps.noticeFetch = *noticeFetch;
    steps.speak = *speak;
    steps.resample = *resample;
    return steps;
}

}  // namespace tarvane
