#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace speechlib {

// What the library keeps of the configuration text given at start-up.
struct SdkConfig {
    static constexpr std::uint32_t kDefaultMaxTextSize = 4096;
    // Large enough for any announcement, small enough that one text cannot
    // tie the engine up for hours.
    static constexpr std::uint32_t kMaxTextSizeLimit = 1 << 20;

    std::string appId;
    std::uint32_t maxTextSize = kDefaultMaxTextSize;
};

// Reads "key=value,..." text. Null when it is malformed, lacks a non-empty
// "appid", or "max_text_size" (1 up to the limit) or "timeout" is not a
// decimal number. Keys the library has no use for (the service address, codec
// libraries) are accepted and ignored.
[[nodiscard]] std::optional<SdkConfig> parseSdkConfig(std::string_view text);

}  // namespace speechlib
