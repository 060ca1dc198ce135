#include "tests/fakes/HeadlessWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/WindowDeclaration.h"

namespace tarvane {
namespace {

using enum ControlName;

// Writes down every event as a word, and runs a test's reaction to it.
class EventLog : public WindowEvents {
public:
    void onWindowCreated() override { note("created"); }
    void onCloseRequested() override { note("close"); }
    void onWindowMoved() override { note("moved"); }
    void onTrayAction(TrayAction action) override {
        note(action == TrayAction::LeftClick         ? "left"
             : action == TrayAction::LeftDoubleClick ? "double"
                                                     : "right");
    }
    void onTimerTick() override { note("tick"); }
    void onItemPicked(ControlName) override { note("picked"); }
    void onClicked(ControlName) override { note("clicked"); }
    void onTrayMenuSelected(TrayMenuItem item) override {
        note(item == TrayMenuItem::Show   ? "menu show"
             : item == TrayMenuItem::Hide ? "menu hide"
                                          : "menu exit");
    }

    // Runs inside every event, after it has been written down.
    std::function<void(const std::string&)> reaction;
    std::vector<std::string> words;

private:
    void note(const std::string& word) {
        words.push_back(word);
        if (reaction) {
            reaction(word);
        }
    }
};

class HeadlessWindowTest : public ::testing::Test {
protected:
    HeadlessWindowTest() { window.setEvents(&events); }

    HeadlessWindow window;
    EventLog events;
};

TEST_F(HeadlessWindowTest, HoldsEveryControlInItsLoadState) {
    for (const ControlDeclaration& declared : mainWindowDeclaration().controls) {
        SCOPED_TRACE(declared.identifier);
        EXPECT_EQ(window.isEnabled(declared.name), declared.name != 按钮_停止);
        EXPECT_EQ(window.isControlVisible(declared.name),
                  declared.name != 选择框1 && declared.name != 时钟1);
        if (declared.kind == ControlKind::DropDownList) {
            EXPECT_EQ(window.optionList(declared.name).itemCount(), 0);
            EXPECT_EQ(window.optionList(declared.name).selectedIndex(), -1);
        }
        if (declared.kind == ControlKind::CheckBox) {
            EXPECT_FALSE(window.isTicked(declared.name));
        }
    }
    EXPECT_EQ(window.editText(), defaultTemplate());
    EXPECT_EQ(window.statusText(), "");
    EXPECT_TRUE(window.statusTexts().empty());
    EXPECT_EQ(window.timerPeriod(), 0);
    EXPECT_FALSE(window.fireTimer());
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.hasTrayIcon());
    EXPECT_TRUE(events.words.empty());
}

TEST_F(HeadlessWindowTest, CreationRaisesCreatedWhileHiddenThenShowsTheWindowCentred) {
    window.setScreenSize(1025, 769);
    bool visibleWhileCreated = true;
    events.reaction = [&](const std::string&) { visibleWhileCreated = window.isVisible(); };

    ASSERT_TRUE(window.createWindow());

    EXPECT_EQ(events.words, std::vector<std::string>{"created"});
    EXPECT_FALSE(visibleWhileCreated);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.placement(), WindowPlacement::Normal);
    // Half pixels are dropped: (1025 - 586) / 2 and (769 - 411) / 2.
    EXPECT_EQ(window.windowLeft(), 219);
    EXPECT_EQ(window.windowTop(), 179);
    EXPECT_FALSE(window.createWindow());
}

TEST_F(HeadlessWindowTest, TimerPeriodFollowsItsFourRules) {
    struct Case {
        const char* name;
        std::vector<int> calls;
        int period;
        std::vector<int> changes;
    };
    const Case cases[] = {
        {"negative is 0, which is no change", {-5}, 0, {}},
        {"same period again changes nothing", {1000, 1000}, 1000, {1000}},
        {"0 disarms, 1000 arms again", {1000, 0, 1000}, 1000, {1000, 0, 1000}},
        {"negative disarms", {1000, -1}, 0, {1000, 0}},
        {"a new period restarts", {1000, 500}, 500, {1000, 500}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        HeadlessWindow timer;
        for (int call : row.calls) {
            timer.setTimerPeriod(call);
        }
        EXPECT_EQ(timer.timerPeriod(), row.period);
        EXPECT_EQ(timer.timerPeriodChanges(), row.changes);
        EXPECT_EQ(timer.timerPeriodCalls(), row.calls);
    }
}

TEST_F(HeadlessWindowTest, SamePeriodKeepsTheCountAndANewStartWaitsAWholePeriod) {
    window.setTimerPeriod(1000);
    window.advanceTimer(600);
    window.setTimerPeriod(1000);
    window.advanceTimer(400);
    EXPECT_EQ(events.words, std::vector<std::string>{"tick"});

    window.setTimerPeriod(0);
    window.advanceTimer(5000);
    EXPECT_FALSE(window.fireTimer());
    EXPECT_EQ(events.words.size(), 1u);

    window.setTimerPeriod(1000);
    window.advanceTimer(999);
    EXPECT_EQ(events.words.size(), 1u);
    window.advanceTimer(1);
    EXPECT_EQ(events.words.size(), 2u);
    window.advanceTimer(3000);
    EXPECT_EQ(events.words.size(), 5u);
}

TEST_F(HeadlessWindowTest, ATickThatDisarmsStopsTheTicksAtOnce) {
    window.setTimerPeriod(1000);
    events.reaction = [&](const std::string&) { window.setTimerPeriod(0); };
    window.advanceTimer(10000);
    EXPECT_EQ(events.words, std::vector<std::string>{"tick"});
}

TEST_F(HeadlessWindowTest, ProgramSelectionRaisesNothingAndAUserPickRaisesAfterTheChange) {
    OptionList& list = window.optionList(组合框_引擎类型);
    list.addItem("a");
    list.addItem("b");
    list.select(1);
    EXPECT_TRUE(events.words.empty());

    int selectionSeen = -1;
    events.reaction = [&](const std::string&) { selectionSeen = list.selectedIndex(); };
    ASSERT_TRUE(window.pickItem(组合框_引擎类型, 0));
    EXPECT_EQ(events.words, std::vector<std::string>{"picked"});
    EXPECT_EQ(selectionSeen, 0);

    EXPECT_FALSE(window.pickItem(组合框_引擎类型, 2));
    EXPECT_FALSE(window.pickItem(组合框_引擎类型, -1));
    EXPECT_FALSE(window.pickItemText(组合框_引擎类型, "c"));
    window.setEnabled(组合框_引擎类型, false);
    EXPECT_FALSE(window.pickItem(组合框_引擎类型, 1));
    EXPECT_EQ(events.words.size(), 1u);
    EXPECT_EQ(list.selectedIndex(), 0);
}

TEST_F(HeadlessWindowTest, OptionListKeepsInsertionOrderAndItsSelectedItem) {
    OptionList& list = window.optionList(组合框_语速);
    list.insertItem(0, "b");
    list.insertItem(0, "a");
    list.addItem("d");
    list.insertItem(2, "c");
    list.insertItem(9, "ignored");
    EXPECT_EQ(window.itemTexts(组合框_语速), (std::vector<Text>{"a", "b", "c", "d"}));
    list.select(1);
    list.insertItem(0, "first");
    EXPECT_EQ(list.itemTextAt(list.selectedIndex()), "b");
    list.select(-1);
    list.select(5);
    EXPECT_EQ(list.itemTextAt(list.selectedIndex()), "b");
    EXPECT_EQ(list.itemTextAt(-1), "");
    EXPECT_EQ(list.itemTextAt(5), "");
    list.removeAllItems();
    EXPECT_EQ(list.itemCount(), 0);
    EXPECT_EQ(list.selectedIndex(), -1);
}

TEST_F(HeadlessWindowTest, ClicksReachOnlyEnabledVisibleControls) {
    EXPECT_FALSE(window.click(按钮_停止));
    EXPECT_TRUE(window.click(按钮_开始合成));
    EXPECT_EQ(events.words, std::vector<std::string>{"clicked"});

    // A check box toggles and raises nothing.
    EXPECT_TRUE(window.click(选择框_半点报时));
    EXPECT_TRUE(window.isTicked(选择框_半点报时));
    EXPECT_TRUE(window.setUserTicked(选择框_半点报时, false));
    EXPECT_FALSE(window.isTicked(选择框_半点报时));
    EXPECT_EQ(events.words.size(), 1u);

    // The hidden save option cannot be reached by the user, only by program.
    EXPECT_FALSE(window.click(选择框1));
    EXPECT_FALSE(window.setUserTicked(选择框1, true));
    EXPECT_FALSE(window.isTicked(选择框1));
    window.setTicked(选择框1, true);
    EXPECT_TRUE(window.isTicked(选择框1));
}

TEST_F(HeadlessWindowTest, EditBoxTakesTypingOnlyWhileEnabled) {
    EXPECT_TRUE(window.setEditText("one\r\ntwo"));
    EXPECT_EQ(window.editText(), "one\r\ntwo");
    window.setEnabled(编辑框1, false);
    EXPECT_FALSE(window.setEditText("three"));
    EXPECT_EQ(window.editText(), "one\r\ntwo");
}

TEST_F(HeadlessWindowTest, RestoreAndCentreDoesNothingWhileHidden) {
    window.createWindow();
    ASSERT_TRUE(window.moveTo(10, 20));
    ASSERT_TRUE(window.minimise());
    window.setVisible(false);

    window.restoreAndCentre();
    EXPECT_EQ(window.placement(), WindowPlacement::Minimised);
    EXPECT_EQ(window.windowLeft(), 10);
    EXPECT_EQ(window.windowTop(), 20);
    EXPECT_FALSE(window.isVisible());

    // Shown again it is still minimised until restored.
    window.setVisible(true);
    EXPECT_EQ(window.placement(), WindowPlacement::Minimised);
    window.restoreAndCentre();
    EXPECT_EQ(window.placement(), WindowPlacement::Normal);
    EXPECT_TRUE(window.isCentred());
    EXPECT_EQ(window.restoreAndCentreCount(), 2);
}

TEST_F(HeadlessWindowTest, MinimisingAndMovingRaiseMovedAfterTheChange) {
    window.createWindow();
    events.words.clear();
    WindowPlacement seen = WindowPlacement::Normal;
    events.reaction = [&](const std::string&) { seen = window.placement(); };

    ASSERT_TRUE(window.minimise());
    EXPECT_EQ(seen, WindowPlacement::Minimised);
    EXPECT_FALSE(window.minimise());
    EXPECT_EQ(events.words, std::vector<std::string>{"moved"});
    // Minimised is still visible.
    EXPECT_TRUE(window.isVisible());
}

TEST_F(HeadlessWindowTest, TrayTipIsKeptWholeAndShownCutAtSixtyTwoBytes) {
    const Text tip(70, 't');
    window.setTrayIcon(tip);
    EXPECT_TRUE(window.hasTrayIcon());
    EXPECT_EQ(window.trayTip(), tip);
    EXPECT_EQ(window.shownTrayTip(), Text(62, 't'));
    window.setTrayIcon("short");
    EXPECT_EQ(window.shownTrayTip(), "short");
    EXPECT_EQ(window.trayIconCount(), 2);
}

TEST_F(HeadlessWindowTest, DoubleClickOnTheTrayIsReportedAsTheTrayDoes) {
    EXPECT_FALSE(window.trayAction(TrayAction::LeftClick));  // no icon yet
    window.setTrayIcon("tip");
    ASSERT_TRUE(window.doubleClickTray());
    EXPECT_EQ(events.words, (std::vector<std::string>{"left", "double", "left"}));
}

TEST_F(HeadlessWindowTest, TrayMenuPickIsReportedAfterThePopUpReturns) {
    window.setTrayIcon("tip");
    events.reaction = [&](const std::string& word) {
        if (word == "right") {
            window.popUpTrayMenu();
            events.words.push_back("popped up");
        }
    };
    window.selectTrayMenuItem(TrayMenuItem::Hide);
    window.trayAction(TrayAction::RightClick);
    EXPECT_EQ(events.words, (std::vector<std::string>{"right", "popped up", "menu hide"}));

    // The scripted pick served one pop-up; the next closes with none.
    events.words.clear();
    window.trayAction(TrayAction::RightClick);
    EXPECT_EQ(events.words, (std::vector<std::string>{"right", "popped up"}));
    EXPECT_EQ(window.trayMenuPopUpCount(), 2);
}

TEST_F(HeadlessWindowTest, PopUpCalledDirectlyReportsItsPickAtTheNextPump) {
    window.selectTrayMenuItem(TrayMenuItem::Exit);
    window.popUpTrayMenu();
    EXPECT_TRUE(events.words.empty());
    window.pumpEvents();
    EXPECT_EQ(events.words, std::vector<std::string>{"menu exit"});
}

TEST_F(HeadlessWindowTest, EventsGoOnWhileTheTrayMenuIsOpen) {
    window.setTimerPeriod(1000);
    window.onNextPump([&] { window.fireTimer(); });
    window.popUpTrayMenu();
    EXPECT_EQ(events.words, std::vector<std::string>{"tick"});
}

TEST_F(HeadlessWindowTest, PumpRunsQueuedActionsOnceInOrder) {
    std::vector<int> ran;
    window.onNextPump([&] { ran.push_back(1); });
    window.onNextPump([&] {
        ran.push_back(2);
        // Queued while pumping: waits for the next pump.
        window.onNextPump([&] { ran.push_back(4); });
    });
    window.onNextPump([&] { ran.push_back(3); });

    window.pumpEvents();
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
    window.pumpEvents();
    window.pumpEvents();
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(window.pumpCount(), 3);
}

TEST_F(HeadlessWindowTest, NestedPumpTakesTheNextQueuedActions) {
    std::vector<std::string> ran;
    window.onNextPump([&] {
        ran.push_back("outer begins");
        window.pumpEvents();
        ran.push_back("outer ends");
    });
    window.onNextPump([&] { ran.push_back("next"); });
    window.pumpEvents();
    EXPECT_EQ(ran, (std::vector<std::string>{"outer begins", "next", "outer ends"}));
    EXPECT_EQ(window.pumpCount(), 2);
}

TEST_F(HeadlessWindowTest, CloseRequestRaisesCloseThenClosesTheWindow) {
    window.setTrayIcon("tip");
    window.createWindow();
    bool visibleWhileClosing = false;
    events.reaction = [&](const std::string&) { visibleWhileClosing = window.isVisible(); };

    ASSERT_TRUE(window.requestClose());
    EXPECT_EQ(events.words.back(), "close");
    EXPECT_TRUE(visibleWhileClosing);
    EXPECT_TRUE(window.isClosed());
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.hasTrayIcon());
    EXPECT_FALSE(window.requestClose());
}

TEST_F(HeadlessWindowTest, DestroyingRaisesNothingAndLeavesNothingToReact) {
    window.setTrayIcon("tip");
    window.createWindow();
    window.setTimerPeriod(1000);
    events.words.clear();

    window.destroyWindow();
    EXPECT_TRUE(window.isDestroyed());
    EXPECT_TRUE(window.isClosed());
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.hasTrayIcon());
    EXPECT_FALSE(window.fireTimer());
    EXPECT_FALSE(window.click(按钮_开始合成));
    EXPECT_FALSE(window.trayAction(TrayAction::LeftClick));
    EXPECT_FALSE(window.requestClose());
    EXPECT_TRUE(events.words.empty());
}

TEST_F(HeadlessWindowTest, RecordsStatusTextsMessageBoxesAndFatalErrors) {
    window.setStatusText("one");
    window.setStatusText("two");
    window.showMessageBox("message", "title");
    window.reportFatalError("fatal");
    EXPECT_EQ(window.statusText(), "two");
    EXPECT_EQ(window.statusTexts(), (std::vector<Text>{"one", "two"}));
    ASSERT_EQ(window.messageBoxes().size(), 1u);
    EXPECT_EQ(window.messageBoxes()[0], (HeadlessWindow::MessageBoxShown{"message", "title"}));
    EXPECT_EQ(window.fatalErrors(), std::vector<Text>{"fatal"});
}

TEST_F(HeadlessWindowTest, AddressingAControlOfTheWrongKindIsATestMistake) {
    EXPECT_THROW((void)window.optionList(按钮_停止), std::logic_error);
    EXPECT_THROW((void)window.isTicked(组合框_语速), std::logic_error);
    EXPECT_THROW(window.click(标签1), std::logic_error);
}

}  // namespace
}  // namespace tarvane
