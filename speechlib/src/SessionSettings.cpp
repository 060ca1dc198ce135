#include "SessionSettings.h"

#include <array>
#include <string>
#include <utility>

#include "KeyValueList.h"

namespace speechlib {

namespace {

constexpr std::string_view kDefaultEngine = "vivi21";

template <typename T, std::size_t N>
std::optional<T> lookUp(const std::array<std::pair<std::string_view, T>, N>& table,
                        std::string_view name) {
    for (const auto& [text, value] : table) {
        if (text == name) {
            return value;
        }
    }
    return std::nullopt;
}

constexpr std::array kTextTypes{
    std::pair{std::string_view("text"), TextType::Plain},
    std::pair{std::string_view("ssml"), TextType::Ssml},
};

constexpr std::array kEncodings{
    std::pair{std::string_view("AUTO"), TextEncoding::Auto},
    std::pair{std::string_view("GB2312"), TextEncoding::Gb18030},
    std::pair{std::string_view("GBK"), TextEncoding::Gb18030},
    std::pair{std::string_view("BIG5"), TextEncoding::Big5},
    std::pair{std::string_view("UNICODE"), TextEncoding::Utf16Le},
    std::pair{std::string_view("GB18030"), TextEncoding::Gb18030},
    std::pair{std::string_view("UTF8"), TextEncoding::Utf8},
};

constexpr std::array kBackgrounds{
    std::pair{std::string_view("0"), BackgroundSound::Off},
    std::pair{std::string_view("1"), BackgroundSound::On},
};

constexpr std::array kAudioFormats{
    std::pair{std::string_view("audio/L16;rate=8000"), 8000},
    std::pair{std::string_view("audio/L16;rate=16000"), 16000},
};

// Highest compression level of each audio encoding; raw takes none.
constexpr std::array kAudioEncodingLevels{
    std::pair{std::string_view("raw"), 0u},       std::pair{std::string_view("amr"), 7u},
    std::pair{std::string_view("amr-fx"), 7u},    std::pair{std::string_view("amr-wb"), 7u},
    std::pair{std::string_view("amr-wb-fx"), 7u}, std::pair{std::string_view("speex"), 10u},
    std::pair{std::string_view("speex-wb"), 10u},
};

bool isValidAudioEncoding(std::string_view value) {
    const std::size_t semicolon = value.find(';');
    const auto maxLevel = lookUp(kAudioEncodingLevels, value.substr(0, semicolon));
    if (!maxLevel) {
        return false;
    }
    if (semicolon == std::string_view::npos) {
        return true;
    }
    return *maxLevel > 0 && parseDecimal(value.substr(semicolon + 1), *maxLevel).has_value();
}

std::optional<int> parseLevel(const std::string* value, int fallback) {
    if (value == nullptr) {
        return fallback;
    }
    const auto parsed = parseDecimal(*value, 10);
    if (!parsed) {
        return std::nullopt;
    }
    return static_cast<int>(*parsed);
}

template <typename T, std::size_t N>
bool readChoice(const std::vector<KeyValue>& list, std::string_view key,
                const std::array<std::pair<std::string_view, T>, N>& table, T& out) {
    const std::string* value = findValue(list, key);
    if (value == nullptr) {
        return true;
    }
    const auto parsed = lookUp(table, *value);
    if (!parsed) {
        return false;
    }
    out = *parsed;
    return true;
}

bool hasOnlyKnownKeys(const std::vector<KeyValue>& list) {
    constexpr std::array kKeys{"ssm", "ent", "vcn", "spd", "vol",
                               "ttp", "tte", "bgs", "aue", "auf"};
    for (const KeyValue& entry : list) {
        bool known = false;
        for (const std::string_view key : kKeys) {
            known = known || entry.key == key;
        }
        if (!known) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<SessionSettings> parseSessionParams(std::string_view text) {
    const auto list = splitKeyValueList(text);
    if (!list || !hasOnlyKnownKeys(*list)) {
        return std::nullopt;
    }
    if (const std::string* mode = findValue(*list, "ssm"); mode != nullptr && *mode != "1") {
        return std::nullopt;
    }

    SessionSettings settings;
    const std::string* engine = findValue(*list, "ent");
    const std::string_view engineCode = engine != nullptr ? *engine : kDefaultEngine;
    if (!isKnownEngine(engineCode)) {
        return std::nullopt;
    }
    const std::string* voiceCode = findValue(*list, "vcn");
    settings.voice =
        voiceCode != nullptr ? findVoice(engineCode, *voiceCode) : defaultVoice(engineCode);
    if (settings.voice == nullptr) {
        return std::nullopt;
    }

    const auto speed = parseLevel(findValue(*list, "spd"), settings.speed);
    const auto volume = parseLevel(findValue(*list, "vol"), settings.volume);
    if (!speed || !volume) {
        return std::nullopt;
    }
    settings.speed = *speed;
    settings.volume = *volume;

    if (!readChoice(*list, "ttp", kTextTypes, settings.textType) ||
        !readChoice(*list, "tte", kEncodings, settings.encoding) ||
        !readChoice(*list, "bgs", kBackgrounds, settings.background) ||
        !readChoice(*list, "auf", kAudioFormats, settings.sampleRate)) {
        return std::nullopt;
    }
    if (const std::string* encoding = findValue(*list, "aue");
        encoding != nullptr && !isValidAudioEncoding(*encoding)) {
        return std::nullopt;
    }
    return settings;
}

}  // namespace speechlib
