#include "VoiceTable.h"

#include <algorithm>
#include <array>

namespace speechlib {

namespace {

using enum VoiceLanguage;

// Dialect voices have no engine dialect to speak; they keep Mandarin and
// differ by timbre and pitch so that a listener can still tell them apart.
// Pitch sets the register (child high, elderly low); range sets how lively
// the intonation is.
constexpr std::array kVoices{
    Voice{"xiaoyan", "intp65", Mandarin, "f3", 62, 60},
    Voice{"xiaoyu", "intp65", Mandarin, "m3", 42, 50},
    Voice{"Catherine", "intp65_en", BritishEnglish, "f2", 60, 60},
    Voice{"henry", "intp65_en", AmericanEnglish, "m3", 42, 50},
    Voice{"vixm", "vivi21", Cantonese, "f2", 60, 60},
    Voice{"vixl", "vivi21", Mandarin, "f4", 64, 70},
    Voice{"vixr", "vivi21", Mandarin, "f5", 58, 65},
    Voice{"vixyun", "vivi21", Mandarin, "f2", 55, 70},
    Voice{"vixk", "vivi21", Mandarin, "m2", 40, 55},
    Voice{"vixqiang", "vivi21", Mandarin, "m4", 45, 60},
    Voice{"vixying", "vivi21", Mandarin, "f3", 56, 65},
    Voice{"vixq", "vivi21", Mandarin, "f2", 62, 55},
    Voice{"vixf", "vivi21", Mandarin, "m3", 46, 50},
    Voice{"vinn", "vivi21", Mandarin, "f4", 92, 80},
    Voice{"vixjia", "vivi21", Mandarin, "f5", 76, 70},
    Voice{"vitch", "vivi21", Mandarin, "f4", 60, 55},
    Voice{"vils", "vivi21", Mandarin, "grandpa", 28, 40},
    Voice{"viterry", "vivi21", AmericanEnglish, "f4", 64, 60},
    Voice{"viyping", "vivi21", Mandarin, "f5", 60, 85},
};

struct EngineDefault {
    std::string_view engine;
    std::string_view voice;
};

constexpr std::array kEngineDefaults{
    EngineDefault{"intp65", "xiaoyan"},
    EngineDefault{"intp65_en", "Catherine"},
    EngineDefault{"vivi21", "viyping"},
};

// Mandarin goes through the pinyin voice: the plain Mandarin voice reads many
// characters as English letters and tone digits.
std::string_view languageVoiceName(VoiceLanguage language) {
    switch (language) {
        case Mandarin:
            return "cmn-latn-pinyin";
        case Cantonese:
            return "yue";
        case BritishEnglish:
            return "en";
        case AmericanEnglish:
            return "en-us";
    }
    return "cmn-latn-pinyin";
}

}  // namespace

std::span<const Voice> allVoices() {
    return kVoices;
}

bool isKnownEngine(std::string_view engine) {
    return defaultVoice(engine) != nullptr;
}

const Voice* findVoice(std::string_view engine, std::string_view code) {
    const auto found = std::find_if(kVoices.begin(), kVoices.end(), [&](const Voice& voice) {
        return voice.engine == engine && voice.code == code;
    });
    return found == kVoices.end() ? nullptr : &*found;
}

const Voice* defaultVoice(std::string_view engine) {
    for (const EngineDefault& entry : kEngineDefaults) {
        if (entry.engine == engine) {
            return findVoice(entry.engine, entry.voice);
        }
    }
    return nullptr;
}

std::string engineVoiceName(const Voice& voice) {
    std::string name(languageVoiceName(voice.language));
    name += '+';
    name += voice.variant;
    return name;
}

}  // namespace speechlib
