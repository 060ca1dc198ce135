#include "tests/fakes/HeadlessWindow.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "app/WindowDeclaration.h"

namespace tarvane {

// An option list held in memory. Selecting through it is the program's
// selection and raises nothing; the user's pick goes through pickItem.
class HeadlessWindow::List : public OptionList {
public:
    // A negative position adds at the end; one past the end is ignored, as
    // a real drop-down list refuses it.
    void insertItem(int position, const Text& item) override {
        if (position < 0) {
            addItem(item);
            return;
        }
        if (position > itemCount()) {
            return;
        }
        m_items.insert(m_items.begin() + position, item);
        // The selected item stays selected when one is put before it.
        if (m_selected >= position) {
            ++m_selected;
        }
    }
    void addItem(const Text& item) override { m_items.push_back(item); }
    void removeAllItems() override {
        m_items.clear();
        m_selected = -1;
    }
    [[nodiscard]] int itemCount() const override { return static_cast<int>(m_items.size()); }
    [[nodiscard]] Text itemTextAt(int index) const override {
        return contains(index) ? m_items[static_cast<std::size_t>(index)] : Text();
    }
    [[nodiscard]] int selectedIndex() const override { return m_selected; }
    void select(int index) override {
        if (contains(index)) {
            m_selected = index;
        }
    }
    [[nodiscard]] bool contains(int index) const { return index >= 0 && index < itemCount(); }
    [[nodiscard]] const std::vector<Text>& items() const { return m_items; }

private:
    std::vector<Text> m_items;
    int m_selected = -1;
};

HeadlessWindow::HeadlessWindow() : HeadlessWindow(mainWindowDeclaration()) {}

HeadlessWindow::HeadlessWindow(const WindowDeclaration& declaration)
    : m_outerWidth(declaration.outerWidth), m_outerHeight(declaration.outerHeight) {
    for (const ControlDeclaration& declared : declaration.controls) {
        Control& control = m_controls[declared.name];
        control.kind = declared.kind;
        control.identifier = declared.identifier;
        control.enabled = declared.enabledAtLoad;
        control.visible = declared.visibleAtLoad;
        control.text = declared.text;
        if (declared.kind == ControlKind::DropDownList) {
            control.list = std::make_unique<List>();
        }
        if (declared.kind == ControlKind::EditBox) {
            m_editText = declared.text;
        }
    }
    // The window is created centred, though not yet shown.
    m_left = centredLeft();
    m_top = centredTop();
}

HeadlessWindow::~HeadlessWindow() = default;

void HeadlessWindow::setScreenSize(int width, int height) {
    m_screenWidth = width;
    m_screenHeight = height;
    if (!m_created) {
        m_left = centredLeft();
        m_top = centredTop();
    }
}

// ---- Toolkit ----

OptionList& HeadlessWindow::optionList(ControlName list) {
    return *controlOfKind(list, ControlKind::DropDownList).list;
}

bool HeadlessWindow::isTicked(ControlName checkBox) const {
    return controlOfKind(checkBox, ControlKind::CheckBox).ticked;
}

void HeadlessWindow::setTicked(ControlName checkBox, bool ticked) {
    controlOfKind(checkBox, ControlKind::CheckBox).ticked = ticked;
}

void HeadlessWindow::setEnabled(ControlName control, bool enabled) {
    this->control(control).enabled = enabled;
}

bool HeadlessWindow::isEnabled(ControlName control) const {
    return this->control(control).enabled;
}

void HeadlessWindow::setStatusText(const Text& text) {
    m_statusText = text;
    m_statusTexts.push_back(text);
}

void HeadlessWindow::setTimerPeriod(int milliseconds) {
    m_periodCalls.push_back(milliseconds);
    const int period = std::max(milliseconds, 0);
    if (period == m_timerPeriod) {
        return;
    }
    m_timerPeriod = period;
    m_timerCount = 0;
    m_periodChanges.push_back(period);
}

void HeadlessWindow::setVisible(bool visible) {
    if (m_closed) {
        return;
    }
    m_visible = visible;
}

void HeadlessWindow::restoreAndCentre() {
    ++m_restoreCount;
    if (!m_visible) {
        return;
    }
    m_placement = WindowPlacement::Normal;
    m_left = centredLeft();
    m_top = centredTop();
}

void HeadlessWindow::setTrayIcon(const Text& tip) {
    ++m_trayIconCount;
    if (m_closed) {
        return;
    }
    m_trayIcon = true;
    m_trayTip = tip;
}

void HeadlessWindow::popUpTrayMenu() {
    ++m_popUpCount;
    // Events go on while the menu is open.
    pumpEvents();
    if (m_scriptedMenuPick) {
        m_pendingMenuPick = std::exchange(m_scriptedMenuPick, std::nullopt);
    }
}

void HeadlessWindow::showMessageBox(const Text& message, const Text& title) {
    m_messageBoxes.push_back({message, title});
}

void HeadlessWindow::pumpEvents() {
    ++m_pumpCount;
    reportPendingMenuPick();
    // Only what was queued before this pump began; anything queued while it
    // runs waits for the next one, so an action that queues itself again
    // cannot keep a pump from returning.
    const std::uint64_t end = m_nextSequence;
    while (!m_queue.empty() && m_queue.front().sequence < end) {
        std::function<void()> action = std::move(m_queue.front().action);
        m_queue.pop_front();
        action();
    }
}

void HeadlessWindow::reportFatalError(const Text& message) {
    m_fatalErrors.push_back(message);
}

// ---- Playing the user ----

bool HeadlessWindow::createWindow() {
    if (m_created) {
        return false;
    }
    m_created = true;
    if (m_events != nullptr) {
        m_events->onWindowCreated();
    }
    reportPendingMenuPick();
    if (m_closed) {
        return true;
    }
    m_visible = true;
    m_placement = WindowPlacement::Normal;
    m_left = centredLeft();
    m_top = centredTop();
    return true;
}

bool HeadlessWindow::pickItem(ControlName list, int index) {
    Control& control = controlOfKind(list, ControlKind::DropDownList);
    if (m_closed || !control.enabled || !control.visible || !control.list->contains(index)) {
        return false;
    }
    control.list->select(index);
    if (m_events != nullptr) {
        m_events->onItemPicked(list);
    }
    reportPendingMenuPick();
    return true;
}

bool HeadlessWindow::pickItemText(ControlName list, const Text& item) {
    const std::vector<Text>& items = controlOfKind(list, ControlKind::DropDownList).list->items();
    const auto found = std::find(items.begin(), items.end(), item);
    if (found == items.end()) {
        return false;
    }
    return pickItem(list, static_cast<int>(found - items.begin()));
}

bool HeadlessWindow::click(ControlName name) {
    Control& target = control(name);
    if (target.kind != ControlKind::PushButton && target.kind != ControlKind::CheckBox) {
        throw std::logic_error(std::string("click on ") + target.identifier +
                               ", which is neither a button nor a check box");
    }
    if (m_closed || !target.enabled || !target.visible) {
        return false;
    }
    if (target.kind == ControlKind::CheckBox) {
        target.ticked = !target.ticked;
        return true;
    }
    if (m_events != nullptr) {
        m_events->onClicked(name);
    }
    reportPendingMenuPick();
    return true;
}

bool HeadlessWindow::setUserTicked(ControlName checkBox, bool ticked) {
    Control& target = controlOfKind(checkBox, ControlKind::CheckBox);
    if (m_closed || !target.enabled || !target.visible) {
        return false;
    }
    target.ticked = ticked;
    return true;
}

bool HeadlessWindow::setEditText(const Text& text) {
    const Control& box = control(ControlName::编辑框1);
    if (m_closed || !box.enabled) {
        return false;
    }
    m_editText = text;
    return true;
}

bool HeadlessWindow::minimise() {
    if (m_closed || !m_visible || m_placement == WindowPlacement::Minimised) {
        return false;
    }
    m_placement = WindowPlacement::Minimised;
    if (m_events != nullptr) {
        m_events->onWindowMoved();
    }
    reportPendingMenuPick();
    return true;
}

bool HeadlessWindow::moveTo(int left, int top) {
    if (m_closed || !m_visible || m_placement != WindowPlacement::Normal) {
        return false;
    }
    if (left == m_left && top == m_top) {
        return false;
    }
    m_left = left;
    m_top = top;
    if (m_events != nullptr) {
        m_events->onWindowMoved();
    }
    reportPendingMenuPick();
    return true;
}

bool HeadlessWindow::requestClose() {
    if (m_closed) {
        return false;
    }
    if (m_events != nullptr) {
        m_events->onCloseRequested();
    }
    // The close is never refused: the window goes, and its tray icon with it.
    m_closed = true;
    m_visible = false;
    m_trayIcon = false;
    m_pendingMenuPick.reset();
    return true;
}

void HeadlessWindow::destroyWindow() {
    m_destroyed = true;
    m_closed = true;
    m_visible = false;
    m_trayIcon = false;
    m_timerPeriod = 0;
    m_pendingMenuPick.reset();
}

bool HeadlessWindow::trayAction(TrayAction action) {
    if (m_closed || !m_trayIcon) {
        return false;
    }
    if (m_events != nullptr) {
        m_events->onTrayAction(action);
    }
    reportPendingMenuPick();
    return true;
}

bool HeadlessWindow::doubleClickTray() {
    if (!trayAction(TrayAction::LeftClick)) {
        return false;
    }
    trayAction(TrayAction::LeftDoubleClick);
    trayAction(TrayAction::LeftClick);
    return true;
}

bool HeadlessWindow::fireTimer() {
    if (m_closed || m_timerPeriod <= 0) {
        return false;
    }
    if (m_events != nullptr) {
        m_events->onTimerTick();
    }
    reportPendingMenuPick();
    return true;
}

void HeadlessWindow::advanceTimer(int milliseconds) {
    int remaining = std::max(milliseconds, 0);
    while (!m_closed && m_timerPeriod > 0 && m_timerCount + remaining >= m_timerPeriod) {
        remaining -= m_timerPeriod - m_timerCount;
        m_timerCount = 0;
        fireTimer();
    }
    if (m_timerPeriod > 0) {
        m_timerCount += remaining;
    }
}

void HeadlessWindow::onNextPump(std::function<void()> action) {
    m_queue.push_back({m_nextSequence++, std::move(action)});
}

// ---- What happened ----

Text HeadlessWindow::shownTrayTip() const {
    return m_trayIcon ? tarvane::shownTrayTip(m_trayTip) : Text();
}

bool HeadlessWindow::isCentred() const {
    return m_left == centredLeft() && m_top == centredTop();
}

bool HeadlessWindow::isControlVisible(ControlName control) const {
    return this->control(control).visible;
}

Text HeadlessWindow::controlText(ControlName control) const {
    return control == ControlName::编辑框1 ? m_editText : this->control(control).text;
}

std::vector<Text> HeadlessWindow::itemTexts(ControlName list) const {
    return controlOfKind(list, ControlKind::DropDownList).list->items();
}

// ---- Helpers ----

HeadlessWindow::Control& HeadlessWindow::control(ControlName name) {
    const auto found = m_controls.find(name);
    if (found == m_controls.end()) {
        throw std::logic_error("control not declared: " + std::to_string(static_cast<int>(name)));
    }
    return found->second;
}

const HeadlessWindow::Control& HeadlessWindow::control(ControlName name) const {
    return const_cast<HeadlessWindow*>(this)->control(name);
}

HeadlessWindow::Control& HeadlessWindow::controlOfKind(ControlName name, ControlKind kind) {
    Control& found = control(name);
    if (found.kind != kind) {
        throw std::logic_error(std::string(found.identifier) + " is not of the kind asked for");
    }
    return found;
}

const HeadlessWindow::Control& HeadlessWindow::controlOfKind(ControlName name,
                                                             ControlKind kind) const {
    return const_cast<HeadlessWindow*>(this)->controlOfKind(name, kind);
}

int HeadlessWindow::centredLeft() const {
    return (m_screenWidth - m_outerWidth) / 2;
}

int HeadlessWindow::centredTop() const {
    return (m_screenHeight - m_outerHeight) / 2;
}

void HeadlessWindow::reportPendingMenuPick() {
    if (!m_pendingMenuPick) {
        return;
    }
    const TrayMenuItem item = *m_pendingMenuPick;
    m_pendingMenuPick.reset();
    if (m_events != nullptr && !m_closed) {
        m_events->onTrayMenuSelected(item);
    }
}

void HeadlessWindow::clearRecords() {
    std::vector<Text>().swap(m_statusTexts);
    std::vector<MessageBoxShown>().swap(m_messageBoxes);
    std::vector<int>().swap(m_periodChanges);
    std::vector<int>().swap(m_periodCalls);
}

}  // namespace tarvane
