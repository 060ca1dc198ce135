#include "app/Application.h"

#include <utility>

#include "announce/Scheduler.h"
#include "app/SynthesisSettings.h"
#include "literals/lifecycle_literals.h"
#include "speech/SdkConfig.h"
#include "speech/SpeechSdk.h"
#include "speech/SynthesisRun.h"

namespace tarvane {
namespace {

using namespace literals_lifecycle;

// The scheduler looks at the clock once a second while armed.
constexpr int kTickPeriodMilliseconds = 1000;

}  // namespace

Application::Application(Toolkit& window, SpeechSdk& sdk, SynthesisSettings& settings,
                         SynthesisRun& synthesis, Scheduler& scheduler, ProcessExit exitProcess)
    : m_window(window),
      m_sdk(sdk),
      m_settings(settings),
      m_synthesis(synthesis),
      m_scheduler(scheduler),
      m_exitProcess(std::move(exitProcess)) {
    m_atExitSteps.add([this] { releaseAtExit(); });
}

Application::~Application() {
    m_atExitSteps.run();
}

void Application::onWindowCreated() {
    // The tray icon comes first, so it is on the screen before the window.
    m_window.setTrayIcon(kTrayTip);
    m_settings.fillOptionLists();
    const Text config = buildSdkConfig();
    // A failed initialisation is reported and not retried; each due
    // announcement still tries to begin its session.
    const bool initialised = m_sdk.init(config.c_str()) == 0;
    m_window.setStatusText(initialised ? kConnected : kInitFailed);
}

void Application::onCloseRequested() {
    m_synthesis.shutdownSpeech();
}

void Application::onWindowMoved() {
    if (m_window.placement() == WindowPlacement::Minimised) {
        m_window.setVisible(false);
    }
}

void Application::onTrayAction(TrayAction action) {
    switch (action) {
        case TrayAction::RightClick:
            m_window.popUpTrayMenu();
            break;
        case TrayAction::LeftClick:
            if (m_window.isVisible()) {
                m_window.setVisible(false);
            } else {
                showMainWindow();
            }
            break;
        case TrayAction::LeftDoubleClick:
            // Its two left clicks have toggled the window twice already.
            break;
    }
}

void Application::onTimerTick() {
    m_scheduler.onTimerTick();
}

void Application::onItemPicked(ControlName list) {
    switch (list) {
        case ControlName::组合框_引擎类型:
            m_settings.refillVoices();
            break;
        case ControlName::组合框_音频编码:
            m_settings.refillCompressionLevels();
            break;
        default:
            break;
    }
}

void Application::onClicked(ControlName button) {
    switch (button) {
        case ControlName::按钮_恢复默认1:
            m_settings.applyDefaults();
            break;
        case ControlName::按钮_开始合成:
            onStartClicked();
            break;
        case ControlName::按钮_停止:
            onStopClicked();
            break;
        default:
            break;
    }
}

void Application::onTrayMenuSelected(TrayMenuItem item) {
    switch (item) {
        case TrayMenuItem::Show:
            onShowSelected();
            break;
        case TrayMenuItem::Hide:
            onHideSelected();
            break;
        case TrayMenuItem::Exit:
            onExitSelected();
            break;
    }
}

void Application::onStartClicked() {
    // The hourly switch is read only when the half-hour one is not ticked.
    const bool armable = m_window.isTicked(ControlName::选择框_半点报时) ||
                         m_window.isTicked(ControlName::选择框_整点报时);
    if (!armable) {
        m_window.showMessageBox(kNoSwitchTicked, kErrorTitle);
        return;
    }
    m_window.setTimerPeriod(kTickPeriodMilliseconds);
    m_window.setEnabled(ControlName::按钮_停止, true);
    m_window.setEnabled(ControlName::按钮_开始合成, false);
    m_window.setEnabled(ControlName::编辑框1, false);
}

void Application::onStopClicked() {
    m_window.setTimerPeriod(0);
    m_window.setEnabled(ControlName::按钮_停止, false);
    m_window.setEnabled(ControlName::按钮_开始合成, true);
    m_window.setEnabled(ControlName::编辑框1, true);
}

void Application::showMainWindow() {
    m_window.setVisible(true);
    m_window.restoreAndCentre();
}

void Application::onShowSelected() {
    showMainWindow();
}

void Application::onHideSelected() {
    m_window.setVisible(false);
}

void Application::onExitSelected() {
    endProgram(0);
}

void Application::endProgram(int exitCode) {
    m_atExitSteps.run();
    m_window.destroyWindow();
    m_exitProcess(exitCode);
}

void Application::releaseAtExit() {
    m_synthesis.releaseSessionId();
}

}  // namespace tarvane
