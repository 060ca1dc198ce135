#include "platform/audio/WavReader.h"

#include <algorithm>
#include <cstring>

namespace tarvane {
namespace {

constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::uint16_t kPcmFormatTag = 1;

std::uint32_t readUint32(const Bytes& bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

std::uint16_t readUint16(const Bytes& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

bool hasTag(const Bytes& bytes, std::size_t offset, const char* tag) {
    return std::memcmp(bytes.data() + offset, tag, 4) == 0;
}

}  // namespace

std::optional<PcmSound> readWavImage(const Bytes& image) {
    if (image.size() < 12 || !hasTag(image, 0, "RIFF") || !hasTag(image, 8, "WAVE")) {
        return std::nullopt;
    }
    std::optional<PcmSound> sound;
    bool formatSeen = false;
    std::size_t offset = 12;
    while (image.size() - offset >= kChunkHeaderSize) {
        std::uint32_t declared = readUint32(image, offset + 4);
        std::size_t bodyStart = offset + kChunkHeaderSize;
        std::size_t available = image.size() - bodyStart;
        std::size_t size = std::min<std::size_t>(declared, available);
        if (hasTag(image, offset, "fmt ")) {
            if (size < 16 || readUint16(image, bodyStart) != kPcmFormatTag ||
                readUint16(image, bodyStart + 14) != 16) {
                return std::nullopt;
            }
            sound.emplace();
            sound->channels = readUint16(image, bodyStart + 2);
            sound->sampleRate = readUint32(image, bodyStart + 4);
            formatSeen = true;
        } else if (hasTag(image, offset, "data")) {
            if (!formatSeen || sound->channels == 0 || sound->sampleRate == 0) {
                return std::nullopt;
            }
            // Only whole frames can be played; a stray last byte is dropped.
            std::size_t frameSize = 2u * sound->channels;
            size -= size % frameSize;
            if (size == 0) {
                return std::nullopt;
            }
            auto begin = image.begin() + static_cast<std::ptrdiff_t>(bodyStart);
            sound->samples.assign(begin, begin + static_cast<std::ptrdiff_t>(size));
            return sound;
        }
        // Chunks are padded to an even length.
        std::size_t step = kChunkHeaderSize + declared + (declared & 1u);
        if (step > image.size() - offset) {
            break;
        }
        offset += step;
    }
    return std::nullopt;
}

}  // namespace tarvane
