#include "SdkConfig.h"

#include <limits>

#include "KeyValueList.h"

namespace speechlib {

std::optional<SdkConfig> parseSdkConfig(std::string_view text) {
    const auto list = splitKeyValueList(text);
    if (!list) {
        return std::nullopt;
    }
    SdkConfig config;
    const std::string* appId = findValue(*list, "appid");
    if (appId == nullptr || appId->empty()) {
        return std::nullopt;
    }
    config.appId = *appId;
    if (const std::string* size = findValue(*list, "max_text_size")) {
        const auto parsed = parseDecimal(*size, SdkConfig::kMaxTextSizeLimit);
        if (!parsed || *parsed == 0) {
            return std::nullopt;
        }
        config.maxTextSize = *parsed;
    }
    // Nothing here waits on a network, but a garbled timeout still marks a
    // garbled configuration.
    if (const std::string* timeout = findValue(*list, "timeout")) {
        if (!parseDecimal(*timeout, std::numeric_limits<std::int32_t>::max())) {
            return std::nullopt;
        }
    }
    return config;
}

}  // namespace speechlib
