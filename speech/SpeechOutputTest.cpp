#include "speech/SpeechOutput.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/SynthesisSettings.h"
#include "literals/speech_test_literals.h"
#include "speech/WavImage.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/HeadlessWindow.h"
#include "tests/fakes/RecordingAudioOutput.h"
#include "tests/fakes/SpeechRig.h"

namespace tarvane {
namespace {

using namespace literals_speech_test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::uint32_t sampleRateOf(const Bytes& image) {
    return image.at(24) | image.at(25) << 8 | image.at(26) << 16 |
           static_cast<std::uint32_t>(image.at(27)) << 24;
}

class SpeechOutputTest : public ::testing::Test {
protected:
    SpeechOutputTest() { settings.fillOptionLists(); }

    HeadlessWindow window;
    SynthesisSettings settings{window};
    RecordingAudioOutput audio;
    FakeFileSystem files;
    SpeechOutput output{window, settings, audio, files};
    const Bytes samples = Bytes(100, 0x5A);
};

TEST_F(SpeechOutputTest, RateFollowsTheAudioFormatAtPackaging) {
    struct Case {
        const char* name;
        int selection;  // -1: the list was never filled, so nothing is selected
        std::uint32_t rate;
    };
    const Case cases[] = {
        {"first format", 0, 8000},
        {"second format", 1, 16000},
        {"no selection", -1, 16000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessWindow freshWindow;
        SynthesisSettings freshSettings{freshWindow};
        if (c.selection >= 0) {
            freshSettings.fillOptionLists();
            freshWindow.optionList(ControlName::组合框_音频格式).select(c.selection);
        }
        RecordingAudioOutput freshAudio;
        SpeechOutput freshOutput{freshWindow, freshSettings, freshAudio, files};
        freshOutput.outputSpeech(samples);
        ASSERT_EQ(freshAudio.played().size(), 1u);
        EXPECT_EQ(sampleRateOf(freshAudio.played()[0]), c.rate);
        EXPECT_EQ(freshAudio.played()[0],
                  buildWavImage(samples, static_cast<std::int32_t>(c.rate)));
    }
}

TEST_F(SpeechOutputTest, UntickedPlaysAndTouchesNoFile) {
    output.outputSpeech(samples);
    EXPECT_EQ(audio.played().size(), 1u);
    EXPECT_THAT(window.statusTexts(), ElementsAre(Text(kExpectSynthesised)));
    EXPECT_THAT(files.writeAttempts(), IsEmpty());
}

TEST_F(SpeechOutputTest, TickedSavesThePlayedImageInTheProgramFolder) {
    struct Case {
        const char* name;
        Text folder;
        Text separator;
        Bytes samples;
    };
    const Case cases[] = {
        {"slash", "/opt/tarvane", "/", Bytes(100, 0x5A)},
        {"backslash", "C:\\tarvane", "\\", Bytes(100, 0x5A)},
        // Empty audio still makes a 44-byte file.
        {"empty audio", "/opt/tarvane", "/", Bytes()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SpeechRig fresh;
        fresh.settings.fillOptionLists();
        fresh.window.setTicked(ControlName::选择框1, true);
        fresh.files.setProgramFolder(c.folder);
        fresh.files.setPathSeparator(c.separator);
        fresh.output.outputSpeech(c.samples);

        const Text path = c.folder + c.separator + kExpectWavFileName;
        ASSERT_EQ(fresh.audio.played().size(), 1u);
        EXPECT_EQ(fresh.audio.played()[0].size(), c.samples.size() + 44);
        ASSERT_EQ(fresh.files.files().count(path), 1u);
        EXPECT_EQ(fresh.files.files().at(path), fresh.audio.played()[0]);
        EXPECT_THAT(fresh.window.statusTexts(),
                    ElementsAre(Text(kExpectSynthesised), Text(kExpectSaved)));
    }
}

TEST_F(SpeechOutputTest, FailedSaveLeavesTheSynthesisedText) {
    window.setTicked(ControlName::选择框1, true);
    files.setWritable(false);
    output.outputSpeech(samples);
    EXPECT_EQ(audio.played().size(), 1u);
    EXPECT_EQ(files.writeAttempts().size(), 1u);
    EXPECT_THAT(window.statusTexts(), ElementsAre(Text(kExpectSynthesised)));
    EXPECT_THAT(window.messageBoxes(), IsEmpty());
    // The next announcement tries again.
    files.setWritable(true);
    output.outputSpeech(samples);
    EXPECT_EQ(window.statusText(), kExpectSaved);
}

}  // namespace
}  // namespace tarvane
