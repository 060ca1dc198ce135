#pragma once

// The window toolkit as the program's logic sees it: the main window's
// controls addressed by name, its status bar, timer, tray icon, message box
// and event pump. The Qt adapter implements it for real; tests use a
// headless in-memory window. All texts are code page 936 bytes.

#include <optional>
#include <span>

#include "platform/ControlName.h"
#include "text/Text.h"

namespace tarvane {

enum class ControlKind {
    EditBox,
    GroupBox,
    Label,
    TransparentLabel,
    DropDownList,
    CheckBox,
    PushButton,
    StatusBar,
    Timer,
};

// One control as the window declares it: where it sits, what it shows and
// how it starts. Places are relative to the parent (the window's client area
// when there is no parent).
struct ControlDeclaration {
    ControlName name;
    const char* identifier;  // the control's name in UTF-8, for diagnostics
    ControlKind kind;
    std::optional<ControlName> parent;
    int left;
    int top;
    int width;
    int height;
    Text text;
    bool enabledAtLoad;
    bool visibleAtLoad;
};

struct WindowDeclaration {
    Text caption;
    int outerWidth;
    int outerHeight;
    std::span<const ControlDeclaration> controls;
    Text trayMenuTitle;
    std::span<const Text> trayMenuItems;
};

enum class TrayAction { LeftClick, LeftDoubleClick, RightClick };
enum class WindowPlacement { Normal, Minimised, Maximised };
enum class TrayMenuItem { Show, Hide, Exit };

// A drop-down list whose text cannot be typed into. Items keep the order in
// which they were put in; the selection index is 0-based, -1 for none. A
// selection made through this interface raises no item-picked event.
class OptionList {
public:
    virtual ~OptionList() = default;
    virtual void insertItem(int position, const Text& item) = 0;
    virtual void addItem(const Text& item) = 0;
    // Removes every item; the selection becomes -1.
    virtual void removeAllItems() = 0;
    [[nodiscard]] virtual int itemCount() const = 0;
    // The item's text; the empty text outside the list (including -1).
    [[nodiscard]] virtual Text itemTextAt(int index) const = 0;
    [[nodiscard]] virtual int selectedIndex() const = 0;
    // Selects the item at `index`; an index outside the list changes nothing.
    virtual void select(int index) = 0;
};

// The reactions a window raises. The program's lifecycle implements them;
// a toolkit calls them on the window's thread, one at a time.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    virtual void onWindowCreated() = 0;
    virtual void onCloseRequested() = 0;
    virtual void onWindowMoved() = 0;
    virtual void onTrayAction(TrayAction action) = 0;
    virtual void onTimerTick() = 0;
    // A user's pick in a drop-down list, after the selection has changed.
    virtual void onItemPicked(ControlName list) = 0;
    virtual void onClicked(ControlName button) = 0;
    virtual void onTrayMenuSelected(TrayMenuItem item) = 0;
};

class Toolkit {
public:
    virtual ~Toolkit() = default;

    [[nodiscard]] virtual OptionList& optionList(ControlName list) = 0;

    [[nodiscard]] virtual bool isTicked(ControlName checkBox) const = 0;
    // Ticks or unticks without raising anything.
    virtual void setTicked(ControlName checkBox, bool ticked) = 0;

    virtual void setEnabled(ControlName control, bool enabled) = 0;
    [[nodiscard]] virtual bool isEnabled(ControlName control) const = 0;

    // The whole content of 编辑框1, line breaks as CR LF.
    [[nodiscard]] virtual Text editText() const = 0;
    virtual void setStatusText(const Text& text) = 0;

    // Negative is 0; the same period again leaves a running count alone;
    // otherwise the count restarts now, and 0 disarms.
    virtual void setTimerPeriod(int milliseconds) = 0;

    virtual void setVisible(bool visible) = 0;
    // True while shown, also when minimised.
    [[nodiscard]] virtual bool isVisible() const = 0;
    [[nodiscard]] virtual WindowPlacement placement() const = 0;
    // Restores a minimised or maximised window and centres it on the primary
    // screen; does nothing while hidden.
    virtual void restoreAndCentre() = 0;

    // Shows the application icon in the notification area with the tip,
    // of which at most the first 62 bytes are shown.
    virtual void setTrayIcon(const Text& tip) = 0;
    // Shows the tray menu at the pointer and returns when it closed; a picked
    // item is reported after the return.
    virtual void popUpTrayMenu() = 0;
    // A modal box with a warning icon and one OK button.
    virtual void showMessageBox(const Text& message, const Text& title) = 0;

    // Dispatches every pending window event, then returns.
    virtual void pumpEvents() = 0;

    // Tells the user that the program cannot go on; the caller then ends it.
    virtual void reportFatalError(const Text& message) = 0;

    // Destroys the window, its timer and its tray icon at once, without
    // raising the close request; nothing of the window reacts afterwards.
    virtual void destroyWindow() = 0;
};

}  // namespace tarvane
