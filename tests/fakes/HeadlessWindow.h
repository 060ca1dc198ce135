#pragma once

// A main window with no screen: every control held in memory, built from the
// window declaration, so the logic of every layer can be driven and watched
// by tests.
//
// Two sides:
//  - The program's side is the Toolkit interface. Program operations change
//    state and record what happened; they never raise a WindowEvents call
//    (a program selection in particular raises no item-picked event).
//  - The user's side is the methods under "Playing the user". They change
//    state the way a user's action would and then call the connected
//    WindowEvents, after the change has taken effect.
//
// All texts are code page 936 bytes. Addressing a control of the wrong kind
// (optionList on a button, isTicked on a list, ...) is a mistake in the test
// and throws std::logic_error naming the control.
//
//   HeadlessWindow window;          // controls as at load, window not shown
//   window.setEvents(&lifecycle);
//   window.createWindow();          // onWindowCreated, then shown centred
//   window.click(ControlName::按钮_开始合成);
//   window.fireTimer();             // onTimerTick, only while armed
//   EXPECT_EQ(window.statusTexts().back(), ...);

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Toolkit.h"
#include "text/Text.h"

namespace tarvane {

class HeadlessWindow : public Toolkit {
public:
    struct MessageBoxShown {
        Text message;
        Text title;
        bool operator==(const MessageBoxShown&) const = default;
    };

    // The main window as declared, every control in its load state: lists
    // empty with selection -1, no box ticked, 按钮_停止 disabled, 选择框1
    // hidden, the status pane empty, the timer at period 0, 编辑框1 holding
    // the default template, the window not yet shown.
    HeadlessWindow();
    explicit HeadlessWindow(const WindowDeclaration& declaration);
    ~HeadlessWindow() override;
    HeadlessWindow(const HeadlessWindow&) = delete;
    HeadlessWindow& operator=(const HeadlessWindow&) = delete;

    // Connects the receiver of the window's events; null raises nothing.
    void setEvents(WindowEvents* events) { m_events = events; }

    // The primary screen the window is centred on; 1024 × 768 unless set.
    void setScreenSize(int width, int height);

    // ---- Toolkit (the program's side) ----
    [[nodiscard]] OptionList& optionList(ControlName list) override;
    [[nodiscard]] bool isTicked(ControlName checkBox) const override;
    void setTicked(ControlName checkBox, bool ticked) override;
    void setEnabled(ControlName control, bool enabled) override;
    [[nodiscard]] bool isEnabled(ControlName control) const override;
    [[nodiscard]] Text editText() const override { return m_editText; }
    // Replaces the pane's text and appends it to statusTexts().
    void setStatusText(const Text& text) override;
    // Negative is 0; the current period again changes nothing; any other
    // period restarts the count (recorded in timerPeriodChanges()).
    void setTimerPeriod(int milliseconds) override;
    void setVisible(bool visible) override;
    [[nodiscard]] bool isVisible() const override { return m_visible; }
    [[nodiscard]] WindowPlacement placement() const override { return m_placement; }
    // Counted; while hidden nothing else happens, otherwise the placement
    // becomes Normal and the window moves to the centre of the screen.
    void restoreAndCentre() override;
    void setTrayIcon(const Text& tip) override;
    // Counted. Runs pumpEvents() once, as the menu's own loop handles pending
    // events while it is open. The item scripted with selectTrayMenuItem, if
    // any, is reported through onTrayMenuSelected after this call has
    // returned: when the user action that led here ends, or at the next
    // pumpEvents(), whichever comes first.
    void popUpTrayMenu() override;
    void showMessageBox(const Text& message, const Text& title) override;
    // Counted. Runs the actions queued with onNextPump before this pump
    // began, oldest first, each once (a nested pump run by one of them takes
    // the next ones), and reports a pending tray menu pick.
    void pumpEvents() override;
    void reportFatalError(const Text& message) override;
    // No close request: the window is gone (isDestroyed(), isClosed()),
    // hidden, its timer disarmed and its tray icon removed.
    void destroyWindow() override;

    // ---- Playing the user ----
    // Each returns whether the action took place; a disabled or hidden
    // control, or an index outside the list, leaves everything as it was.

    // Raises onWindowCreated, then shows the window, Normal and centred.
    // Only the first call does anything.
    bool createWindow();
    // Selects the item, then raises onItemPicked(list).
    bool pickItem(ControlName list, int index);
    // pickItem with the first item whose text equals `item` byte for byte.
    bool pickItemText(ControlName list, const Text& item);
    // A button raises onClicked; a check box toggles and raises nothing.
    bool click(ControlName control);
    // Ticks or unticks a check box as the user's click would; raises nothing.
    bool setUserTicked(ControlName checkBox, bool ticked);
    // Replaces the content of 编辑框1, as typing would (line breaks CR LF).
    bool setEditText(const Text& text);
    // While visible and not minimised: placement Minimised, onWindowMoved.
    bool minimise();
    // Drags the window to a new place; onWindowMoved when it changed.
    bool moveTo(int left, int top);
    // Close box, Alt+F4 or Esc: onCloseRequested, then the window closes
    // (hidden, tray icon removed, isClosed()). Nothing once closed.
    bool requestClose();
    // The tray icon reports the action through onTrayAction; nothing while
    // there is no tray icon.
    bool trayAction(TrayAction action);
    // A left double-click as the tray reports it: LeftClick, LeftDoubleClick,
    // LeftClick.
    bool doubleClickTray();
    // One tick of 时钟1: onTimerTick, only while the period is above 0.
    bool fireTimer();
    // Lets `milliseconds` pass on the timer's count and raises a tick each
    // time the count reaches the period; a period change inside a tick
    // restarts the count from that moment.
    void advanceTimer(int milliseconds);
    // What the next popUpTrayMenu picks; without it the menu closes with no
    // pick. Used by one pop-up only.
    void selectTrayMenuItem(TrayMenuItem item) { m_scriptedMenuPick = item; }
    // Queues an action for a later pumpEvents(), to play the user while the
    // program handles pending events (in the middle of a cycle, say).
    void onNextPump(std::function<void()> action);

    // ---- What happened ----
    [[nodiscard]] Text statusText() const { return m_statusText; }
    // Every setStatusText, oldest first.
    [[nodiscard]] const std::vector<Text>& statusTexts() const { return m_statusTexts; }
    [[nodiscard]] const std::vector<MessageBoxShown>& messageBoxes() const {
        return m_messageBoxes;
    }
    [[nodiscard]] const std::vector<Text>& fatalErrors() const { return m_fatalErrors; }

    [[nodiscard]] int timerPeriod() const { return m_timerPeriod; }
    // Each period that took effect (restart or disarm), oldest first; a call
    // with the current period adds nothing.
    [[nodiscard]] const std::vector<int>& timerPeriodChanges() const { return m_periodChanges; }
    // Every argument given to setTimerPeriod, as given.
    [[nodiscard]] const std::vector<int>& timerPeriodCalls() const { return m_periodCalls; }

    [[nodiscard]] bool hasTrayIcon() const { return m_trayIcon; }
    // The tip as last set, whole.
    [[nodiscard]] Text trayTip() const { return m_trayTip; }
    // What the notification area shows of it: at most the first 62 bytes.
    [[nodiscard]] Text shownTrayTip() const;
    [[nodiscard]] int trayIconCount() const { return m_trayIconCount; }
    [[nodiscard]] int trayMenuPopUpCount() const { return m_popUpCount; }

    [[nodiscard]] int restoreAndCentreCount() const { return m_restoreCount; }
    [[nodiscard]] int windowLeft() const { return m_left; }
    [[nodiscard]] int windowTop() const { return m_top; }
    // Whether the window sits where creation and restoreAndCentre put it.
    [[nodiscard]] bool isCentred() const;
    [[nodiscard]] bool isCreated() const { return m_created; }
    [[nodiscard]] bool isClosed() const { return m_closed; }
    [[nodiscard]] bool isDestroyed() const { return m_destroyed; }

    [[nodiscard]] int pumpCount() const { return m_pumpCount; }
    // Forgets the recorded status texts, message boxes and timer calls, so a
    // long run keeps a bounded record.
    void clearRecords();

    // The declared state of any control.
    [[nodiscard]] bool isControlVisible(ControlName control) const;
    [[nodiscard]] Text controlText(ControlName control) const;
    // The items of a list, in order.
    [[nodiscard]] std::vector<Text> itemTexts(ControlName list) const;

private:
    class List;
    struct Control {
        ControlKind kind;
        const char* identifier = "";
        bool enabled = true;
        bool visible = true;
        bool ticked = false;
        Text text;
        std::unique_ptr<List> list;
    };
    struct QueuedAction {
        std::uint64_t sequence;
        std::function<void()> action;
    };

    Control& control(ControlName name);
    const Control& control(ControlName name) const;
    Control& controlOfKind(ControlName name, ControlKind kind);
    const Control& controlOfKind(ControlName name, ControlKind kind) const;
    int centredLeft() const;
    int centredTop() const;
    void reportPendingMenuPick();

    WindowEvents* m_events = nullptr;
    int m_outerWidth = 0;
    int m_outerHeight = 0;
    int m_screenWidth = 1024;
    int m_screenHeight = 768;
    std::map<ControlName, Control> m_controls;

    Text m_editText;
    Text m_statusText;
    std::vector<Text> m_statusTexts;
    std::vector<MessageBoxShown> m_messageBoxes;
    std::vector<Text> m_fatalErrors;

    int m_timerPeriod = 0;
    int m_timerCount = 0;  // milliseconds since the count last (re)started
    std::vector<int> m_periodChanges;
    std::vector<int> m_periodCalls;

    bool m_trayIcon = false;
    Text m_trayTip;
    int m_trayIconCount = 0;
    int m_popUpCount = 0;
    std::optional<TrayMenuItem> m_scriptedMenuPick;
    std::optional<TrayMenuItem> m_pendingMenuPick;

    bool m_created = false;
    bool m_closed = false;
    bool m_destroyed = false;
    bool m_visible = false;
    WindowPlacement m_placement = WindowPlacement::Normal;
    int m_left = 0;
    int m_top = 0;
    int m_restoreCount = 0;

    int m_pumpCount = 0;
    std::uint64_t m_nextSequence = 0;
    std::deque<QueuedAction> m_queue;
};

}  // namespace tarvane
