#pragma once

// The top-level widget of the main window: a fixed-size window with a close
// box and a minimise box, no maximise box and no menu bar. It only passes
// the window events on; the toolkit decides what they mean.

#include <QWidget>

#include <functional>

namespace tarvane {

class MainWindowWidget : public QWidget {
public:
    struct Hooks {
        // Close box, system menu, Alt+F4 or Esc. The close always goes ahead.
        std::function<void()> closeRequested;
        // The position changed, or the window was minimised or restored.
        std::function<void()> moved;
    };

    // `clientWidth` × `clientHeight` is the fixed size of the client area.
    MainWindowWidget(int clientWidth, int clientHeight, Hooks hooks);

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Hooks m_hooks;
};

}  // namespace tarvane
