#include "platform/qt/QtToolkit.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>
#include <cstdio>

#include "app/WindowDeclaration.h"
#include "platform/qt/MainWindowWidget.h"
#include "platform/qt/PeriodicTimer.h"
#include "platform/qt/QtOptionList.h"
#include "platform/qt/QtTray.h"

namespace tarvane {
namespace {

// A font that has the Chinese glyphs, at the size of the usual 9-point
// dialog font, so the declared control sizes fit their texts.
QFont chineseFont() {
    QFont font;
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Droid Sans Fallback"), QStringLiteral("Sans Serif")});
    font.setPixelSize(12);
    return font;
}

// The client area holds every control parented to the window; the status
// bar along its bottom sets its width and height.
QSize clientSize(const WindowDeclaration& declaration) {
    int width = 0;
    int height = 0;
    for (const ControlDeclaration& control : declaration.controls) {
        if (!control.parent && control.kind != ControlKind::Timer) {
            width = std::max(width, control.left + control.width);
            height = std::max(height, control.top + control.height);
        }
    }
    return {width, height};
}

QLabel* makeLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

}  // namespace

QtToolkit::QtToolkit(const WindowDeclaration& declaration, const CodePage& codePage, QIcon icon)
    : m_codePage(codePage),
      m_icon(std::move(icon)),
      m_caption(toQt(declaration.caption)),
      m_outerWidth(declaration.outerWidth),
      m_outerHeight(declaration.outerHeight) {
    // The window's own closing ends the program; a hidden main window with
    // a message box closing must not.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(chineseFont());
    QApplication::setWindowIcon(m_icon);

    const QSize client = clientSize(declaration);
    m_window = std::make_unique<MainWindowWidget>(client.width(), client.height(),
                                                  MainWindowWidget::Hooks{
                                                      .closeRequested =
                                                          [this] {
                                                              if (m_events != nullptr) {
                                                                  m_events->onCloseRequested();
                                                              }
                                                              // Leaves the event loop once this
                                                              // event has been handled; a cycle
                                                              // running below it finishes first.
                                                              QCoreApplication::quit();
                                                          },
                                                      .moved = [this] { raiseMoved(); },
                                                  });
    m_window->setWindowTitle(m_caption);
    m_window->setWindowIcon(m_icon);
    m_window->move(centredPlace());

    createControls(declaration);

    m_timer = std::make_unique<PeriodicTimer>([this] {
        if (m_events != nullptr) {
            m_events->onTimerTick();
        }
    });

    std::vector<QString> menuItems;
    for (const Text& item : declaration.trayMenuItems) {
        menuItems.push_back(toQt(item));
    }
    m_tray = std::make_unique<QtTray>(m_icon, toQt(declaration.trayMenuTitle), menuItems,
                                      QtTray::Hooks{
                                          .action =
                                              [this](TrayAction action) {
                                                  if (m_events != nullptr) {
                                                      m_events->onTrayAction(action);
                                                  }
                                              },
                                          .menuPicked =
                                              [this](TrayMenuItem item) {
                                                  if (m_events != nullptr) {
                                                      m_events->onTrayMenuSelected(item);
                                                  }
                                              },
                                      });
}

QtToolkit::~QtToolkit() {
    m_events = nullptr;
}

QString QtToolkit::toQt(const Text& text) const {
    return QString::fromStdString(m_codePage.gbkToUtf8(text));
}

Text QtToolkit::fromQt(const QString& text) const {
    return m_codePage.utf8ToGbk(text.toStdString());
}

void QtToolkit::createControls(const WindowDeclaration& declaration) {
    for (const ControlDeclaration& declared : declaration.controls) {
        QWidget* parent = m_window.get();
        if (declared.parent) {
            parent = control(*declared.parent).widget;
        }
        QWidget* created = createControl(declared, parent);
        if (created != nullptr) {
            created->setGeometry(declared.left, declared.top, declared.width, declared.height);
            created->setEnabled(declared.enabledAtLoad);
            created->setVisible(declared.visibleAtLoad);
        }
        m_controls[declared.name] = Control{declared.kind, created};
    }
}

QWidget* QtToolkit::createControl(const ControlDeclaration& declared, QWidget* parent) {
    const QString text = toQt(declared.text);
    switch (declared.kind) {
        case ControlKind::EditBox: {
            auto* edit = new QPlainTextEdit(parent);
            edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            edit->setTabChangesFocus(true);
            // The selection shows only while the box has the focus.
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Inactive, QPalette::Highlight,
                             palette.color(QPalette::Active, QPalette::Base));
            palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                             palette.color(QPalette::Active, QPalette::Text));
            edit->setPalette(palette);
            QString content = text;
            content.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            edit->setPlainText(content);
            m_editBox = edit;
            return edit;
        }
        case ControlKind::GroupBox:
            return new QGroupBox(text, parent);
        case ControlKind::Label:
        case ControlKind::TransparentLabel: {
            QLabel* label = makeLabel(parent, text);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(declared.kind == ControlKind::TransparentLabel);
            return label;
        }
        case ControlKind::DropDownList: {
            auto* box = new QComboBox(parent);
            box->setEditable(false);
            box->setInsertPolicy(QComboBox::NoInsert);
            auto list = std::make_unique<QtOptionList>(*box, m_codePage);
            const ControlName name = declared.name;
            // activated comes from the user's choice only, after the
            // selection has changed; program selections emit nothing.
            QObject::connect(box, &QComboBox::activated, box, [this, name](int) {
                if (m_events != nullptr) {
                    m_events->onItemPicked(name);
                }
            });
            m_lists[name] = std::move(list);
            return box;
        }
        case ControlKind::CheckBox:
            return new QCheckBox(text, parent);
        case ControlKind::PushButton: {
            auto* button = new QPushButton(text, parent);
            button->setAutoDefault(false);
            const ControlName name = declared.name;
            QObject::connect(button, &QPushButton::clicked, button, [this, name] {
                if (m_events != nullptr) {
                    m_events->onClicked(name);
                }
            });
            return button;
        }
        case ControlKind::StatusBar: {
            auto* bar = new QStatusBar(parent);
            bar->setSizeGripEnabled(false);
            m_statusPane = makeLabel(bar, text);
            bar->addWidget(m_statusPane, 1);
            return bar;
        }
        case ControlKind::Timer:
            return nullptr;
    }
    return nullptr;
}

const QtToolkit::Control& QtToolkit::control(ControlName name) const {
    const auto found = m_controls.find(name);
    if (found == m_controls.end()) {
        qFatal("QtToolkit: a control that the window does not declare was addressed");
    }
    return found->second;
}

QCheckBox& QtToolkit::checkBox(ControlName name) const {
    const Control& found = control(name);
    if (found.kind != ControlKind::CheckBox) {
        qFatal("QtToolkit: a check box operation on a control that is no check box");
    }
    return *static_cast<QCheckBox*>(found.widget);
}

void QtToolkit::load(WindowEvents& events) {
    m_events = &events;
    m_events->onWindowCreated();
    if (m_destroyed) {
        return;
    }
    m_window->move(centredPlace());
    m_window->show();
}

int QtToolkit::run() {
    if (m_destroyed) {
        return 0;
    }
    return QApplication::exec();
}

OptionList& QtToolkit::optionList(ControlName list) {
    const auto found = m_lists.find(list);
    if (found == m_lists.end()) {
        qFatal("QtToolkit: an option list operation on a control that is no drop-down list");
    }
    return *found->second;
}

bool QtToolkit::isTicked(ControlName box) const {
    return checkBox(box).isChecked();
}

void QtToolkit::setTicked(ControlName box, bool ticked) {
    checkBox(box).setChecked(ticked);
}

void QtToolkit::setEnabled(ControlName name, bool enabled) {
    if (QWidget* found = control(name).widget) {
        found->setEnabled(enabled);
    }
}

bool QtToolkit::isEnabled(ControlName name) const {
    const QWidget* found = control(name).widget;
    return found == nullptr || found->isEnabled();
}

Text QtToolkit::editText() const {
    if (m_editBox == nullptr) {
        return {};
    }
    QString content = m_editBox->toPlainText();
    content.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return fromQt(content);
}

void QtToolkit::setStatusText(const Text& text) {
    if (m_statusPane != nullptr) {
        m_statusPane->setText(toQt(text));
    }
}

void QtToolkit::setTimerPeriod(int milliseconds) {
    m_timer->setPeriod(milliseconds);
}

int QtToolkit::timerPeriod() const {
    return m_timer->period();
}

void QtToolkit::setVisible(bool visible) {
    if (m_destroyed) {
        return;
    }
    m_window->setVisible(visible);
}

bool QtToolkit::isVisible() const {
    return !m_destroyed && m_window->isVisible();
}

WindowPlacement QtToolkit::placement() const {
    const Qt::WindowStates state = m_window->windowState();
    if (state & Qt::WindowMinimized) {
        return WindowPlacement::Minimised;
    }
    if (state & Qt::WindowMaximized) {
        return WindowPlacement::Maximised;
    }
    return WindowPlacement::Normal;
}

QPoint QtToolkit::centredPlace() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->geometry() : QRect(0, 0, 0, 0);
    // Whole pixels, any half pixel dropped.
    return {area.x() + (area.width() - m_outerWidth) / 2,
            area.y() + (area.height() - m_outerHeight) / 2};
}

void QtToolkit::restoreAndCentre() {
    if (!isVisible()) {
        return;
    }
    const Qt::WindowStates state = m_window->windowState();
    if (state & (Qt::WindowMinimized | Qt::WindowMaximized)) {
        m_window->setWindowState(state & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    }
    const QPoint centre = centredPlace();
    if (m_window->pos() != centre) {
        m_window->move(centre);
    }
    m_window->raise();
    m_window->activateWindow();
}

void QtToolkit::setTrayIcon(const Text& tip) {
    if (m_destroyed) {
        return;
    }
    m_tray->show(toQt(shownTrayTip(tip)));
}

void QtToolkit::popUpTrayMenu() {
    if (m_destroyed) {
        return;
    }
    // The window comes to the front so that a click elsewhere closes the
    // menu; a hidden window stays hidden.
    if (m_window->isVisible()) {
        m_window->activateWindow();
    }
    m_tray->popUpMenu(QCursor::pos());
}

void QtToolkit::showMessageBox(const Text& message, const Text& title) {
    // No owner window, modal for the whole program.
    QMessageBox box(QMessageBox::Warning, toQt(title), toQt(message), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowIcon(m_icon);
    box.exec();
}

void QtToolkit::pumpEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtToolkit::reportFatalError(const Text& message) {
    const QString text = toQt(message);
    // Also on the terminal, for a machine where nobody watches the screen.
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    QMessageBox box(QMessageBox::Critical, m_caption, text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowIcon(m_icon);
    box.exec();
}

void QtToolkit::destroyWindow() {
    if (m_destroyed) {
        return;
    }
    m_destroyed = true;
    m_events = nullptr;
    m_timer->setPeriod(0);
    m_tray->remove();
    m_window->hide();
    // Push the removal out to the display before the process goes.
    QGuiApplication::sync();
}

QWidget& QtToolkit::window() {
    return *m_window;
}

QWidget* QtToolkit::widget(ControlName name) const {
    return control(name).widget;
}

QString QtToolkit::statusPaneText() const {
    return m_statusPane != nullptr ? m_statusPane->text() : QString();
}

void QtToolkit::raiseMoved() {
    if (m_events != nullptr && !m_destroyed) {
        m_events->onWindowMoved();
    }
}

}  // namespace tarvane
