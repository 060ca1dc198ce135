#pragma once

// The steps that run once when the process ends, whichever way it ends: the
// window closing, the tray menu's exit, or a fatal error.

#include <functional>
#include <vector>

namespace tarvane {

class AtExitSteps {
public:
    AtExitSteps() = default;
    AtExitSteps(const AtExitSteps&) = delete;
    AtExitSteps& operator=(const AtExitSteps&) = delete;

    // Adds a step; the latest added runs first.
    void add(std::function<void()> step);
    // Runs every step once. Later calls do nothing, so each way out can run
    // them without caring whether another already has.
    void run();
    [[nodiscard]] bool hasRun() const { return m_ran; }

private:
    std::vector<std::function<void()>> m_steps;
    bool m_ran = false;
};

}  // namespace tarvane
