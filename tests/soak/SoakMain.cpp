// Runs the whole announcement cycle headless through simulated days, one tick
// per simulated second, with both switches ticked and hours 0 to 23, and
// checks that every due second is announced exactly once, that no session is
// left open, and that the memory held does not grow from day to day.
//
//   tarvane_soak --days 30

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "announce/AnnouncementText.h"
#include "announce/Scheduler.h"
#include "app/SynthesisSettings.h"
#include "platform/codepage/IconvCodePage.h"
#include "speech/SpeechOutput.h"
#include "speech/SynthesisRun.h"
#include "tests/fakes/FakeClock.h"
#include "tests/fakes/HeadlessWindow.h"
#include "tests/soak/SoakFakes.h"

using namespace tarvane;

namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;
constexpr int kAnnouncementsPerDay = 48;

int failures = 0;

void check(bool condition, const std::string& what) {
    if (!condition) {
        ++failures;
        std::fprintf(stderr, "soak: FAILED: %s\n", what.c_str());
    }
}

bool isDue(const ClockReading& reading) {
    return reading.second == 0 && (reading.minute == 0 || reading.minute == 30);
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

long residentKiB() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * 4;
}

int parseDays(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--days") == 0) {
            const int days = std::atoi(argv[i + 1]);
            if (days >= 1) {
                return days;
            }
        }
    }
    if (argc > 1) {
        std::fprintf(stderr, "usage: tarvane_soak [--days N]   (N >= 1, default 30)\n");
        std::exit(2);
    }
    return 30;
}

// The per-thread cache of freed blocks counts as memory in use, so its
// filling and emptying would hide or fake growth. The run restarts itself
// once with the cache turned off.
void restartWithoutThreadCache(char** argv) {
    if (std::getenv("GLIBC_TUNABLES") != nullptr) {
        return;
    }
    setenv("GLIBC_TUNABLES", "glibc.malloc.tcache_count=0", 1);
    execv("/proc/self/exe", argv);
    std::perror("soak: cannot restart without the thread cache");
}

}  // namespace

int main(int argc, char** argv) {
    restartWithoutThreadCache(argv);
    const int days = parseDays(argc, argv);

    HeadlessWindow window;
    SynthesisSettings settings(window);
    settings.fillOptionLists();
    window.setTicked(ControlName::选择框_半点报时, true);
    window.optionList(ControlName::组合框_结束时间).select(23);

    CountingSpeechSdk sdk;
    CountingAudioOutput audio;
    RefusingFileSystem files;
    SpeechOutput output(window, settings, audio, files);
    SynthesisRun synthesis(sdk, window, settings, output);
    IconvCodePage codePage;
    CountingHttpClient http;
    AnnouncementText texts(window, http, codePage);
    FakeClock clock(ClockReading{0, 0, 0});
    Scheduler scheduler(window, clock, settings, synthesis, texts);

    std::size_t heapAfterFirstDay = 0;
    long residentAfterFirstDay = 0;
    for (int day = 1; day <= days; ++day) {
        for (int second = 0; second < kSecondsPerDay; ++second) {
            const ClockReading reading = clock.now();
            const auto putBefore = sdk.textsPut();
            scheduler.onTimerTick();
            const auto announced = sdk.textsPut() - putBefore;
            if (announced != (isDue(reading) ? 1u : 0u)) {
                check(false, "day " + std::to_string(day) + " " + std::to_string(reading.hour) +
                                 ":" + std::to_string(reading.minute) + ":" +
                                 std::to_string(reading.second) + " announced " +
                                 std::to_string(announced) + " times");
            }
            clock.advanceSecond();
        }
        const auto expected = static_cast<std::uint64_t>(day) * kAnnouncementsPerDay;
        check(sdk.textsPut() == expected, "texts put by day " + std::to_string(day));
        check(audio.plays() == expected, "sounds played by day " + std::to_string(day));
        check(http.fetches() == expected, "fetches by day " + std::to_string(day));
        check(sdk.openSessions() == 1,
              "exactly the last session held on day " + std::to_string(day));
        check(sdk.strayCalls() == 0, "no call on a closed session");
        window.clearRecords();
        if (day == 1) {
            heapAfterFirstDay = heapInUse();
            residentAfterFirstDay = residentKiB();
        }
    }
    const std::size_t heapAtEnd = heapInUse();
    const long residentAtEnd = residentKiB();

    synthesis.shutdownSpeech();
    check(sdk.openSessions() == 0, "no session left open after shutdown");
    check(sdk.sessionsBegun() == sdk.sessionsEnded(), "every begun session ended");
    check(sdk.finalised(), "library finalised at shutdown");
    check(files.writes() == 0, "nothing saved while the save option is unticked");
    check(heapAtEnd == heapAfterFirstDay, "heap in use at the end equals heap after day 1");

    std::printf(
        "soak: %d days, %llu announcements, %llu sessions begun, %llu ended, "
        "%llu fetches\n",
        days, static_cast<unsigned long long>(sdk.textsPut()),
        static_cast<unsigned long long>(sdk.sessionsBegun()),
        static_cast<unsigned long long>(sdk.sessionsEnded()),
        static_cast<unsigned long long>(http.fetches()));
    std::printf("soak: heap in use after day 1: %zu bytes, at the end: %zu bytes\n",
                heapAfterFirstDay, heapAtEnd);
    std::printf("soak: resident after day 1: %ld KiB, at the end: %ld KiB\n", residentAfterFirstDay,
                residentAtEnd);
    std::printf("soak: %s\n", failures == 0 ? "passed" : "FAILED");
    return failures == 0 ? 0 : 1;
}
