#include "speech/WavImage.h"

namespace tarvane {
namespace {

constexpr std::uint32_t kHeaderSize = 44;
constexpr std::uint16_t kChannels = 1;
constexpr std::uint16_t kBitsPerSample = 16;

void putTag(Bytes& image, const char (&tag)[5]) {
    image.insert(image.end(), tag, tag + 4);
}

void putUint32(Bytes& image, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        image.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void putUint16(Bytes& image, std::uint16_t value) {
    image.push_back(static_cast<std::uint8_t>(value));
    image.push_back(static_cast<std::uint8_t>(value >> 8));
}

}  // namespace

Bytes buildWavImage(const Bytes& audio, std::int32_t sampleRate) {
    const auto dataSize = static_cast<std::uint32_t>(audio.size());
    const auto rate = static_cast<std::uint32_t>(sampleRate);
    const std::uint16_t blockAlign = kChannels * kBitsPerSample / 8;

    Bytes image;
    image.reserve(kHeaderSize + audio.size());
    putTag(image, "RIFF");
    putUint32(image, dataSize + kHeaderSize - 8);
    putTag(image, "WAVE");
    putTag(image, "fmt ");
    putUint32(image, 16);
    putUint16(image, 1);  // PCM
    putUint16(image, kChannels);
    putUint32(image, rate);
    putUint32(image, rate * blockAlign);
    putUint16(image, blockAlign);
    putUint16(image, kBitsPerSample);
    putTag(image, "data");
    putUint32(image, dataSize);
    // No pad byte after an odd length: players read the data size.
    image.insert(image.end(), audio.begin(), audio.end());
    return image;
}

}  // namespace tarvane
