#include "speech/WavImage.h"

#include <gtest/gtest.h>

#include <string>

namespace tarvane {
namespace {

std::uint32_t uint32At(const Bytes& image, std::size_t offset) {
    return image[offset] | image[offset + 1] << 8 | image[offset + 2] << 16 |
           static_cast<std::uint32_t>(image[offset + 3]) << 24;
}

std::uint16_t uint16At(const Bytes& image, std::size_t offset) {
    return static_cast<std::uint16_t>(image[offset] | image[offset + 1] << 8);
}

std::string tagAt(const Bytes& image, std::size_t offset) {
    return std::string(image.begin() + static_cast<std::ptrdiff_t>(offset),
                       image.begin() + static_cast<std::ptrdiff_t>(offset + 4));
}

Bytes counting(std::size_t size) {
    Bytes audio(size);
    for (std::size_t i = 0; i < size; ++i) {
        audio[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return audio;
}

TEST(WavImageTest, HeaderFieldsFollowLengthAndRate) {
    struct Case {
        const char* name;
        std::size_t audioSize;
        std::int32_t rate;
        std::uint32_t byteRate;
    };
    const Case cases[] = {
        {"empty audio", 0, 16000, 32000},
        {"100 bytes at 16000", 100, 16000, 32000},
        {"100 bytes at 8000", 100, 8000, 16000},
        // An odd length gets no pad byte: the image is exactly 44 + n.
        {"odd length", 101, 16000, 32000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes audio = counting(c.audioSize);
        const Bytes image = buildWavImage(audio, c.rate);
        ASSERT_EQ(image.size(), c.audioSize + 44);
        EXPECT_EQ(tagAt(image, 0), "RIFF");
        EXPECT_EQ(uint32At(image, 4), c.audioSize + 36);
        EXPECT_EQ(tagAt(image, 8), "WAVE");
        EXPECT_EQ(tagAt(image, 12), "fmt ");
        EXPECT_EQ(uint32At(image, 16), 16u);
        EXPECT_EQ(uint16At(image, 20), 1);
        EXPECT_EQ(uint16At(image, 22), 1);
        EXPECT_EQ(uint32At(image, 24), static_cast<std::uint32_t>(c.rate));
        EXPECT_EQ(uint32At(image, 28), c.byteRate);
        EXPECT_EQ(uint16At(image, 32), 2);
        EXPECT_EQ(uint16At(image, 34), 16);
        EXPECT_EQ(tagAt(image, 36), "data");
        EXPECT_EQ(uint32At(image, 40), c.audioSize);
        EXPECT_EQ(Bytes(image.begin() + 44, image.end()), audio);
    }
}

TEST(WavImageTest, HundredBytesAtSixteenThousandReadAsTheTableSays) {
    const Bytes image = buildWavImage(Bytes(100, 0x11), 16000);
    ASSERT_EQ(image.size(), 144u);
    // Little-endian, byte by byte: a big-endian writer would pass a
    // round-trip reader of its own.
    EXPECT_EQ(Bytes(image.begin() + 4, image.begin() + 8), (Bytes{136, 0, 0, 0}));
    EXPECT_EQ(Bytes(image.begin() + 24, image.begin() + 28), (Bytes{0x80, 0x3E, 0, 0}));
    EXPECT_EQ(Bytes(image.begin() + 28, image.begin() + 32), (Bytes{0x00, 0x7D, 0, 0}));
    EXPECT_EQ(Bytes(image.begin() + 40, image.begin() + 44), (Bytes{100, 0, 0, 0}));
}

}  // namespace
}  // namespace tarvane
