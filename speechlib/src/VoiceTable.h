#pragma once

#include <span>
#include <string>
#include <string_view>

namespace speechlib {

// The engine languages our voices speak.
enum class VoiceLanguage { Mandarin, Cantonese, BritishEnglish, AmericanEnglish };

// One voice code of the session parameters and how the engine renders it.
struct Voice {
    std::string_view code;    // as the session parameters carry it
    std::string_view engine;  // the engine code it belongs to
    VoiceLanguage language;
    std::string_view variant;  // the engine's voice variant: timbre, sex, age
    int pitch;                 // 0..100, the engine's neutral pitch being 50
    int pitchRange;            // 0..100, how much the intonation moves
};

// Every voice, grouped by engine.
[[nodiscard]] std::span<const Voice> allVoices();

[[nodiscard]] bool isKnownEngine(std::string_view engine);

// The voice `code` of `engine`, or null when that engine has no such voice.
[[nodiscard]] const Voice* findVoice(std::string_view engine, std::string_view code);

// The voice an engine speaks with when none is named; null for an unknown engine.
[[nodiscard]] const Voice* defaultVoice(std::string_view engine);

// The name by which the engine selects the voice, variant included.
[[nodiscard]] std::string engineVoiceName(const Voice& voice);

}  // namespace speechlib
