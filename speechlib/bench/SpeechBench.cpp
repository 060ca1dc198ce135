// Times our library against the engine's own command line on the program's
// default announcement, and prints the figures. Not a test: run it with the
// bench_speechlib target on an otherwise idle machine.

#include <iconv.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "SampleTexts.h"
#include "msc.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kTemplate = speechlib::samples::kDefaultTemplate;
constexpr const char* kConfig =
    "server_url=speech.tarvane.example:80/index.htm,appid=5b0c2d91,timeout=10000,"
    "coding_libs=speex.dll,max_text_size=2048";
constexpr const char* kParams =
    "ssm=1,ent=vivi21,vcn=viyping,spd=5,vol=10,ttp=text,tte=GB2312,bgs=0,aue=speex;7,"
    "auf=audio/L16;rate=16000";
constexpr int kRuns = 15;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string toGbk(const std::string& utf8) {
    iconv_t handle = iconv_open("GBK", "UTF-8");
    std::string out(utf8.size() * 2, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    iconv(handle, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(handle);
    out.resize(out.size() - outLeft);
    return out;
}

struct LibraryRun {
    double total = 0;        // from beginning the session to the last chunk
    double firstChunk = 0;   // from putting the text to the first chunk
    double longestWait = 0;  // the longest single poll
    std::size_t samples = 0;
};

LibraryRun runLibrary(const std::string& text) {
    LibraryRun run;
    const auto start = Clock::now();
    const char* id = QTTSSessionBegin(kParams, nullptr);
    const auto put = Clock::now();
    if (id == nullptr ||
        QTTSTextPut(id, text.data(), static_cast<std::uint32_t>(text.size()), "") != 0) {
        std::fprintf(stderr, "the library refused the template\n");
        std::exit(1);
    }
    std::int32_t status = 0;
    while (status != MSC_AUDIO_COMPLETE) {
        std::uint32_t length = 0;
        const auto poll = Clock::now();
        const void* chunk = QTTSAudioGet(id, &length, &status, nullptr);
        run.longestWait = std::max(run.longestWait, millisecondsSince(poll));
        if (chunk != nullptr && run.samples == 0) {
            run.firstChunk = millisecondsSince(put);
        }
        run.samples += length / 2;
    }
    run.total = millisecondsSince(start);
    QTTSSessionEnd(id, "正常关闭");
    return run;
}

// Runs a command to its end and returns its wall time, or a negative value
// when it could not run or failed.
double runCommand(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        return -1;
    }
    int status = 0;
    waitpid(child, &status, 0);
    const double elapsed = millisecondsSince(start);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? elapsed : -1;
}

}  // namespace

int main() {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("speechlib-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string wav = (folder / "engine.wav").string();
    const std::string wav16 = (folder / "engine16k.wav").string();

    if (QTTSInit(kConfig) != 0) {
        std::fprintf(stderr, "QTTSInit failed\n");
        return 1;
    }
    const std::string text = toGbk(kTemplate);
    const LibraryRun cold = runLibrary(text);
    std::vector<double> libraryTotals, firstChunks, commandTotals, pipelineTotals;
    double longestWait = cold.longestWait;
    for (int i = 0; i < kRuns; ++i) {
        const LibraryRun run = runLibrary(text);
        libraryTotals.push_back(run.total);
        firstChunks.push_back(run.firstChunk);
        longestWait = std::max(longestWait, run.longestWait);

        const double command =
            runCommand({"espeak-ng", "-v", "cmn-latn-pinyin", "-w", wav, kTemplate});
        const double resample = runCommand({"sox", wav, "-r", "16000", wav16});
        if (command < 0 || resample < 0) {
            std::fprintf(stderr, "espeak-ng or sox failed to run\n");
            return 1;
        }
        commandTotals.push_back(command);
        pipelineTotals.push_back(command + resample);
    }
    QTTSFini();
    std::filesystem::remove_all(folder);

    const double library = median(libraryTotals);
    const double command = median(commandTotals);
    const double pipeline = median(pipelineTotals);
    std::printf(
        "default template at 16000 samples/s, %zu samples (%.2f s of audio), median of %d\n",
        cold.samples, cold.samples / 16000.0, kRuns);
    std::printf(
        "  library, session to last chunk      %8.1f ms (first run, voice loading: %.1f ms)\n",
        library, cold.total);
    std::printf("  espeak-ng command line to WAV       %8.1f ms\n", command);
    std::printf("  espeak-ng + sox to 16000            %8.1f ms\n", pipeline);
    std::printf("  ratio library / command line        %8.2f   (goal <= 1.20)\n",
                library / command);
    std::printf("  ratio library / command line + sox  %8.2f\n", library / pipeline);
    std::printf(
        "  time to first chunk                 %8.2f ms (first run: %.2f ms; goal <= 100)\n",
        median(firstChunks), cold.firstChunk);
    std::printf("  longest single poll                 %8.1f ms\n", longestWait);
    return 0;
}
