#include "tests/fakes/FakeSpeechSdk.h"

#include <algorithm>
#include <cstring>

namespace tarvane {
namespace {

std::optional<std::string> textArgument(const char* text) {
    return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
}

std::optional<std::string> outArgument(const void* out) {
    return out != nullptr ? std::optional<std::string>("out") : std::nullopt;
}

template <typename T>
T takeFront(std::deque<T>& queue, T fallback) {
    if (queue.empty()) {
        return fallback;
    }
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

template <typename T>
void append(std::deque<T>& queue, std::vector<T> values) {
    for (auto& value : values) {
        queue.push_back(std::move(value));
    }
}

}  // namespace

FakeSpeechSdk::FakeSpeechSdk() = default;
FakeSpeechSdk::~FakeSpeechSdk() = default;

void FakeSpeechSdk::scriptInitResults(std::vector<std::int32_t> results) {
    append(m_initResults, std::move(results));
}

void FakeSpeechSdk::scriptSessionIds(std::vector<std::optional<std::string>> ids) {
    append(m_sessionIds, std::move(ids));
}

void FakeSpeechSdk::scriptTextPutResults(std::vector<std::int32_t> results) {
    append(m_textPutResults, std::move(results));
}

void FakeSpeechSdk::scriptAudio(std::vector<AudioPoll> polls) {
    append(m_polls, std::move(polls));
}

void FakeSpeechSdk::scriptSessionEndResults(std::vector<std::int32_t> results) {
    append(m_sessionEndResults, std::move(results));
}

std::vector<SdkCall> FakeSpeechSdk::callsTo(const std::string& entry) const {
    std::vector<SdkCall> matching;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(matching),
                 [&](const SdkCall& call) { return call.entry == entry; });
    return matching;
}

int FakeSpeechSdk::countOf(const std::string& entry) const {
    return static_cast<int>(std::count_if(
        m_calls.begin(), m_calls.end(), [&](const SdkCall& call) { return call.entry == entry; }));
}

std::vector<std::string> FakeSpeechSdk::entries() const {
    std::vector<std::string> names;
    for (const SdkCall& call : m_calls) {
        names.push_back(call.entry);
    }
    return names;
}

void FakeSpeechSdk::invalidateHandedOut() {
    if (m_lastHandedOut != nullptr) {
        std::memset(m_lastHandedOut, '#', m_lastHandedOutSize);
        m_lastHandedOut = nullptr;
        m_lastHandedOutSize = 0;
    }
}

const char* FakeSpeechSdk::handOut(const void* data, std::size_t size, std::size_t capacity) {
    // One spare zero byte, so a text stays terminated until it is scribbled
    // over.
    std::size_t blockSize = std::max(size, capacity) + 1;
    auto block = std::make_unique<char[]>(blockSize);
    std::memset(block.get(), 0, blockSize);
    if (size > 0) {
        std::memcpy(block.get(), data, size);
    }
    m_lastHandedOut = block.get();
    // The spare zero byte is left alone, so a kept id pointer reads a run
    // of '#', never past the block.
    m_lastHandedOutSize = blockSize - 1;
    m_blocks.push_back(std::move(block));
    return m_lastHandedOut;
}

std::int32_t FakeSpeechSdk::init(const char* config) {
    invalidateHandedOut();
    m_calls.push_back({"QTTSInit", {textArgument(config)}});
    return takeFront(m_initResults, 0);
}

const char* FakeSpeechSdk::sessionBegin(const char* params, std::int32_t* errorCode) {
    invalidateHandedOut();
    m_calls.push_back({"QTTSSessionBegin", {textArgument(params), outArgument(errorCode)}});
    ++m_sessionsBegun;
    std::optional<std::string> id = takeFront(
        m_sessionIds, std::optional<std::string>("session-" + std::to_string(m_sessionsBegun)));
    if (!id) {
        return nullptr;
    }
    return handOut(id->data(), id->size(), id->size());
}

std::int32_t FakeSpeechSdk::textPut(const char* sessionId, const char* text, std::uint32_t length,
                                    const char* params) {
    invalidateHandedOut();
    m_calls.push_back({"QTTSTextPut",
                       {textArgument(sessionId), textArgument(text), std::to_string(length),
                        textArgument(params)}});
    return takeFront(m_textPutResults, 0);
}

const void* FakeSpeechSdk::audioGet(const char* sessionId, std::uint32_t* audioLength,
                                    std::int32_t* audioStatus, std::int32_t* errorCode) {
    invalidateHandedOut();
    m_calls.push_back({"QTTSAudioGet",
                       {textArgument(sessionId), outArgument(audioLength), outArgument(audioStatus),
                        outArgument(errorCode)}});
    if (m_onAudioGet) {
        m_onAudioGet();
    }
    AudioPoll poll = takeFront(m_polls, AudioPoll{std::nullopt, 0, 1, 0});
    if (audioLength != nullptr) {
        *audioLength = poll.length;
    }
    if (audioStatus != nullptr) {
        *audioStatus = poll.status;
    }
    if (errorCode != nullptr) {
        *errorCode = poll.errorCode;
    }
    if (!poll.data) {
        return nullptr;
    }
    // Room for `length` bytes even when the script holds fewer, so a caller
    // that trusts the length never reads outside the block.
    return handOut(poll.data->data(), poll.data->size(), poll.length);
}

std::int32_t FakeSpeechSdk::sessionEnd(const char* sessionId, const char* hints) {
    invalidateHandedOut();
    m_calls.push_back({"QTTSSessionEnd", {textArgument(sessionId), textArgument(hints)}});
    return takeFront(m_sessionEndResults, 0);
}

std::int32_t FakeSpeechSdk::fini() {
    invalidateHandedOut();
    m_calls.push_back({"QTTSFini", {}});
    return 0;
}

}  // namespace tarvane
