#include "platform/audio/WavReader.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvane {
namespace {

void putTag(Bytes& image, const std::string& tag) {
    image.insert(image.end(), tag.begin(), tag.end());
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

struct Format {
    std::uint16_t tag = 1;
    std::uint16_t channels = 1;
    std::uint32_t rate = 16000;
    std::uint16_t bits = 16;
};

// A RIFF image built chunk by chunk, so a case can leave out, add or break
// any part of it.
Bytes image(const Format& format, const Bytes& samples, std::uint32_t declaredDataSize,
            const Bytes& chunkBeforeData = {}) {
    Bytes out;
    putTag(out, "RIFF");
    putUint32(out, 0);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putUint32(out, 16);
    putUint16(out, format.tag);
    putUint16(out, format.channels);
    putUint32(out, format.rate);
    putUint32(out, format.rate * format.channels * format.bits / 8);
    putUint16(out, static_cast<std::uint16_t>(format.channels * format.bits / 8));
    putUint16(out, format.bits);
    out.insert(out.end(), chunkBeforeData.begin(), chunkBeforeData.end());
    putTag(out, "data");
    putUint32(out, declaredDataSize);
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

Bytes listChunk(std::uint32_t size) {
    Bytes chunk;
    putTag(chunk, "LIST");
    putUint32(chunk, size);
    chunk.insert(chunk.end(), size + (size & 1u), 0x77);
    return chunk;
}

TEST(WavReaderTest, ReadsPlayableSoundOrNothing) {
    const Bytes six = {1, 2, 3, 4, 5, 6};
    struct Case {
        const char* name;
        Bytes image;
        bool playable;
        Bytes samples;
        std::uint32_t rate;
        std::uint16_t channels;
    };
    Bytes notRiff = image({}, six, 6);
    notRiff[0] = 'X';
    const Bytes whole = image({}, six, 6);
    const Case cases[] = {
        {"mono at 16000", image({}, six, 6), true, six, 16000, 1},
        {"mono at 8000", image({1, 1, 8000, 16}, six, 6), true, six, 8000, 1},
        {"stereo keeps whole frames", image({1, 2, 8000, 16}, six, 6), true, {1, 2, 3, 4}, 8000, 2},
        {"odd length drops the stray byte", image({}, {1, 2, 3}, 3), true, {1, 2}, 16000, 1},
        {"data size beyond the image is cut", image({}, six, 1000), true, six, 16000, 1},
        {"other chunks are skipped, odd ones padded", image({}, six, 6, listChunk(3)), true, six,
         16000, 1},
        {"no samples", image({}, {}, 0), false, {}, 0, 0},
        {"one byte is no sample", image({}, {9}, 1), false, {}, 0, 0},
        {"not PCM", image({3, 1, 16000, 32}, six, 6), false, {}, 0, 0},
        {"8-bit", image({1, 1, 16000, 8}, six, 6), false, {}, 0, 0},
        {"no channels", image({1, 0, 16000, 16}, six, 6), false, {}, 0, 0},
        {"rate 0", image({1, 1, 0, 16}, six, 6), false, {}, 0, 0},
        {"not RIFF", notRiff, false, {}, 0, 0},
        {"header only", Bytes(whole.begin(), whole.begin() + 20), false, {}, 0, 0},
        {"empty", {}, false, {}, 0, 0},
        // A chunk claiming to run past the end must not carry the reader
        // outside the image.
        {"oversized chunk before data",
         image({}, six, 6, Bytes{'L', 'I', 'S', 'T', 0xF0, 0xFF, 0xFF, 0xFF}),
         false,
         {},
         0,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<PcmSound> sound = readWavImage(c.image);
        ASSERT_EQ(sound.has_value(), c.playable);
        if (sound) {
            EXPECT_EQ(sound->samples, c.samples);
            EXPECT_EQ(sound->sampleRate, c.rate);
            EXPECT_EQ(sound->channels, c.channels);
        }
    }
}

}  // namespace
}  // namespace tarvane
