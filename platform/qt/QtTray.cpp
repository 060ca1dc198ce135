#include "platform/qt/QtTray.h"

#include <QAction>
#include <QTimer>

#include <array>

namespace tarvane {
namespace {

// The menu's items in the order they are declared.
constexpr std::array kMenuItems = {TrayMenuItem::Show, TrayMenuItem::Hide, TrayMenuItem::Exit};

}  // namespace

QtTray::QtTray(QIcon icon, const QString& menuTitle, std::span<const QString> menuItems,
               Hooks hooks)
    : m_hooks(std::move(hooks)),
      m_menu(std::make_unique<QMenu>(menuTitle)),
      m_icon(std::make_unique<QSystemTrayIcon>(icon)) {
    for (std::size_t i = 0; i < menuItems.size() && i < kMenuItems.size(); ++i) {
        QAction* action = m_menu->addAction(menuItems[i]);
        action->setData(static_cast<int>(kMenuItems[i]));
    }
    QObject::connect(m_icon.get(), &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) { onActivated(reason); });
}

QtTray::~QtTray() {
    remove();
}

void QtTray::show(const QString& tip) {
    m_icon->setToolTip(tip);
    m_icon->show();
    m_shown = true;
}

void QtTray::remove() {
    m_icon->hide();
    m_shown = false;
}

void QtTray::onActivated(QSystemTrayIcon::ActivationReason reason) {
    if (!m_hooks.action) {
        return;
    }
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            m_hooks.action(TrayAction::LeftClick);
            break;
        case QSystemTrayIcon::DoubleClick:
            // The second press of a double-click comes to us as the
            // double-click alone, yet it is a left click as well: report both
            // so a double-click reads LeftClick, LeftDoubleClick, LeftClick.
            m_hooks.action(TrayAction::LeftDoubleClick);
            m_hooks.action(TrayAction::LeftClick);
            break;
        case QSystemTrayIcon::Context:
            m_hooks.action(TrayAction::RightClick);
            break;
        case QSystemTrayIcon::MiddleClick:
        case QSystemTrayIcon::Unknown:
            break;
    }
}

QPoint QtTray::menuPlace(QPoint pointer, QSize menuSize) {
    return {pointer.x() - 5 - menuSize.width(), pointer.y() - 5};
}

void QtTray::popUpMenu(QPoint pointer) {
    QAction* picked = m_menu->exec(menuPlace(pointer, m_menu->sizeHint()));
    if (picked == nullptr || !m_hooks.menuPicked) {
        return;
    }
    const auto item = static_cast<TrayMenuItem>(picked->data().toInt());
    QTimer::singleShot(0, m_menu.get(), [this, item] { m_hooks.menuPicked(item); });
}

}  // namespace tarvane
