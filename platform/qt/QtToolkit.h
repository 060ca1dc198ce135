#pragma once

// The main window on Qt Widgets, built from a window declaration. All texts
// cross this boundary as code page 936 bytes and are converted through the
// code-page adapter; Qt sees UTF-8.
//
//   QApplication application(argc, argv);
//   QtToolkit window(mainWindowDeclaration(), codePage, icon);
//   Application lifecycle(window, ...);
//   window.load(lifecycle);   // created event, then shown centred
//   return window.run();

#include <QIcon>
#include <QPoint>
#include <QString>

#include <map>
#include <memory>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Toolkit.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QWidget;

namespace tarvane {

class MainWindowWidget;
class PeriodicTimer;
class QtOptionList;
class QtTray;

class QtToolkit : public Toolkit {
public:
    // Creates the window, centred on the primary screen but not shown, and
    // every control in its load state. A QApplication must exist; the
    // declaration and the code page must outlive this object.
    QtToolkit(const WindowDeclaration& declaration, const CodePage& codePage, QIcon icon);
    ~QtToolkit() override;
    QtToolkit(const QtToolkit&) = delete;
    QtToolkit& operator=(const QtToolkit&) = delete;

    // Connects `events`, raises the created event and, when it has returned,
    // shows the window centred. `events` must outlive this object.
    void load(WindowEvents& events);
    // Handles window events until the window has closed after a close
    // request; gives the event loop's exit code.
    int run();

    // ---- Toolkit ----
    [[nodiscard]] OptionList& optionList(ControlName list) override;
    [[nodiscard]] bool isTicked(ControlName checkBox) const override;
    void setTicked(ControlName checkBox, bool ticked) override;
    void setEnabled(ControlName control, bool enabled) override;
    [[nodiscard]] bool isEnabled(ControlName control) const override;
    [[nodiscard]] Text editText() const override;
    void setStatusText(const Text& text) override;
    void setTimerPeriod(int milliseconds) override;
    void setVisible(bool visible) override;
    [[nodiscard]] bool isVisible() const override;
    [[nodiscard]] WindowPlacement placement() const override;
    void restoreAndCentre() override;
    void setTrayIcon(const Text& tip) override;
    void popUpTrayMenu() override;
    void showMessageBox(const Text& message, const Text& title) override;
    void pumpEvents() override;
    void reportFatalError(const Text& message) override;
    void destroyWindow() override;

    // ---- For tests ----
    [[nodiscard]] QWidget& window();
    // The widget of a control; null for the timer.
    [[nodiscard]] QWidget* widget(ControlName control) const;
    [[nodiscard]] QtTray& tray() { return *m_tray; }
    [[nodiscard]] int timerPeriod() const;
    // Where the window's frame goes to be centred on the primary screen.
    [[nodiscard]] QPoint centredPlace() const;
    // The status pane's text as shown.
    [[nodiscard]] QString statusPaneText() const;

private:
    struct Control {
        ControlKind kind;
        QWidget* widget = nullptr;  // owned by the window
    };

    [[nodiscard]] QString toQt(const Text& text) const;
    [[nodiscard]] Text fromQt(const QString& text) const;
    void createControls(const WindowDeclaration& declaration);
    QWidget* createControl(const ControlDeclaration& control, QWidget* parent);
    [[nodiscard]] const Control& control(ControlName name) const;
    [[nodiscard]] QCheckBox& checkBox(ControlName name) const;
    void raiseMoved();

    const CodePage& m_codePage;
    QIcon m_icon;
    QString m_caption;
    int m_outerWidth;
    int m_outerHeight;
    WindowEvents* m_events = nullptr;
    bool m_destroyed = false;

    std::unique_ptr<MainWindowWidget> m_window;
    std::map<ControlName, Control> m_controls;
    std::map<ControlName, std::unique_ptr<QtOptionList>> m_lists;
    QPlainTextEdit* m_editBox = nullptr;
    QLabel* m_statusPane = nullptr;
    std::unique_ptr<PeriodicTimer> m_timer;
    std::unique_ptr<QtTray> m_tray;
};

}  // namespace tarvane
