#pragma once

// The announcement's work done with the command-line tools: the two fetches
// with curl, the text spoken to a WAV file by espeak-ng, and that file
// resampled to 16000 samples per second by sox, one process after another.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarvane {

class CommandLineBaseline {
public:
    using Milliseconds = std::chrono::duration<double, std::milli>;

    struct Steps {
        Milliseconds weatherFetch{};
        Milliseconds noticeFetch{};
        Milliseconds speak{};
        Milliseconds resample{};
        Milliseconds total{};  // from the first start to the resampled file complete
    };

    struct Urls {
        std::string weather;  // https, checked against `caFile`
        std::string notice;   // plain http
    };

    // Writes the UTF-8 text into `folder`, which also receives the fetched
    // bodies and the sound files; the folder must exist.
    CommandLineBaseline(std::filesystem::path folder, Urls urls, std::filesystem::path caFile,
                        const std::string& utf8Text);

    // One pass; nothing when a tool could not be started, failed, or left an
    // empty file. error() then says which.
    [[nodiscard]] std::optional<Steps> run();
    [[nodiscard]] const std::string& error() const { return m_error; }

    // The resampled sound file of the last pass.
    [[nodiscard]] std::filesystem::path resampledFile() const { return m_folder / "speech16k.wav"; }

private:
    // Runs the command to its end and checks that it wrote `output`.
    [[nodiscard]] std::optional<Milliseconds> step(const std::vector<std::string>& command,
                                                   const std::filesystem::path& output);
    [[nodiscard]] std::vector<std::string> fetchCommand(const std::string& url,
                                                        const std::filesystem::path& output) const;

    std::filesystem::path m_folder;
    Urls m_urls;
    std::filesystem::path m_caFile;
    std::string m_error;
};

}  // namespace tarvane
