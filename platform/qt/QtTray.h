#pragma once

// The tray icon of the main window and its pop-up menu. Turns Qt's
// activation reasons into the TrayActions the program expects, shows the
// menu with its top-right corner just left of and above the pointer, and
// reports the picked item only after the pop-up call has returned.

#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>
#include <span>

#include "platform/Toolkit.h"

namespace tarvane {

class QtTray {
public:
    struct Hooks {
        std::function<void(TrayAction)> action;
        std::function<void(TrayMenuItem)> menuPicked;
    };

    // `menuTitle` and `menuItems` ("显示", "隐藏", "关闭") in UTF-8.
    QtTray(QIcon icon, const QString& menuTitle, std::span<const QString> menuItems, Hooks hooks);
    ~QtTray();
    QtTray(const QtTray&) = delete;
    QtTray& operator=(const QtTray&) = delete;

    // Puts the icon into the notification area with the tip, or replaces the
    // tip of the icon already there. The tip is shown as given.
    void show(const QString& tip);
    // Takes the icon out of the notification area.
    void remove();
    [[nodiscard]] bool isShown() const { return m_shown; }

    // Shows the menu at `pointer` and returns when it has closed. A picked
    // item is reported once control is back in the event loop.
    void popUpMenu(QPoint pointer);

    // Where the menu's top-left corner goes so that its top-right corner sits
    // 5 pixels left of and 5 pixels above the pointer.
    [[nodiscard]] static QPoint menuPlace(QPoint pointer, QSize menuSize);

    // For tests: the Qt objects behind the tray.
    [[nodiscard]] QSystemTrayIcon& icon() { return *m_icon; }
    [[nodiscard]] QMenu& menu() { return *m_menu; }

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);

    Hooks m_hooks;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    bool m_shown = false;
};

}  // namespace tarvane
