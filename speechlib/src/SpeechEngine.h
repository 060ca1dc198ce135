#pragma once

#include <locale.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace speechlib {

// Exclusive use of the speech engine, which keeps its state in globals. The
// engine loads at the first acquisition and then stays loaded for the life of
// the process: this engine version hangs when it is started again after a
// shutdown. One holder at a time, calling from the thread that acquired it.
class SpeechEngine {
public:
    enum class Markup { PlainText, Ssml };
    enum class Outcome { Completed, Stopped, Failed };

    // Receives each block of samples at the engine's rate; returns false to
    // stop the synthesis.
    using SampleSink = std::function<bool(std::span<const std::int16_t>)>;

    // Null when the engine data cannot be loaded or another holder has it.
    [[nodiscard]] static std::unique_ptr<SpeechEngine> acquire();
    // Gives the engine back for the next holder.
    ~SpeechEngine();
    SpeechEngine(const SpeechEngine&) = delete;
    SpeechEngine& operator=(const SpeechEngine&) = delete;

    [[nodiscard]] int sampleRate() const { return m_sampleRate; }

    // Selects a voice by the engine's name, such as "cmn-latn-pinyin+f3", in
    // a fresh state. False when the engine has no such voice; nothing can be
    // spoken until a selection succeeds.
    [[nodiscard]] bool selectVoice(const std::string& name);
    void setProsody(int wordsPerMinute, int pitch, int pitchRange);

    // Speaks UTF-8 text, handing the samples to `sink` as they are made.
    [[nodiscard]] Outcome synthesize(const std::string& utf8, Markup markup,
                                     const SampleSink& sink);

    // The engine's phoneme transcription of UTF-8 text with the selected
    // voice; a switch of language shows as the language code in brackets,
    // such as "(en)". Null without a selected voice.
    [[nodiscard]] std::optional<std::string> phonemes(const std::string& utf8);

private:
    explicit SpeechEngine(int sampleRate);

    int m_sampleRate;
    locale_t m_threadLocale;
    locale_t m_previousLocale = LC_GLOBAL_LOCALE;
    bool m_hasVoice = false;
};

}  // namespace speechlib
