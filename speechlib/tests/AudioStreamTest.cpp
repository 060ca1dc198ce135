#include "AudioStream.h"

#include <gtest/gtest.h>

#include <numeric>
#include <thread>

#include "msc.h"

namespace speechlib {
namespace {

using std::chrono::milliseconds;
using Samples = std::vector<std::int16_t>;

TEST(AudioStreamTest, BeforeAnyTextThereIsNoAudioToWaitFor) {
    AudioStream stream;
    const auto chunk = stream.take(milliseconds(0));
    EXPECT_TRUE(chunk.samples.empty());
    EXPECT_EQ(chunk.status, MSC_AUDIO_COMPLETE);
    EXPECT_EQ(chunk.error, MSC_ERROR_NO_TEXT);
}

TEST(AudioStreamTest, TheEndMarkComesWithTheLastSamples) {
    AudioStream stream;
    ASSERT_TRUE(stream.begin());
    stream.push({1, 2});
    stream.finish({3}, MSC_SUCCESS);

    const auto last = stream.take(milliseconds(0));
    EXPECT_EQ(last.samples, (Samples{1, 2, 3}));
    EXPECT_EQ(last.status, MSC_AUDIO_COMPLETE);
    EXPECT_EQ(last.error, MSC_SUCCESS);

    const auto after = stream.take(milliseconds(0));
    EXPECT_TRUE(after.samples.empty());
    EXPECT_EQ(after.status, MSC_AUDIO_COMPLETE);
}

TEST(AudioStreamTest, NothingReadyYetMeansMoreIsComing) {
    AudioStream stream;
    ASSERT_TRUE(stream.begin());
    const auto chunk = stream.take(milliseconds(1));
    EXPECT_TRUE(chunk.samples.empty());
    EXPECT_EQ(chunk.status, MSC_AUDIO_CONTINUE);
}

TEST(AudioStreamTest, AnErrorTravelsWithTheEnd) {
    AudioStream stream;
    ASSERT_TRUE(stream.begin());
    stream.push({7});
    stream.finish({}, MSC_ERROR_ENGINE);
    const auto chunk = stream.take(milliseconds(0));
    EXPECT_EQ(chunk.samples, (Samples{7}));
    EXPECT_EQ(chunk.status, MSC_AUDIO_COMPLETE);
    EXPECT_EQ(chunk.error, MSC_ERROR_ENGINE);
}

TEST(AudioStreamTest, ANewTextWaitsUntilTheEndOfThePreviousWasTaken) {
    AudioStream stream;
    ASSERT_TRUE(stream.begin());
    EXPECT_FALSE(stream.begin());
    stream.finish({1}, MSC_SUCCESS);
    EXPECT_FALSE(stream.begin());  // its last chunk is still untaken
    (void)stream.take(milliseconds(0));
    EXPECT_TRUE(stream.begin());
    EXPECT_EQ(stream.take(milliseconds(0)).status, MSC_AUDIO_CONTINUE);
}

TEST(AudioStreamTest, AProducerThreadLosesNoSampleAndEndsOnce) {
    constexpr int kBlocks = 2000;
    constexpr int kBlockSize = 50;
    AudioStream stream;
    ASSERT_TRUE(stream.begin());
    std::thread producer([&stream] {
        for (int block = 0; block < kBlocks; ++block) {
            Samples samples(kBlockSize);
            std::iota(samples.begin(), samples.end(), static_cast<std::int16_t>(block % 600));
            if (block + 1 == kBlocks) {
                stream.finish(std::move(samples), MSC_SUCCESS);
            } else {
                stream.push(std::move(samples));
            }
        }
    });
    Samples received;
    int ends = 0;
    int polls = 0;
    while (ends == 0 && ++polls < 100000) {
        const auto chunk = stream.take(milliseconds(5));
        received.insert(received.end(), chunk.samples.begin(), chunk.samples.end());
        ends += chunk.status == MSC_AUDIO_COMPLETE ? 1 : 0;
    }
    producer.join();

    EXPECT_EQ(ends, 1);
    ASSERT_EQ(received.size(), static_cast<std::size_t>(kBlocks * kBlockSize));
    for (int block = 0; block < kBlocks; ++block) {
        ASSERT_EQ(received[block * kBlockSize], block % 600) << "block " << block;
    }
}

}  // namespace
}  // namespace speechlib
