#pragma once

#include <optional>
#include <string_view>

#include "VoiceTable.h"

namespace speechlib {

enum class TextType { Plain, Ssml };

// How the bytes of a text are read. GB2312 and GBK are read as GB18030, which
// contains both.
enum class TextEncoding { Auto, Gb18030, Big5, Utf16Le, Utf8 };

enum class BackgroundSound { Off, On };

// One session's choices, checked against the option lists.
struct SessionSettings {
    const Voice* voice = nullptr;  // never null once parsed
    int speed = 5;                 // 0..10, 5 being the engine's natural rate
    int volume = 10;               // 0..10, 10 being full scale
    TextType textType = TextType::Plain;
    TextEncoding encoding = TextEncoding::Auto;
    BackgroundSound background = BackgroundSound::Off;
    int sampleRate = 16000;  // 8000 or 16000
};

// Reads the session parameter text "key=value,...". A missing key keeps its
// default (the engine's default voice when "vcn" is missing). Null when the
// text is malformed, a key is unknown or repeated, a value is not in its
// option list, or the voice does not belong to the engine. The audio
// encoding is checked but changes nothing: audio always comes out as PCM.
[[nodiscard]] std::optional<SessionSettings> parseSessionParams(std::string_view text);

}  // namespace speechlib
