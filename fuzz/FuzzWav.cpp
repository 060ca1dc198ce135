// Properties of the WAV image around arbitrary samples and sample rates.
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzInput.h"
#include "speech/WavImage.h"

using namespace tarvane;
using fuzz::require;

namespace {

std::uint32_t uint32At(const Bytes& image, std::size_t at) {
    return image[at] | (image[at + 1] << 8) | (image[at + 2] << 16) |
           (static_cast<std::uint32_t>(image[at + 3]) << 24);
}

std::uint16_t uint16At(const Bytes& image, std::size_t at) {
    return static_cast<std::uint16_t>(image[at] | (image[at + 1] << 8));
}

bool tagAt(const Bytes& image, std::size_t at, std::string_view tag) {
    return std::string_view(reinterpret_cast<const char*>(image.data()) + at, 4) == tag;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    std::uint32_t rawRate = 0;
    for (int i = 0; i < 4; ++i) {
        rawRate = (rawRate << 8) | input.takeByte();
    }
    const auto sampleRate = static_cast<std::int32_t>(rawRate);
    const std::string_view samples = input.takeRest();
    const Bytes audio(samples.begin(), samples.end());

    const Bytes image = buildWavImage(audio, sampleRate);
    require(image.size() == audio.size() + 44, "44 header bytes, then the samples, no pad byte");
    require(tagAt(image, 0, "RIFF") && tagAt(image, 8, "WAVE") && tagAt(image, 12, "fmt ") &&
                tagAt(image, 36, "data"),
            "the chunk tags");
    require(uint32At(image, 4) == audio.size() + 36, "the RIFF size counts all after it");
    require(uint32At(image, 16) == 16 && uint16At(image, 20) == 1, "a 16-byte PCM format chunk");
    require(uint16At(image, 22) == 1, "mono");
    require(uint32At(image, 24) == rawRate, "the sample rate as given");
    require(uint32At(image, 28) == rawRate * 2, "the byte rate is two bytes a sample");
    require(uint16At(image, 32) == 2 && uint16At(image, 34) == 16, "16-bit samples");
    require(uint32At(image, 40) == audio.size(), "the data size");
    require(Bytes(image.begin() + 44, image.end()) == audio, "the samples unchanged");
    return 0;
}
