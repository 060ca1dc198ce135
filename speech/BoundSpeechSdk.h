#pragma once

// The speech library bound at run time. Each entry point is looked up by
// name at its first call and kept; the library file is loaded at the first
// call of any of them. A library or entry point that cannot be found is
// fatal: the program cannot speak without it.

#include <functional>
#include <memory>
#include <string>

#include "platform/LibraryLoader.h"
#include "speech/SpeechSdk.h"
#include "text/Text.h"

namespace tarvane {

// The library file on this platform.
inline constexpr char kSpeechLibraryFile[] = "libmsc.so";
// The exit code of a program that could not bind the speech library.
inline constexpr int kSpeechLibraryExitCode = 3;

class BoundSpeechSdk : public SpeechSdk {
public:
    // Tells the user why the program cannot go on (code page 936 text).
    using FatalReporter = std::function<void(const Text& message)>;
    // Ends the process with the given code. The real one never returns; one
    // that does (in tests) makes the failed call return its failure value.
    using ProcessExit = std::function<void(int exitCode)>;

    // `loader` must outlive this object. Nothing is loaded yet.
    BoundSpeechSdk(LibraryLoader& loader, FatalReporter reportFatal,
                   ProcessExit exitProcess = defaultExit(),
                   std::string libraryFile = kSpeechLibraryFile);
    ~BoundSpeechSdk() override;
    BoundSpeechSdk(const BoundSpeechSdk&) = delete;
    BoundSpeechSdk& operator=(const BoundSpeechSdk&) = delete;

    // std::exit, so the program's at-exit steps still run.
    [[nodiscard]] static ProcessExit defaultExit();

    std::int32_t init(const char* config) override;
    const char* sessionBegin(const char* params, std::int32_t* errorCode) override;
    std::int32_t textPut(const char* sessionId, const char* text, std::uint32_t length,
                         const char* params) override;
    const void* audioGet(const char* sessionId, std::uint32_t* audioLength,
                         std::int32_t* audioStatus, std::int32_t* errorCode) override;
    std::int32_t sessionEnd(const char* sessionId, const char* hints) override;
    std::int32_t fini() override;

private:
    // The address of `name`, looked up on the first call and kept in `slot`;
    // null after the fatal path has run.
    void* entryPoint(void*& slot, const char* name);
    // Reports `message` and ends the process.
    void fail(const Text& message);

    LibraryLoader& m_loader;
    FatalReporter m_reportFatal;
    ProcessExit m_exitProcess;
    std::string m_libraryFile;
    std::unique_ptr<LoadedLibrary> m_library;

    void* m_init = nullptr;
    void* m_sessionBegin = nullptr;
    void* m_textPut = nullptr;
    void* m_audioGet = nullptr;
    void* m_sessionEnd = nullptr;
    void* m_fini = nullptr;
};

}  // namespace tarvane
