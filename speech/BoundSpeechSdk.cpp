#include "speech/BoundSpeechSdk.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "literals/speech_literals.h"

namespace tarvane {
namespace {

using namespace literals_speech;

// The entry points as the library exports them: C functions with 32-bit
// integers and zero-terminated byte strings.
using InitFunction = std::int32_t (*)(const char*);
using SessionBeginFunction = const char* (*)(const char*, std::int32_t*);
using TextPutFunction = std::int32_t (*)(const char*, const char*, std::uint32_t, const char*);
using AudioGetFunction = const void* (*)(const char*, std::uint32_t*, std::int32_t*, std::int32_t*);
using SessionEndFunction = std::int32_t (*)(const char*, const char*);
using FiniFunction = std::int32_t (*)();

template <typename Function>
Function asFunction(void* address) {
    static_assert(sizeof(Function) == sizeof(void*));
    Function function;
    std::memcpy(&function, &address, sizeof function);
    return function;
}

// The loader's reason comes in the system's encoding; only its ASCII part
// is safe to show inside a code page 936 text.
Text asciiOnly(const std::string& reason) {
    Text shown;
    for (char byte : reason) {
        shown += (static_cast<unsigned char>(byte) < 0x80 && byte != '\0') ? byte : '?';
    }
    return shown;
}

}  // namespace

BoundSpeechSdk::BoundSpeechSdk(LibraryLoader& loader, FatalReporter reportFatal,
                               ProcessExit exitProcess, std::string libraryFile)
    : m_loader(loader),
      m_reportFatal(std::move(reportFatal)),
      m_exitProcess(std::move(exitProcess)),
      m_libraryFile(std::move(libraryFile)) {}

BoundSpeechSdk::~BoundSpeechSdk() = default;

BoundSpeechSdk::ProcessExit BoundSpeechSdk::defaultExit() {
    return [](int exitCode) { std::exit(exitCode); };
}

void BoundSpeechSdk::fail(const Text& message) {
    if (m_reportFatal) {
        m_reportFatal(message);
    }
    if (m_exitProcess) {
        m_exitProcess(kSpeechLibraryExitCode);
    } else {
        std::exit(kSpeechLibraryExitCode);
    }
}

void* BoundSpeechSdk::entryPoint(void*& slot, const char* name) {
    if (slot != nullptr) {
        return slot;
    }
    if (!m_library) {
        LibraryLoadResult loaded = m_loader.load(m_libraryFile);
        if (!loaded.library) {
            Text message = Text(kLibraryMissing) + " " + m_libraryFile + kEntryPointCannotBeCalled +
                           " " + name + kProgramEnds;
            if (!loaded.error.empty()) {
                message += Text(kReasonLead) + asciiOnly(loaded.error);
            }
            fail(message);
            return nullptr;
        }
        m_library = std::move(loaded.library);
    }
    slot = m_library->symbol(name);
    if (slot == nullptr) {
        fail(Text(kEntryPointMissingLead) + " " + m_libraryFile + " " + kEntryPointMissingMiddle +
             " " + name + kProgramEnds);
    }
    return slot;
}

std::int32_t BoundSpeechSdk::init(const char* config) {
    void* address = entryPoint(m_init, "QTTSInit");
    return address ? asFunction<InitFunction>(address)(config) : -1;
}

const char* BoundSpeechSdk::sessionBegin(const char* params, std::int32_t* errorCode) {
    void* address = entryPoint(m_sessionBegin, "QTTSSessionBegin");
    return address ? asFunction<SessionBeginFunction>(address)(params, errorCode) : nullptr;
}

std::int32_t BoundSpeechSdk::textPut(const char* sessionId, const char* text, std::uint32_t length,
                                     const char* params) {
    void* address = entryPoint(m_textPut, "QTTSTextPut");
    return address ? asFunction<TextPutFunction>(address)(sessionId, text, length, params) : -1;
}

const void* BoundSpeechSdk::audioGet(const char* sessionId, std::uint32_t* audioLength,
                                     std::int32_t* audioStatus, std::int32_t* errorCode) {
    void* address = entryPoint(m_audioGet, "QTTSAudioGet");
    return address ? asFunction<AudioGetFunction>(address)(sessionId, audioLength, audioStatus,
                                                           errorCode)
                   : nullptr;
}

std::int32_t BoundSpeechSdk::sessionEnd(const char* sessionId, const char* hints) {
    void* address = entryPoint(m_sessionEnd, "QTTSSessionEnd");
    return address ? asFunction<SessionEndFunction>(address)(sessionId, hints) : -1;
}

std::int32_t BoundSpeechSdk::fini() {
    void* address = entryPoint(m_fini, "QTTSFini");
    return address ? asFunction<FiniFunction>(address)() : -1;
}

}  // namespace tarvane
