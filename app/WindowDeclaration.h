#pragma once

// The main window as data: its caption and size, every control with its
// kind, parent, place, size, text and state at load, and the tray menu. A
// toolkit builds the window from it; nothing here draws anything.

#include <optional>

#include "platform/Toolkit.h"
#include "text/Text.h"

namespace tarvane {

// The one window of the program. Controls are listed parents first, in the
// order they are created.
[[nodiscard]] const WindowDeclaration& mainWindowDeclaration();

// The declaration of the named control in mainWindowDeclaration().
[[nodiscard]] const ControlDeclaration& controlDeclaration(ControlName name);

// The default announcement template 编辑框1 holds at load.
[[nodiscard]] const Text& defaultTemplate();

// The notification area shows at most this many bytes of a tray tip.
inline constexpr int kTrayTipShownBytes = 62;

// What the notification area shows of `tip`: its first 62 bytes, less a lead
// byte the cut would leave without its trail byte, so no half character is
// shown.
[[nodiscard]] Text shownTrayTip(const Text& tip);

}  // namespace tarvane
