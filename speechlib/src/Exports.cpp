// The six entry points, the library's only exported symbols. Each forwards to
// the one library state and lets no exception cross into a C caller.

#include <new>

#include "SpeechLibrary.h"
#include "msc.h"

namespace {

speechlib::SpeechLibrary& library() {
    static speechlib::SpeechLibrary instance;
    return instance;
}

int32_t codeOfCurrentException() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return MSC_ERROR_OUT_OF_MEMORY;
    } catch (...) {
        return MSC_ERROR_ENGINE;  // a thread or lock the system refused
    }
}

template <typename Call>
int32_t guardedResult(Call call) {
    try {
        return call();
    } catch (...) {
        return codeOfCurrentException();
    }
}

template <typename Call>
auto guardedPointer(int32_t* errorCode, Call call) -> decltype(call()) {
    try {
        return call();
    } catch (...) {
        if (errorCode != nullptr) {
            *errorCode = codeOfCurrentException();
        }
        return nullptr;
    }
}

}  // namespace

extern "C" {

int32_t MSC_CALL QTTSInit(const char* configs) {
    return guardedResult([&] { return library().init(configs); });
}

const char* MSC_CALL QTTSSessionBegin(const char* params, int32_t* errorCode) {
    return guardedPointer(errorCode, [&] { return library().sessionBegin(params, errorCode); });
}

int32_t MSC_CALL QTTSTextPut(const char* sessionId, const char* text, uint32_t textLength,
                             const char* params) {
    return guardedResult([&] { return library().textPut(sessionId, text, textLength, params); });
}

const void* MSC_CALL QTTSAudioGet(const char* sessionId, uint32_t* audioLength,
                                  int32_t* audioStatus, int32_t* errorCode) {
    return guardedPointer(errorCode, [&] {
        return library().audioGet(sessionId, audioLength, audioStatus, errorCode);
    });
}

int32_t MSC_CALL QTTSSessionEnd(const char* sessionId, const char* /*hints*/) {
    return guardedResult([&] { return library().sessionEnd(sessionId); });
}

int32_t MSC_CALL QTTSFini(void) {
    return guardedResult([&] { return library().fini(); });
}

}  // extern "C"
