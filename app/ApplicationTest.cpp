// The program's life on a headless window with the real settings, speech
// run and scheduler, and a scripted speech library.

#include "app/Application.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "announce/AnnouncementText.h"
#include "announce/Scheduler.h"
#include "app/SynthesisSettings.h"
#include "deployment/Deployment.h"
#include "literals/lifecycle_test_literals.h"
#include "platform/CodePage.h"
#include "speech/SpeechOutput.h"
#include "speech/SynthesisRun.h"
#include "tests/fakes/FakeClock.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/FakeHttpClient.h"
#include "tests/fakes/FakeSpeechSdk.h"
#include "tests/fakes/HeadlessWindow.h"
#include "tests/fakes/RecordingAudioOutput.h"

namespace tarvane {
namespace {

using namespace literals_lifecycle_test;
using enum ControlName;

// The half-hour texts these tests announce are ASCII and GBK already; no
// conversion is needed.
class PassThroughCodePage : public CodePage {
public:
    [[nodiscard]] Text utf8ToGbk(std::string_view utf8) const override { return Text(utf8); }
    [[nodiscard]] std::string gbkToUtf8(std::string_view gbk) const override {
        return std::string(gbk);
    }
};

// What the window looked like when the speech library was initialised.
struct WindowAtInit {
    bool visible = true;
    bool trayIcon = false;
    int engineItems = 0;
};

// The scripted library, watched at its initialisation.
class ObservedSdk : public FakeSpeechSdk {
public:
    explicit ObservedSdk(const HeadlessWindow& window) : m_window(window) {}

    std::int32_t init(const char* config) override {
        m_atInit = WindowAtInit{
            .visible = m_window.isVisible(),
            .trayIcon = m_window.hasTrayIcon(),
            .engineItems = static_cast<int>(m_window.itemTexts(组合框_引擎类型).size()),
        };
        return FakeSpeechSdk::init(config);
    }
    [[nodiscard]] const std::optional<WindowAtInit>& atInit() const { return m_atInit; }

private:
    const HeadlessWindow& m_window;
    std::optional<WindowAtInit> m_atInit;
};

// The process exit of the real program never returns; this one unwinds.
struct ProcessEnded {
    int exitCode;
};

// One chunk of audio and the end of the data.
std::vector<AudioPoll> shortSpeech() {
    return {{Bytes(320, 7), 320, 1, 0}, {Bytes(160, 9), 160, 2, 0}};
}

class ApplicationTest : public ::testing::Test {
protected:
    ApplicationTest() { m_window.setEvents(&m_application); }

    // Program start: the window is created and shown.
    void start() { ASSERT_TRUE(m_window.createWindow()); }

    // Start with only the half-hour switch ticked, the clock at 09:30:00.
    void armForHalfHour() {
        m_window.setUserTicked(选择框_整点报时, false);
        m_window.setUserTicked(选择框_半点报时, true);
        m_clock.set({9, 30, 0});
        ASSERT_TRUE(m_window.click(按钮_开始合成));
    }

    // One announcement that leaves its session held.
    void announceOnce() {
        armForHalfHour();
        m_sdk.scriptAudio(shortSpeech());
        ASSERT_TRUE(m_window.fireTimer());
        ASSERT_FALSE(m_synthesis.sessionId().empty());
    }

    void expectDisarmed() {
        EXPECT_EQ(m_window.timerPeriod(), 0);
        EXPECT_TRUE(m_window.isEnabled(按钮_开始合成));
        EXPECT_FALSE(m_window.isEnabled(按钮_停止));
        EXPECT_TRUE(m_window.isEnabled(编辑框1));
    }

    void expectArmed() {
        EXPECT_EQ(m_window.timerPeriod(), 1000);
        EXPECT_FALSE(m_window.isEnabled(按钮_开始合成));
        EXPECT_TRUE(m_window.isEnabled(按钮_停止));
        EXPECT_FALSE(m_window.isEnabled(编辑框1));
    }

    HeadlessWindow m_window;
    ObservedSdk m_sdk{m_window};
    FakeClock m_clock;
    FakeHttpClient m_http;
    PassThroughCodePage m_codePage;
    RecordingAudioOutput m_audio;
    FakeFileSystem m_files;
    SynthesisSettings m_settings{m_window};
    SpeechOutput m_output{m_window, m_settings, m_audio, m_files};
    SynthesisRun m_synthesis{m_sdk, m_window, m_settings, m_output};
    AnnouncementText m_texts{m_window, m_http, m_codePage};
    Scheduler m_scheduler{m_window, m_clock, m_settings, m_synthesis, m_texts};
    std::vector<int> m_exitCodes;
    Application m_application{
        m_window, m_sdk, m_settings, m_synthesis, m_scheduler, [this](int exitCode) {
            m_exitCodes.push_back(exitCode);
            throw ProcessEnded{exitCode};
        }};
};

TEST_F(ApplicationTest, StartUpPutsUpTheTrayFillsTheListsThenInitialisesBeforeShowing) {
    start();

    ASSERT_TRUE(m_sdk.atInit().has_value());
    EXPECT_TRUE(m_sdk.atInit()->trayIcon);
    EXPECT_GT(m_sdk.atInit()->engineItems, 0);
    EXPECT_FALSE(m_sdk.atInit()->visible);

    const std::string config = std::string("server_url=") + deployment::kSpeechHost +
                               ":80/index.htm,appid=5b0c2d91,timeout=10000,"
                               "coding_libs=speex.dll,max_text_size=2048";
    EXPECT_EQ(m_sdk.calls(), (std::vector<SdkCall>{{"QTTSInit", {config}}}));
    EXPECT_EQ(m_window.trayTip(), kTrayTip);
    EXPECT_EQ(m_window.statusTexts(), std::vector<Text>{kConnected});
    EXPECT_TRUE(m_window.isVisible());
    EXPECT_TRUE(m_window.isCentred());
    expectDisarmed();
}

TEST_F(ApplicationTest, AFailedInitialisationIsReportedAndStartStillArms) {
    m_sdk.scriptInitResults({10106});
    start();
    EXPECT_EQ(m_window.statusText(), kInitFailed);

    ASSERT_TRUE(m_window.click(按钮_开始合成));
    expectArmed();
    EXPECT_EQ(m_sdk.countOf("QTTSInit"), 1);
}

TEST_F(ApplicationTest, StartWithNeitherSwitchTickedIsRefusedAndChangesNothing) {
    start();
    m_window.setUserTicked(选择框_整点报时, false);
    m_window.setUserTicked(选择框_半点报时, false);

    ASSERT_TRUE(m_window.click(按钮_开始合成));

    EXPECT_EQ(m_window.messageBoxes(),
              (std::vector<HeadlessWindow::MessageBoxShown>{{kNoSwitchTicked, kErrorTitle}}));
    expectDisarmed();
    EXPECT_EQ(m_window.timerPeriodCalls(), std::vector<int>{});
    m_window.advanceTimer(5000);
    EXPECT_EQ(m_clock.readingCount(), 0);
}

TEST_F(ApplicationTest, EitherSwitchAloneArms) {
    struct Case {
        const char* name;
        bool hourly;
        bool halfHour;
    };
    const Case cases[] = {
        {"hourly only", true, false},
        {"half-hour only", false, true},
        {"both", true, true},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        HeadlessWindow window;
        FakeSpeechSdk sdk;
        SynthesisSettings settings(window);
        SpeechOutput output(window, settings, m_audio, m_files);
        SynthesisRun synthesis(sdk, window, settings, output);
        AnnouncementText texts(window, m_http, m_codePage);
        Scheduler scheduler(window, m_clock, settings, synthesis, texts);
        Application application(window, sdk, settings, synthesis, scheduler, [](int) {});
        window.setEvents(&application);
        window.createWindow();
        window.setUserTicked(选择框_整点报时, row.hourly);
        window.setUserTicked(选择框_半点报时, row.halfHour);

        window.click(按钮_开始合成);

        EXPECT_EQ(window.timerPeriod(), 1000);
        EXPECT_TRUE(window.isEnabled(按钮_停止));
        EXPECT_FALSE(window.isEnabled(按钮_开始合成));
        EXPECT_FALSE(window.isEnabled(编辑框1));
        EXPECT_TRUE(window.messageBoxes().empty());
        // The lists and the defaults button stay usable while armed.
        EXPECT_TRUE(window.isEnabled(组合框_发音人));
        EXPECT_TRUE(window.isEnabled(按钮_恢复默认1));
    }
}

TEST_F(ApplicationTest, StartStopStartStopsTheTicksAndResumesThemOneSecondLater) {
    start();
    m_clock.set({13, 5, 0});
    ASSERT_TRUE(m_window.click(按钮_开始合成));
    expectArmed();
    m_window.advanceTimer(999);
    EXPECT_EQ(m_clock.readingCount(), 0);
    m_window.advanceTimer(1);
    EXPECT_EQ(m_clock.readingCount(), 1);

    ASSERT_TRUE(m_window.click(按钮_停止));
    expectDisarmed();
    m_window.advanceTimer(5000);
    EXPECT_EQ(m_clock.readingCount(), 1);

    ASSERT_TRUE(m_window.click(按钮_开始合成));
    expectArmed();
    m_window.advanceTimer(999);
    EXPECT_EQ(m_clock.readingCount(), 1);
    m_window.advanceTimer(1);
    EXPECT_EQ(m_clock.readingCount(), 2);
    EXPECT_EQ(m_window.timerPeriodChanges(), (std::vector<int>{1000, 0, 1000}));
}

TEST_F(ApplicationTest, StopDuringACollectionLetsTheAnnouncementPlayAndNoTickFollows) {
    start();
    armForHalfHour();
    m_sdk.scriptAudio(shortSpeech());
    // The user presses Stop while the first chunk is being handled.
    m_window.onNextPump([this] { m_window.click(按钮_停止); });

    ASSERT_TRUE(m_window.fireTimer());

    EXPECT_EQ(m_audio.played().size(), 1u);
    EXPECT_EQ(m_window.statusText(), kSpeechDone);
    expectDisarmed();
    const int readings = m_clock.readingCount();
    m_window.advanceTimer(10000);
    EXPECT_EQ(m_clock.readingCount(), readings);
}

TEST_F(ApplicationTest, TrayLeftClickTogglesTheWindowAndADoubleClickLeavesItAsItWas) {
    start();
    ASSERT_TRUE(m_window.trayAction(TrayAction::LeftClick));
    EXPECT_FALSE(m_window.isVisible());

    ASSERT_TRUE(m_window.doubleClickTray());
    EXPECT_FALSE(m_window.isVisible());

    ASSERT_TRUE(m_window.trayAction(TrayAction::LeftClick));
    EXPECT_TRUE(m_window.isVisible());
    EXPECT_TRUE(m_window.isCentred());

    ASSERT_TRUE(m_window.doubleClickTray());
    EXPECT_TRUE(m_window.isVisible());
    EXPECT_EQ(m_window.trayMenuPopUpCount(), 0);
}

TEST_F(ApplicationTest, MinimisingHidesTheWindowAndATrayClickBringsItBackRestoredAndCentred) {
    start();
    ASSERT_TRUE(m_window.moveTo(5, 5));
    ASSERT_TRUE(m_window.minimise());
    EXPECT_FALSE(m_window.isVisible());

    ASSERT_TRUE(m_window.trayAction(TrayAction::LeftClick));
    EXPECT_TRUE(m_window.isVisible());
    EXPECT_EQ(m_window.placement(), WindowPlacement::Normal);
    EXPECT_TRUE(m_window.isCentred());
}

TEST_F(ApplicationTest, MovingTheWindowChangesNothingElse) {
    start();
    ASSERT_TRUE(m_window.moveTo(40, 30));
    EXPECT_TRUE(m_window.isVisible());
    EXPECT_EQ(m_window.windowLeft(), 40);
    EXPECT_EQ(m_window.restoreAndCentreCount(), 0);
}

TEST_F(ApplicationTest, TrayMenuShowRecentresAndHideHides) {
    start();
    ASSERT_TRUE(m_window.moveTo(12, 34));
    m_window.selectTrayMenuItem(TrayMenuItem::Show);
    ASSERT_TRUE(m_window.trayAction(TrayAction::RightClick));
    EXPECT_EQ(m_window.trayMenuPopUpCount(), 1);
    EXPECT_TRUE(m_window.isVisible());
    EXPECT_TRUE(m_window.isCentred());

    m_window.selectTrayMenuItem(TrayMenuItem::Hide);
    ASSERT_TRUE(m_window.trayAction(TrayAction::RightClick));
    EXPECT_FALSE(m_window.isVisible());

    m_window.selectTrayMenuItem(TrayMenuItem::Show);
    ASSERT_TRUE(m_window.trayAction(TrayAction::RightClick));
    EXPECT_TRUE(m_window.isVisible());
    EXPECT_TRUE(m_window.isCentred());
}

TEST_F(ApplicationTest, ClosingTheWindowEndsTheHeldSessionThenFinalises) {
    start();
    announceOnce();
    const std::string held = m_synthesis.sessionId();
    const std::size_t before = m_sdk.calls().size();

    ASSERT_TRUE(m_window.requestClose());  // Esc, the close box, Alt+F4

    const std::vector<SdkCall> closing(m_sdk.calls().begin() + static_cast<long>(before),
                                       m_sdk.calls().end());
    EXPECT_EQ(closing,
              (std::vector<SdkCall>{{"QTTSSessionEnd", {held, kNormalClose}}, {"QTTSFini", {}}}));
    EXPECT_TRUE(m_exitCodes.empty());
}

TEST_F(ApplicationTest, ClosingWithNoSessionHeldOnlyFinalises) {
    start();
    ASSERT_TRUE(m_window.requestClose());
    EXPECT_EQ(m_sdk.entries(), (std::vector<std::string>{"QTTSInit", "QTTSFini"}));
}

TEST_F(ApplicationTest, TrayExitEndsAtOnceWithCodeZeroLeavingTheLibraryAlone) {
    start();
    announceOnce();
    m_window.selectTrayMenuItem(TrayMenuItem::Exit);

    EXPECT_THROW(m_window.trayAction(TrayAction::RightClick), ProcessEnded);

    EXPECT_EQ(m_exitCodes, std::vector<int>{0});
    EXPECT_EQ(m_sdk.countOf("QTTSSessionEnd"), 0);
    EXPECT_EQ(m_sdk.countOf("QTTSFini"), 0);
    EXPECT_TRUE(m_window.isDestroyed());
    EXPECT_FALSE(m_window.hasTrayIcon());
    // The at-exit step let go of the session id before the end.
    EXPECT_TRUE(m_application.atExitSteps().hasRun());
    EXPECT_TRUE(m_synthesis.sessionId().empty());
}

TEST_F(ApplicationTest, TrayExitDuringACollectionEndsAtOnceWithoutEndingTheSession) {
    start();
    armForHalfHour();
    m_sdk.scriptAudio(shortSpeech());
    m_window.onNextPump([this] {
        m_window.selectTrayMenuItem(TrayMenuItem::Exit);
        m_window.trayAction(TrayAction::RightClick);
    });

    EXPECT_THROW(m_window.fireTimer(), ProcessEnded);

    EXPECT_EQ(m_exitCodes, std::vector<int>{0});
    EXPECT_TRUE(m_audio.played().empty());
    EXPECT_EQ(m_sdk.countOf("QTTSSessionEnd"), 0);
    EXPECT_EQ(m_sdk.countOf("QTTSFini"), 0);
}

TEST_F(ApplicationTest, TheAtExitStepRunsOnceAlsoWhenTheWindowClosedNormally) {
    start();
    announceOnce();
    ASSERT_TRUE(m_window.requestClose());
    EXPECT_FALSE(m_application.atExitSteps().hasRun());
    // The program ends: main returns and the lifecycle goes.
    m_application.atExitSteps().run();
    EXPECT_TRUE(m_synthesis.sessionId().empty());
    EXPECT_EQ(m_sdk.countOf("QTTSFini"), 1);
}

TEST_F(ApplicationTest, PicksOfEngineAndEncodingRefillTheirDependentLists) {
    start();
    // What the settings themselves make of the same choices, on a window of
    // their own.
    HeadlessWindow reference;
    SynthesisSettings referenceSettings(reference);
    referenceSettings.fillOptionLists();

    const auto engines = m_window.itemTexts(组合框_引擎类型);
    const auto encodings = m_window.itemTexts(组合框_音频编码);
    ASSERT_GE(engines.size(), 2u);
    ASSERT_GE(encodings.size(), 2u);
    for (int engine = 0; engine < static_cast<int>(engines.size()); ++engine) {
        SCOPED_TRACE(engine);
        ASSERT_TRUE(m_window.pickItem(组合框_引擎类型, engine));
        reference.optionList(组合框_引擎类型).select(engine);
        referenceSettings.refillVoices();
        EXPECT_EQ(m_window.itemTexts(组合框_发音人), reference.itemTexts(组合框_发音人));
        EXPECT_EQ(m_window.optionList(组合框_发音人).selectedIndex(),
                  reference.optionList(组合框_发音人).selectedIndex());
    }
    for (int encoding = 0; encoding < static_cast<int>(encodings.size()); ++encoding) {
        SCOPED_TRACE(encoding);
        ASSERT_TRUE(m_window.pickItem(组合框_音频编码, encoding));
        reference.optionList(组合框_音频编码).select(encoding);
        referenceSettings.refillCompressionLevels();
        EXPECT_EQ(m_window.itemTexts(组合框_压缩等级), reference.itemTexts(组合框_压缩等级));
        EXPECT_EQ(m_window.optionList(组合框_压缩等级).selectedIndex(),
                  reference.optionList(组合框_压缩等级).selectedIndex());
    }
}

TEST_F(ApplicationTest, PicksInOtherListsLeaveTheDependentListsAlone) {
    start();
    const auto voices = m_window.itemTexts(组合框_发音人);
    const int voice = m_window.optionList(组合框_发音人).selectedIndex();
    ASSERT_TRUE(m_window.pickItem(组合框_发音人, 0));
    ASSERT_TRUE(m_window.pickItem(组合框_语速, 0));
    EXPECT_EQ(m_window.itemTexts(组合框_发音人), voices);
    EXPECT_EQ(m_window.optionList(组合框_发音人).selectedIndex(), 0);
    EXPECT_NE(voice, -1);
}

TEST_F(ApplicationTest, TheDefaultsButtonRestoresEveryDefault) {
    start();
    std::vector<int> defaults;
    for (ControlName list : {组合框_引擎类型, 组合框_发音人, 组合框_语速, 组合框_音量,
                             组合框_音频编码, 组合框_压缩等级, 组合框_开始时间, 组合框_结束时间}) {
        defaults.push_back(m_window.optionList(list).selectedIndex());
    }
    ASSERT_TRUE(m_window.pickItem(组合框_引擎类型, 0));
    ASSERT_TRUE(m_window.pickItem(组合框_语速, 0));
    ASSERT_TRUE(m_window.pickItem(组合框_结束时间, 23));
    m_window.setUserTicked(选择框_整点报时, false);

    ASSERT_TRUE(m_window.click(按钮_恢复默认1));

    std::vector<int> restored;
    for (ControlName list : {组合框_引擎类型, 组合框_发音人, 组合框_语速, 组合框_音量,
                             组合框_音频编码, 组合框_压缩等级, 组合框_开始时间, 组合框_结束时间}) {
        restored.push_back(m_window.optionList(list).selectedIndex());
    }
    EXPECT_EQ(restored, defaults);
    EXPECT_TRUE(m_window.isTicked(选择框_整点报时));
}

}  // namespace
}  // namespace tarvane
