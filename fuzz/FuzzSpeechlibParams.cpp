// Properties of the speech library's session parameter reader.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "KeyValueList.h"
#include "SessionSettings.h"
#include "fuzz/FuzzInput.h"

using namespace speechlib;
using tarvane::fuzz::require;

namespace {

constexpr std::array<std::string_view, 10> kKnownKeys{"ssm", "ent", "vcn", "spd", "vol",
                                                      "ttp", "tte", "bgs", "aue", "auf"};

std::string_view encodingName(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Auto:
            return "AUTO";
        case TextEncoding::Gb18030:
            return "GB18030";
        case TextEncoding::Big5:
            return "BIG5";
        case TextEncoding::Utf16Le:
            return "UNICODE";
        case TextEncoding::Utf8:
            return "UTF8";
    }
    return "?";
}

// The settings written out with every key, in the reader's own words.
std::string writeOut(const SessionSettings& settings) {
    std::string text = "ssm=1,ent=";
    text += settings.voice->engine;
    text += ",vcn=";
    text += settings.voice->code;
    text += ",spd=" + std::to_string(settings.speed) + ",vol=" + std::to_string(settings.volume);
    text += settings.textType == TextType::Ssml ? ",ttp=ssml" : ",ttp=text";
    text += ",tte=";
    text += encodingName(settings.encoding);
    text += settings.background == BackgroundSound::On ? ",bgs=1" : ",bgs=0";
    text += ",aue=raw,auf=audio/L16;rate=" + std::to_string(settings.sampleRate);
    return text;
}

bool sameSettings(const SessionSettings& a, const SessionSettings& b) {
    return a.voice == b.voice && a.speed == b.speed && a.volume == b.volume &&
           a.textType == b.textType && a.encoding == b.encoding && a.background == b.background &&
           a.sampleRate == b.sampleRate;
}

std::string joinReversed(const std::vector<KeyValue>& list) {
    std::string text;
    for (auto entry = list.rbegin(); entry != list.rend(); ++entry) {
        text += (text.empty() ? "" : ",") + entry->key + "=" + entry->value;
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto settings = parseSessionParams(text);
    if (!settings) {
        return 0;
    }
    const auto list = splitKeyValueList(text);
    require(list.has_value(), "accepted parameters are a well-formed list");
    for (const KeyValue& entry : *list) {
        require(std::find(kKnownKeys.begin(), kKnownKeys.end(), entry.key) != kKnownKeys.end(),
                "every accepted key is known");
    }
    require(settings->voice != nullptr, "a voice is always chosen");
    require(settings->speed >= 0 && settings->speed <= 10, "the speed is a level of 0 to 10");
    require(settings->volume >= 0 && settings->volume <= 10, "the volume is a level of 0 to 10");
    require(settings->sampleRate == 8000 || settings->sampleRate == 16000, "a known sample rate");

    const auto written = parseSessionParams(writeOut(*settings));
    require(written.has_value() && sameSettings(*written, *settings),
            "accepted settings survive being written out and read again");
    const auto reordered = parseSessionParams(joinReversed(*list));
    require(reordered.has_value() && sameSettings(*reordered, *settings),
            "the order of the keys does not matter");
    return 0;
}
