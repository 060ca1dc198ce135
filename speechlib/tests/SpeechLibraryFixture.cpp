#include "SpeechLibraryFixture.h"

#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace speechlib::apitest {

std::string paramsWith(std::initializer_list<std::pair<std::string, std::string>> changes) {
    std::vector<std::pair<std::string, std::string>> items;
    std::string text = kProgramParams;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string item = text.substr(start, comma - start);
        const std::size_t equals = item.find('=');
        items.emplace_back(item.substr(0, equals), item.substr(equals + 1));
        start = comma + 1;
    }
    for (const auto& [key, value] : changes) {
        auto found = std::find_if(items.begin(), items.end(),
                                  [&key](const auto& item) { return item.first == key; });
        if (found == items.end()) {
            items.emplace_back(key, value);
        } else {
            found->second = value;
        }
    }
    std::string params;
    for (const auto& [key, value] : items) {
        params += (params.empty() ? "" : ",") + key + "=" + value;
    }
    return params;
}

std::string encodeAs(const std::string& utf8, const char* encoding) {
    iconv_t handle = iconv_open(encoding, "UTF-8");
    if (handle == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "no converter to " << encoding;
        return {};
    }
    std::string out(utf8.size() * 4 + 8, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(handle, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        ADD_FAILURE() << "cannot convert to " << encoding << ": " << utf8;
    }
    iconv_close(handle);
    out.resize(out.size() - outLeft);
    return out;
}

SpokenAudio speak(const std::string& params, const std::string& text) {
    SpokenAudio result;
    std::int32_t error = -1;
    const char* id = QTTSSessionBegin(params.c_str(), &error);
    if (id == nullptr) {
        ADD_FAILURE() << "session refused with " << error << ": " << params;
        return result;
    }
    const std::string sessionId = id;
    const std::int32_t put =
        QTTSTextPut(sessionId.c_str(), text.data(), static_cast<std::uint32_t>(text.size()), "");
    if (put != MSC_SUCCESS) {
        ADD_FAILURE() << "text refused with " << put;
        QTTSSessionEnd(sessionId.c_str(), "");
        return result;
    }
    std::int32_t status = 0;
    const PollDeadline deadline;
    while (status != MSC_AUDIO_COMPLETE) {
        if (deadline.passed()) {
            ADD_FAILURE() << "the audio never ended";
            break;
        }
        std::uint32_t length = 0;
        const void* chunk = QTTSAudioGet(sessionId.c_str(), &length, &status, &result.lastError);
        if (chunk != nullptr && length > 0) {
            const std::size_t old = result.samples.size();
            result.samples.resize(old + length / sizeof(std::int16_t));
            std::memcpy(result.samples.data() + old, chunk, length);
        }
    }
    EXPECT_EQ(QTTSSessionEnd(sessionId.c_str(), "正常关闭"), MSC_SUCCESS);
    return result;
}

double rms(std::span<const std::int16_t> samples) {
    double sum = 0;
    for (const std::int16_t s : samples) {
        sum += static_cast<double>(s) * s;
    }
    return samples.empty() ? 0 : std::sqrt(sum / samples.size());
}

::testing::AssertionResult isSameSpeech(const std::vector<std::int16_t>& actual,
                                        const std::vector<std::int16_t>& expected) {
    if (actual.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << actual.size() << " samples where " << expected.size() << " were expected";
    }
    constexpr std::size_t kFrame = 1600;
    for (std::size_t start = 0; start < actual.size(); start += kFrame) {
        const std::size_t length = std::min(kFrame, actual.size() - start);
        const double got = rms(std::span(actual).subspan(start, length));
        const double want = rms(std::span(expected).subspan(start, length));
        if (std::abs(got - want) > 0.15 * want + 50) {
            return ::testing::AssertionFailure() << "loudness " << got << " where " << want
                                                 << " was expected at sample " << start;
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace speechlib::apitest
