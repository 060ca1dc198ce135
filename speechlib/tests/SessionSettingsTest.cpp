#include "SessionSettings.h"

#include <gtest/gtest.h>

#include "SampleTexts.h"

namespace speechlib {
namespace {

constexpr const char* kProgramDefaults =
    "ssm=1,ent=vivi21,vcn=viyping,spd=5,vol=10,ttp=text,tte=GB2312,bgs=0,aue=speex;7,"
    "auf=audio/L16;rate=16000";

TEST(SessionSettingsTest, ReadsTheProgramsDefaultParameters) {
    const auto settings = parseSessionParams(kProgramDefaults);
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->voice->code, "viyping");
    EXPECT_EQ(settings->speed, 5);
    EXPECT_EQ(settings->volume, 10);
    EXPECT_EQ(settings->textType, TextType::Plain);
    EXPECT_EQ(settings->encoding, TextEncoding::Gb18030);
    EXPECT_EQ(settings->background, BackgroundSound::Off);
    EXPECT_EQ(settings->sampleRate, 16000);
}

TEST(SessionSettingsTest, MissingKeysTakeDefaults) {
    const auto settings = parseSessionParams("");
    ASSERT_TRUE(settings.has_value());
    EXPECT_EQ(settings->voice->code, "viyping");
    EXPECT_EQ(settings->encoding, TextEncoding::Auto);
    EXPECT_EQ(settings->sampleRate, 16000);
}

TEST(SessionSettingsTest, AnEngineWithoutAVoiceSpeaksWithItsDefaultVoice) {
    const struct {
        const char* params;
        const char* voice;
    } cases[] = {
        {"ent=intp65", "xiaoyan"},
        {"ent=intp65_en", "Catherine"},
        {"ent=vivi21", "viyping"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.params);
        const auto settings = parseSessionParams(c.params);
        ASSERT_TRUE(settings.has_value());
        EXPECT_EQ(settings->voice->code, c.voice);
    }
}

// Every voice the settings window offers, with its engine.
TEST(SessionSettingsTest, AcceptsEveryVoiceOfItsEngine) {
    for (const auto& v : samples::kOfferedVoices) {
        const std::string params = std::string("ent=") + v.engine + ",vcn=" + v.voice;
        SCOPED_TRACE(params);
        const auto settings = parseSessionParams(params);
        ASSERT_TRUE(settings.has_value());
        EXPECT_EQ(settings->voice->code, v.voice);
    }
}

TEST(SessionSettingsTest, ReadsEachOptionValue) {
    const struct {
        const char* params;
        void (*check)(const SessionSettings&);
    } cases[] = {
        {"spd=0,vol=0", [](const SessionSettings& s) { EXPECT_EQ(s.speed + s.volume, 0); }},
        {"spd=10", [](const SessionSettings& s) { EXPECT_EQ(s.speed, 10); }},
        {"ttp=ssml", [](const SessionSettings& s) { EXPECT_EQ(s.textType, TextType::Ssml); }},
        {"tte=GBK", [](const SessionSettings& s) { EXPECT_EQ(s.encoding, TextEncoding::Gb18030); }},
        {"tte=GB18030",
         [](const SessionSettings& s) { EXPECT_EQ(s.encoding, TextEncoding::Gb18030); }},
        {"tte=BIG5", [](const SessionSettings& s) { EXPECT_EQ(s.encoding, TextEncoding::Big5); }},
        {"tte=UNICODE",
         [](const SessionSettings& s) { EXPECT_EQ(s.encoding, TextEncoding::Utf16Le); }},
        {"tte=UTF8", [](const SessionSettings& s) { EXPECT_EQ(s.encoding, TextEncoding::Utf8); }},
        {"tte=AUTO", [](const SessionSettings& s) { EXPECT_EQ(s.encoding, TextEncoding::Auto); }},
        {"bgs=1", [](const SessionSettings& s) { EXPECT_EQ(s.background, BackgroundSound::On); }},
        {"auf=audio/L16;rate=8000",
         [](const SessionSettings& s) { EXPECT_EQ(s.sampleRate, 8000); }},
        {"aue=raw", [](const SessionSettings&) {}},
        {"aue=amr;0", [](const SessionSettings&) {}},
        {"aue=amr-fx;7", [](const SessionSettings&) {}},
        {"aue=amr-wb;3", [](const SessionSettings&) {}},
        {"aue=amr-wb-fx;5", [](const SessionSettings&) {}},
        {"aue=speex-wb;10", [](const SessionSettings&) {}},
        {"aue=speex", [](const SessionSettings&) {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.params);
        const auto settings = parseSessionParams(c.params);
        ASSERT_TRUE(settings.has_value());
        c.check(*settings);
    }
}

TEST(SessionSettingsTest, RefusesAnythingOutsideTheOptionLists) {
    for (const char* params : {
             "vcn=nobody",
             "vcn=Henry",
             "ent=intp65,vcn=viyping",
             "ent=intp65_en,vcn=xiaoyan",
             "ent=intp66",
             "ssm=0",
             "spd=11",
             "spd=-1",
             "spd=",
             "vol=10.0",
             "ttp=html",
             "tte=utf8",
             "tte=SHIFT_JIS",
             "bgs=2",
             "aue=raw;1",
             "aue=amr;8",
             "aue=speex;11",
             "aue=speex;",
             "aue=mp3",
             "auf=audio/L16;rate=22050",
             "auf=audio/L16",
             "foo=1",
             "spd=5,spd=6",
             "spd=5,",
             "spd",
         }) {
        SCOPED_TRACE(params);
        EXPECT_FALSE(parseSessionParams(params).has_value());
    }
}

}  // namespace
}  // namespace speechlib
