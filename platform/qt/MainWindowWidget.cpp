#include "platform/qt/MainWindowWidget.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QMoveEvent>
#include <QShortcut>
#include <QTimer>

namespace tarvane {

MainWindowWidget::MainWindowWidget(int clientWidth, int clientHeight, Hooks hooks)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_hooks(std::move(hooks)) {
    setFixedSize(clientWidth, clientHeight);
    // Esc asks the window to close exactly as the close box does, whichever
    // control has the focus. An open drop-down takes its Esc itself.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void MainWindowWidget::closeEvent(QCloseEvent* event) {
    if (m_hooks.closeRequested) {
        m_hooks.closeRequested();
    }
    event->accept();
}

void MainWindowWidget::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (m_hooks.moved) {
        m_hooks.moved();
    }
}

void MainWindowWidget::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_hooks.moved) {
        // Reported once the state change has been handled in full, so the
        // reaction sees the new placement and may hide the window.
        QTimer::singleShot(0, this, [this] {
            if (m_hooks.moved) {
                m_hooks.moved();
            }
        });
    }
}

}  // namespace tarvane
