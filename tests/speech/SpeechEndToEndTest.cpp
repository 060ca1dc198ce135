// One synthesis run from a scripted library to the sound device and the
// saved file: the real ALSA adapter (writing to a file) and the real file
// adapter in a scratch folder, with sox reading what was saved.

#include <sys/wait.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/SynthesisSettings.h"
#include "platform/CodePage.h"
#include "platform/audio/AlsaAudioOutput.h"
#include "platform/files/PosixFileSystem.h"
#include "speech/SpeechOutput.h"
#include "speech/SynthesisRun.h"
#include "tests/fakes/FakeSpeechSdk.h"
#include "tests/fakes/HeadlessWindow.h"
#include "tests/speech/AlsaFileSink.h"

namespace tarvane {
namespace {

namespace fs = std::filesystem;

// 合成语音 in code page 936 and in UTF-8.
const std::string kGbkStem = "\xBA\xCF\xB3\xC9\xD3\xEF\xD2\xF4";
const std::string kUtf8Stem = "\xE5\x90\x88\xE6\x88\x90\xE8\xAF\xAD\xE9\x9F\xB3";
// 语音已合成, the last status of a run whose file was not saved.
const Text kSynthesised = "\xD3\xEF\xD2\xF4\xD2\xD1\xBA\xCF\xB3\xC9";

// Knows the one Chinese word these tests put in a path; ASCII passes as is.
class FileNameCodePage : public CodePage {
public:
    [[nodiscard]] Text utf8ToGbk(std::string_view utf8) const override {
        return swapped(utf8, kUtf8Stem, kGbkStem);
    }
    [[nodiscard]] std::string gbkToUtf8(std::string_view gbk) const override {
        return swapped(gbk, kGbkStem, kUtf8Stem);
    }

private:
    static std::string swapped(std::string_view text, const std::string& from,
                               const std::string& to) {
        std::string out(text);
        if (std::size_t at = out.find(from); at != std::string::npos) {
            out.replace(at, from.size(), to);
        }
        return out;
    }
};

// The real file adapter with a scratch folder standing in for the
// program's folder.
class ScratchFileSystem : public PosixFileSystem {
public:
    ScratchFileSystem(const CodePage& codePage, Text folder)
        : PosixFileSystem(codePage), m_folder(std::move(folder)) {}
    [[nodiscard]] Text programFolder() const override { return m_folder; }

private:
    Text m_folder;
};

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One value that sox reports about a sound file, e.g. "-r" for the rate.
std::string soxi(const std::string& option, const fs::path& file) {
    const std::string command = "soxi " + option + " '" + file.string() + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return "popen failed";
    }
    std::string output;
    std::array<char, 256> buffer{};
    while (fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        output += buffer.data();
    }
    const int status = pclose(pipe);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
        return "soxi not found: scripts/install-deps installs sox";
    }
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) {
        output.pop_back();
    }
    return output;
}

AudioPoll chunk(const Bytes& samples, std::int32_t status) {
    return {samples, static_cast<std::uint32_t>(samples.size()), status, 0};
}

Bytes ramp(std::size_t samples, int start) {
    Bytes bytes;
    for (std::size_t i = 0; i < samples; ++i) {
        const auto value = static_cast<std::uint16_t>(start + static_cast<int>(i) * 37);
        bytes.push_back(static_cast<std::uint8_t>(value));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    return bytes;
}

class SpeechEndToEndTest : public ::testing::Test {
protected:
    SpeechEndToEndTest() {
        clearCaptured();
        folder = scratchFolder() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(folder);
        settings.fillOptionLists();
        window.setTicked(ControlName::选择框1, true);
    }
    ~SpeechEndToEndTest() override { fs::remove_all(folder); }

    // Speaks one text whose audio comes in two chunks.
    Bytes speak(const Bytes& first, const Bytes& second) {
        sdk.scriptAudio({chunk(first, 1), chunk(second, kAudioStatusComplete)});
        EXPECT_TRUE(run.beginSession());
        run.speakText("abc");
        audio.waitUntilSilent();
        Bytes whole = first;
        whole.insert(whole.end(), second.begin(), second.end());
        return whole;
    }
    [[nodiscard]] fs::path savedFile() const { return folder / (kUtf8Stem + ".wav"); }

    // The stand-in program folder, made before the file adapter is given it.
    static fs::path makeFolder() {
        fs::path made =
            scratchFolder() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::create_directories(made);
        return made;
    }

    fs::path folder = makeFolder();
    HeadlessWindow window;
    SynthesisSettings settings{window};
    FakeSpeechSdk sdk;
    AlsaAudioOutput audio;
    FileNameCodePage codePage;
    ScratchFileSystem files{codePage, folder.string()};
    SpeechOutput output{window, settings, audio, files};
    SynthesisRun run{sdk, window, settings, output};
};

TEST_F(SpeechEndToEndTest, PlayedAndSavedImagesHoldTheCollectedAudio) {
    struct Case {
        int format;
        std::uint32_t rate;
    };
    for (const Case c : {Case{0, 8000}, Case{1, 16000}}) {
        SCOPED_TRACE(c.rate);
        clearCaptured();
        window.optionList(ControlName::组合框_音频格式).select(c.format);
        const Bytes spoken = speak(ramp(800, c.format), ramp(400, 9));

        EXPECT_EQ(readCaptured(c.rate), spoken);
        const Bytes saved = readFile(savedFile());
        ASSERT_EQ(saved.size(), spoken.size() + 44);
        EXPECT_EQ(Bytes(saved.begin() + 44, saved.end()), spoken);
        EXPECT_EQ(soxi("-r", savedFile()), std::to_string(c.rate));
        EXPECT_EQ(soxi("-c", savedFile()), "1");
        EXPECT_EQ(soxi("-b", savedFile()), "16");
        EXPECT_EQ(soxi("-e", savedFile()), "Signed Integer PCM");
        EXPECT_EQ(soxi("-s", savedFile()), std::to_string(spoken.size() / 2));
    }
}

TEST_F(SpeechEndToEndTest, SecondAnnouncementOverwritesTheFile) {
    (void)speak(ramp(2000, 1), ramp(2000, 2));
    const Bytes shorter = speak(ramp(10, 3), ramp(10, 4));
    const Bytes saved = readFile(savedFile());
    ASSERT_EQ(saved.size(), shorter.size() + 44);
    EXPECT_EQ(Bytes(saved.begin() + 44, saved.end()), shorter);
}

TEST_F(SpeechEndToEndTest, UntickedTouchesNoFile) {
    window.setTicked(ControlName::选择框1, false);
    const Bytes spoken = speak(ramp(100, 1), ramp(100, 2));
    EXPECT_EQ(readCaptured(16000), spoken);
    EXPECT_FALSE(fs::exists(savedFile()));
    EXPECT_EQ(window.statusText(), kSynthesised);
}

TEST_F(SpeechEndToEndTest, UnwritableFolderLeavesTheSynthesisedText) {
    fs::remove_all(folder);
    const Bytes spoken = speak(ramp(100, 1), ramp(100, 2));
    EXPECT_EQ(readCaptured(16000), spoken);
    EXPECT_EQ(window.statusText(), kSynthesised);
}

}  // namespace
}  // namespace tarvane
