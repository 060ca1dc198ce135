#pragma once

// The program's life around the main window: what happens once the window
// exists, arming and disarming the announcements with Start and Stop, the
// window's life in the tray, and the two ways out. The window closing
// shuts the speech library down; the tray menu's "关闭" ends the process at
// once and leaves the library alone.
//
// It speaks only to the Toolkit interface, so the whole of it runs headless.

#include <functional>

#include "app/AtExitSteps.h"
#include "platform/Toolkit.h"

namespace tarvane {

class Scheduler;
class SpeechSdk;
class SynthesisRun;
class SynthesisSettings;

class Application : public WindowEvents {
public:
    // Ends the process with the code. The program's own never returns; a
    // test's may, and then nothing more happens on that path.
    using ProcessExit = std::function<void(int exitCode)>;

    // Registers releaseAtExit as the at-exit step. Every reference must
    // outlive this object.
    Application(Toolkit& window, SpeechSdk& sdk, SynthesisSettings& settings,
                SynthesisRun& synthesis, Scheduler& scheduler, ProcessExit exitProcess);
    // The program has ended without endProgram: runs the at-exit steps.
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // ---- The window's events ----
    // The tray icon with "托盘提示！", the option lists and their defaults,
    // then the speech library's initialisation, reported in the status bar.
    void onWindowCreated() override;
    // Shuts the speech library down; the close is never refused.
    void onCloseRequested() override;
    // A minimised window is hidden, taking its task-bar button with it.
    void onWindowMoved() override;
    // Right click pops up the tray menu; left click hides a shown window and
    // shows a hidden one; a double-click does nothing more than its clicks.
    void onTrayAction(TrayAction action) override;
    void onTimerTick() override;
    // A new engine refills the voices, a new audio encoding the compression
    // levels; other lists have no reaction.
    void onItemPicked(ControlName list) override;
    void onClicked(ControlName button) override;
    void onTrayMenuSelected(TrayMenuItem item) override;

    // ---- The operations behind them ----
    // Arms the one-second timer when either switch is ticked; otherwise
    // refuses with a message box and changes nothing.
    void onStartClicked();
    // Disarms the timer. A cycle under way runs to its end.
    void onStopClicked();
    // Shows the window, restored and centred on the screen.
    void showMainWindow();
    void onShowSelected();
    void onHideSelected();
    void onExitSelected();
    // Runs the at-exit steps, destroys the window without a close request
    // (so the speech library is neither ended nor finalised) and ends the
    // process with the code.
    void endProgram(int exitCode);
    // The at-exit step: lets go of the held session id's memory, without any
    // library call.
    void releaseAtExit();

    [[nodiscard]] AtExitSteps& atExitSteps() { return m_atExitSteps; }

private:
    Toolkit& m_window;
    SpeechSdk& m_sdk;
    SynthesisSettings& m_settings;
    SynthesisRun& m_synthesis;
    Scheduler& m_scheduler;
    ProcessExit m_exitProcess;
    AtExitSteps m_atExitSteps;
};

}  // namespace tarvane
