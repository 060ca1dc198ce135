// A minimal notification area for a bare X server: owns the system tray
// selection of screen 0 and docks every icon that asks, so a program under
// test finds a tray as on a desktop. Prints "READY" once it owns the
// selection and then serves until it is killed or the display goes.
//
// Usage: tarvane_tray_host

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <memory>
#include <string>

namespace tarvane {
namespace {

constexpr long kRequestDock = 0;
constexpr long kEmbeddedNotify = 0;
constexpr int kIconSize = 24;
constexpr int kSlots = 8;

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

// An icon may be destroyed between its request and our answer; such races
// are normal for a tray and must not end it.
int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

class TrayHost {
public:
    explicit TrayHost(Display* display)
        : m_display(display),
          m_root(DefaultRootWindow(display)),
          m_selection(atom("_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display)))),
          m_opcode(atom("_NET_SYSTEM_TRAY_OPCODE")),
          m_xembed(atom("_XEMBED")) {}

    // Creates the strip in the top-right corner and takes the selection;
    // false when another tray already holds it.
    [[nodiscard]] bool claim() {
        const int screenWidth = DisplayWidth(m_display, DefaultScreen(m_display));
        m_strip = XCreateSimpleWindow(m_display, m_root, screenWidth - kSlots * kIconSize, 0,
                                      kSlots * kIconSize, kIconSize, 0, 0, 0x808080);
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        XChangeWindowAttributes(m_display, m_strip, CWOverrideRedirect, &attributes);
        XStoreName(m_display, m_strip, "tray host");
        const long horizontal = 0;
        XChangeProperty(m_display, m_strip, atom("_NET_SYSTEM_TRAY_ORIENTATION"), XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&horizontal), 1);
        XMapWindow(m_display, m_strip);

        if (XGetSelectionOwner(m_display, m_selection) != None) {
            return false;
        }
        XSetSelectionOwner(m_display, m_selection, m_strip, CurrentTime);
        if (XGetSelectionOwner(m_display, m_selection) != m_strip) {
            return false;
        }
        // Clients that started before the tray learn of it from this.
        XEvent manager{};
        manager.xclient.type = ClientMessage;
        manager.xclient.window = m_root;
        manager.xclient.message_type = atom("MANAGER");
        manager.xclient.format = 32;
        manager.xclient.data.l[0] = CurrentTime;
        manager.xclient.data.l[1] = static_cast<long>(m_selection);
        manager.xclient.data.l[2] = static_cast<long>(m_strip);
        XSendEvent(m_display, m_root, False, StructureNotifyMask, &manager);
        XSync(m_display, False);
        return true;
    }

    // Serves dock requests until the connection to the display breaks.
    void serve() {
        for (;;) {
            XEvent event;
            XNextEvent(m_display, &event);
            if (event.type == ClientMessage && event.xclient.message_type == m_opcode &&
                event.xclient.data.l[1] == kRequestDock) {
                dock(static_cast<Window>(event.xclient.data.l[2]));
            } else if (event.type == SelectionClear) {
                return;
            }
        }
    }

private:
    Atom atom(const std::string& name) const { return XInternAtom(m_display, name.c_str(), False); }

    void dock(Window icon) {
        const int slot = m_docked % kSlots;
        ++m_docked;
        XReparentWindow(m_display, icon, m_strip, slot * kIconSize, 0);
        XResizeWindow(m_display, icon, kIconSize, kIconSize);
        XMapRaised(m_display, icon);

        XEvent notify{};
        notify.xclient.type = ClientMessage;
        notify.xclient.window = icon;
        notify.xclient.message_type = m_xembed;
        notify.xclient.format = 32;
        notify.xclient.data.l[0] = CurrentTime;
        notify.xclient.data.l[1] = kEmbeddedNotify;
        notify.xclient.data.l[3] = static_cast<long>(m_strip);
        XSendEvent(m_display, icon, False, NoEventMask, &notify);
        XFlush(m_display);
    }

    Display* m_display;
    Window m_root;
    Atom m_selection;
    Atom m_opcode;
    Atom m_xembed;
    Window m_strip = None;
    int m_docked = 0;
};

}  // namespace
}  // namespace tarvane

int main() {
    const tarvane::DisplayHandle display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "tray host: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(&tarvane::ignoreError);
    tarvane::TrayHost host(display.get());
    if (!host.claim()) {
        std::fprintf(stderr, "tray host: another tray owns the selection\n");
        return 1;
    }
    std::printf("READY\n");
    std::fflush(stdout);
    host.serve();
    return 0;
}
