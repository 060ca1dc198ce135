// Announcement latency: from the tick of a due second to the moment the WAV
// image reaches the sound output, through the real chain (the speech library
// loaded by file name, curl with TLS, iconv, the scheduler and every layer
// under it) with a headless window and a loopback weather service and notice
// page. Beside it, in the same run and alternating with it, the same work
// done by the command-line tools. Prints both medians and their ratio.
//
// Timing never fails the run; a chain that does not work does (exit 1), so
// one repetition also serves as an end-to-end check.
//
//   tarvane_latency_bench [--runs N]     (N >= 1, default 15)

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "announce/AnnouncementText.h"
#include "announce/Scheduler.h"
#include "app/Application.h"
#include "app/SynthesisSettings.h"
#include "bench/CommandLineBaseline.h"
#include "bench/LoopbackHttpClient.h"
#include "bench/TimestampingAudioOutput.h"
#include "bench/TimingSpeechSdk.h"
#include "literals/lifecycle_literals.h"
#include "literals/speech_literals.h"
#include "platform/codepage/IconvCodePage.h"
#include "platform/http/CurlHttpClient.h"
#include "platform/library/DlopenLibraryLoader.h"
#include "speech/BoundSpeechSdk.h"
#include "speech/SpeechOutput.h"
#include "speech/SynthesisRun.h"
#include "tests/fakes/FakeClock.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/HeadlessWindow.h"
#include "tests/http/LoopbackServer.h"

using namespace tarvane;

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int kDefaultRuns = 15;
constexpr double kRatioGoal = 1.1;
constexpr double kLatencyGoalMs = 1000.0;
constexpr int kSampleRate = 16000;  // the default audio format
constexpr ClockReading kDueSecond{9, 0, 0};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

int parseRuns(int argc, char** argv) {
    if (argc == 1) {
        return kDefaultRuns;
    }
    if (argc == 3 && std::strcmp(argv[1], "--runs") == 0) {
        const int runs = std::atoi(argv[2]);
        if (runs >= 1) {
            return runs;
        }
    }
    std::fprintf(stderr, "usage: tarvane_latency_bench [--runs N]   (N >= 1, default %d)\n",
                 kDefaultRuns);
    std::exit(2);
}

std::uint32_t littleEndian32(const Bytes& bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

bool endsWith(const Text& text, const Text& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A folder of its own under the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvane-latency-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!m_path.empty()) {
            std::filesystem::remove_all(m_path, ignored);
        }
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// One announcement through the real chain, cut into its phases.
struct OursRun {
    Milliseconds total{};  // the tick to the image at the sound output
    Milliseconds session{};
    Milliseconds weatherFetch{};
    Milliseconds noticeFetch{};
    Milliseconds textPut{};
    Milliseconds toFirstChunk{};
    Milliseconds restOfAudio{};
    Milliseconds handOver{};
    Text text;
    std::size_t audioBytes = 0;
    int polls = 0;
    int chunks = 0;
    HttpRequest weatherRequest;
    HttpRequest noticeRequest;
};

// Everything the program wires together, with the real adapters except the
// window (headless), the clock (fixed on the due second), the sound output
// (which notes the moment) and the files (nothing is saved by default).
class RealChain {
public:
    explicit RealChain(const LoopbackServer& server)
        : m_curl(CurlHttpOptions{.extraCaFile = server.caFile()}),
          m_http(m_curl, server.httpPort(), server.httpsPort()),
          m_library(
              m_loader,
              [this](const Text& message) {
                  std::fprintf(stderr, "latency bench: %s\n",
                               m_codePage.gbkToUtf8(message).c_str());
              },
              // Returning lets the failed call fail, so the bench ends through
              // its own error path and the loopback server is stopped.
              [](int /*exitCode*/) {}),
          m_sdk(m_library),
          m_settings(m_window),
          m_output(m_window, m_settings, m_audio, m_files),
          m_synthesis(m_sdk, m_window, m_settings, m_output),
          m_texts(m_window, m_http, m_codePage),
          m_clock(kDueSecond),
          m_scheduler(m_window, m_clock, m_settings, m_synthesis, m_texts),
          m_application(m_window, m_sdk, m_settings, m_synthesis, m_scheduler, [](int code) {
              std::fflush(nullptr);
              std::_Exit(code);
          }) {
        m_window.setEvents(&m_application);
    }

    ~RealChain() {
        // The close box: the held session is ended and the library finalised.
        (void)m_window.requestClose();
    }
    RealChain(const RealChain&) = delete;
    RealChain& operator=(const RealChain&) = delete;

    // Creates the window (defaults, library initialised) and presses Start.
    [[nodiscard]] bool start(std::string& error) {
        (void)m_window.createWindow();
        if (m_window.statusText() != literals_lifecycle::kConnected) {
            error = "the speech library did not initialise: status '" + statusUtf8() + "'";
            return false;
        }
        if (!m_window.click(ControlName::按钮_开始合成) || m_window.timerPeriod() <= 0) {
            error = "Start did not arm the timer";
            return false;
        }
        return true;
    }

    // One tick at the due second; nothing when the announcement did not go
    // out as it should, with the reason in `error`.
    [[nodiscard]] std::optional<OursRun> announce(std::string& error) {
        m_window.clearRecords();
        m_sdk.startRun();
        const auto tick = Clock::now();
        (void)m_window.fireTimer();
        const auto plays = m_audio.takePlays();
        const auto fetches = m_http.takeFetches();
        const TimingSpeechSdk::Run& library = m_sdk.run();

        if (plays.size() != 1) {
            error = std::to_string(plays.size()) + " images reached the sound output; status '" +
                    statusUtf8() + "'";
            return std::nullopt;
        }
        if (m_window.statusText() != literals_speech::kSynthesised) {
            error = "the last status is '" + statusUtf8() + "'";
            return std::nullopt;
        }
        if (fetches.size() != 2 || !fetches[0].request.secure || fetches[1].request.secure ||
            fetches[0].body.empty() || fetches[1].body.empty()) {
            error = "expected a weather fetch over TLS and a notice fetch, both answered";
            return std::nullopt;
        }
        const Bytes& image = plays[0].wavImage;
        if (image.size() <= 44 || littleEndian32(image, 24) != kSampleRate ||
            image.size() - 44 != library.audioBytes) {
            error = "the WAV image does not hold the library's audio at 16000 samples/s";
            return std::nullopt;
        }
        const Text notice = bytesToText(fetches[1].body);
        if (!endsWith(library.text, notice)) {
            error = "the spoken text does not end with the notice page";
            return std::nullopt;
        }

        OursRun run;
        run.total = plays[0].at - tick;
        run.session = library.sessionBegun - tick;
        run.weatherFetch = fetches[0].end - fetches[0].start;
        run.noticeFetch = fetches[1].end - fetches[1].start;
        run.textPut = library.textPutEnd - library.textPutStart;
        run.toFirstChunk = library.firstChunk - library.textPutEnd;
        run.restOfAudio = library.lastChunk - library.firstChunk;
        run.handOver = plays[0].at - library.lastChunk;
        run.text = library.text;
        run.audioBytes = library.audioBytes;
        run.polls = library.polls;
        run.chunks = library.chunks;
        run.weatherRequest = fetches[0].request;
        run.noticeRequest = fetches[1].request;
        return run;
    }

    [[nodiscard]] std::string toUtf8(const Text& text) const { return m_codePage.gbkToUtf8(text); }

private:
    [[nodiscard]] std::string statusUtf8() const { return toUtf8(m_window.statusText()); }

    IconvCodePage m_codePage;
    HeadlessWindow m_window;
    CurlHttpClient m_curl;
    LoopbackHttpClient m_http;
    TimestampingAudioOutput m_audio;
    FakeFileSystem m_files;
    DlopenLibraryLoader m_loader;
    BoundSpeechSdk m_library;
    TimingSpeechSdk m_sdk;
    SynthesisSettings m_settings;
    SpeechOutput m_output;
    SynthesisRun m_synthesis;
    AnnouncementText m_texts;
    FakeClock m_clock;
    Scheduler m_scheduler;
    Application m_application;
};

// The medians of each phase of a series, taken one phase at a time.
template <typename Run, typename Field>
double medianOf(const std::vector<Run>& runs, Field field) {
    std::vector<double> values;
    for (const Run& run : runs) {
        values.push_back((run.*field).count());
    }
    return median(values);
}

void printRow(const char* label, double milliseconds) {
    std::printf("  %-46s %9.1f ms\n", label, milliseconds);
}

void printPhase(const char* label, double milliseconds) {
    std::printf("      %-42s %9.1f ms\n", label, milliseconds);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = parseRuns(argc, argv);
    double load[1] = {0};
    const bool haveLoad = getloadavg(load, 1) == 1;

    LoopbackServer server;
    if (!server.ready()) {
        std::fprintf(stderr, "latency bench: loopback server: %s\n", server.error().c_str());
        return 1;
    }
    ScratchFolder scratch;
    if (scratch.path().empty()) {
        std::fprintf(stderr, "latency bench: cannot make a scratch folder\n");
        return 1;
    }

    RealChain chain(server);
    std::string error;
    if (!chain.start(error)) {
        std::fprintf(stderr, "latency bench: %s\n", error.c_str());
        return 1;
    }
    // The first announcement loads the voice; it is shown on its own line
    // and kept out of the medians, like the baseline's first pass.
    const std::optional<OursRun> firstOurs = chain.announce(error);
    if (!firstOurs) {
        std::fprintf(stderr, "latency bench: the announcement failed: %s\n", error.c_str());
        return 1;
    }
    // The same URLs and the same composed text, in UTF-8 for the engine.
    const CommandLineBaseline::Urls urls{
        "https://127.0.0.1:" + std::to_string(server.httpsPort()) + firstOurs->weatherRequest.path,
        "http://127.0.0.1:" + std::to_string(server.httpPort()) + firstOurs->noticeRequest.path};
    CommandLineBaseline baseline(scratch.path(), urls, server.caFile(),
                                 chain.toUtf8(firstOurs->text));
    const auto firstBaseline = baseline.run();
    if (!firstBaseline) {
        std::fprintf(stderr, "latency bench: baseline: %s\n", baseline.error().c_str());
        return 1;
    }

    std::vector<OursRun> ours;
    std::vector<CommandLineBaseline::Steps> theirs;
    for (int i = 0; i < runs; ++i) {
        // Alternating the order spreads any drift of the machine evenly.
        for (int side = 0; side < 2; ++side) {
            if ((i + side) % 2 == 0) {
                const auto run = chain.announce(error);
                if (!run) {
                    std::fprintf(stderr, "latency bench: the announcement failed: %s\n",
                                 error.c_str());
                    return 1;
                }
                ours.push_back(*run);
            } else {
                const auto steps = baseline.run();
                if (!steps) {
                    std::fprintf(stderr, "latency bench: baseline: %s\n", baseline.error().c_str());
                    return 1;
                }
                theirs.push_back(*steps);
            }
        }
    }

    const double oursMedian = medianOf(ours, &OursRun::total);
    const double theirsMedian = medianOf(theirs, &CommandLineBaseline::Steps::total);
    const double ratio = oursMedian / theirsMedian;
    const double audioSeconds =
        static_cast<double>(firstOurs->audioBytes) / 2.0 / static_cast<double>(kSampleRate);

    std::printf("announcement latency: default settings, hourly at 09:00:00, median of %d", runs);
    if (haveLoad) {
        std::printf(" (load average %.2f at start)", load[0]);
    }
    std::printf("\n  text %zu bytes (code page 936), %.1f s of audio at %d samples/s\n",
                firstOurs->text.size(), audioSeconds, kSampleRate);
    printRow("ours: tick to first sample at the sound output", oursMedian);
    printPhase("session ended and begun", medianOf(ours, &OursRun::session));
    printPhase("weather fetch (https, loopback)", medianOf(ours, &OursRun::weatherFetch));
    printPhase("notice fetch (http, loopback)", medianOf(ours, &OursRun::noticeFetch));
    printPhase("text put", medianOf(ours, &OursRun::textPut));
    printPhase("put to first audio chunk", medianOf(ours, &OursRun::toFirstChunk));
    printPhase("first to last audio chunk", medianOf(ours, &OursRun::restOfAudio));
    printPhase("last chunk to the sound output (WAV)", medianOf(ours, &OursRun::handOver));
    printPhase("first run (voice loading)", firstOurs->total.count());
    const std::string chunksAndPolls =
        std::to_string(firstOurs->chunks) + " / " + std::to_string(firstOurs->polls);
    std::printf("      %-42s %9s\n", "audio chunks / library polls, first run",
                chunksAndPolls.c_str());
    printRow("baseline: curl x2, espeak-ng, sox to 16000", theirsMedian);
    printPhase("curl weather (https)", medianOf(theirs, &CommandLineBaseline::Steps::weatherFetch));
    printPhase("curl notice (http)", medianOf(theirs, &CommandLineBaseline::Steps::noticeFetch));
    printPhase("espeak-ng to WAV", medianOf(theirs, &CommandLineBaseline::Steps::speak));
    printPhase("sox to 16000", medianOf(theirs, &CommandLineBaseline::Steps::resample));
    printPhase("first run", firstBaseline->total.count());
    std::printf("  %-46s %9.2f\n", "ratio ours / baseline", ratio);
    const bool met = ratio <= kRatioGoal && oursMedian < kLatencyGoalMs;
    std::printf("  goal: ratio <= %.2f and ours under %.0f ms: %s\n", kRatioGoal, kLatencyGoalMs,
                met ? "met" : "NOT met");
    return 0;
}
