// Properties of the speech library's configuration text reader.
#include <cstdint>
#include <string>
#include <string_view>

#include "KeyValueList.h"
#include "SdkConfig.h"
#include "fuzz/FuzzInput.h"

using namespace speechlib;
using tarvane::fuzz::require;

namespace {

std::string join(const std::vector<KeyValue>& list) {
    std::string text;
    for (const KeyValue& entry : list) {
        text += (text.empty() ? "" : ",") + entry.key + "=" + entry.value;
    }
    return text;
}

void checkList(std::string_view text) {
    const auto list = splitKeyValueList(text);
    if (!list) {
        return;
    }
    // Nothing is dropped or changed on the way in.
    require(join(*list) == text, "a list joins back into its text");
    for (std::size_t i = 0; i < list->size(); ++i) {
        const KeyValue& entry = (*list)[i];
        require(!entry.key.empty() && entry.key.find_first_of(",=") == std::string::npos,
                "a key is not empty and holds no separator");
        require(entry.value.find(',') == std::string::npos, "a value holds no comma");
        require(findValue(*list, entry.key) == &entry.value, "every key is found, once");
    }
}

void checkDecimal(std::string_view text, unsigned max) {
    const auto parsed = parseDecimal(text, max);
    if (!parsed) {
        return;
    }
    unsigned long long value = 0;
    for (const char c : text) {
        require(c >= '0' && c <= '9', "a number holds digits only");
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    require(!text.empty() && value == *parsed && *parsed <= max, "a number is read exactly");
}

void checkConfig(std::string_view text) {
    const auto config = parseSdkConfig(text);
    if (!config) {
        return;
    }
    const auto list = splitKeyValueList(text);
    require(list.has_value(), "an accepted configuration is a well-formed list");
    const std::string* appId = findValue(*list, "appid");
    require(appId != nullptr && !appId->empty() && config->appId == *appId,
            "the appid is the text's own, not empty");
    require(config->maxTextSize >= 1 && config->maxTextSize <= SdkConfig::kMaxTextSizeLimit,
            "the text size limit is within its bounds");
    if (findValue(*list, "max_text_size") == nullptr) {
        require(config->maxTextSize == SdkConfig::kDefaultMaxTextSize, "the default text size");
    }
    // What was kept reads back as the same configuration.
    const std::string again =
        "appid=" + config->appId + ",max_text_size=" + std::to_string(config->maxTextSize);
    const auto reread = parseSdkConfig(again);
    require(reread.has_value() && reread->appId == config->appId &&
                reread->maxTextSize == config->maxTextSize,
            "an accepted configuration survives being written out and read again");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tarvane::fuzz::FuzzInput input(data, size);
    const unsigned max = input.takeByte() % 2 == 0 ? 10u : SdkConfig::kMaxTextSizeLimit;
    const std::string_view text = input.takeRest();
    checkList(text);
    checkDecimal(text, max);
    checkConfig(text);
    return 0;
}
