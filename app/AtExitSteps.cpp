#include "app/AtExitSteps.h"

#include <utility>

namespace tarvane {

void AtExitSteps::add(std::function<void()> step) {
    m_steps.push_back(std::move(step));
}

void AtExitSteps::run() {
    if (m_ran) {
        return;
    }
    m_ran = true;
    for (auto step = m_steps.rbegin(); step != m_steps.rend(); ++step) {
        (*step)();
    }
}

}  // namespace tarvane
