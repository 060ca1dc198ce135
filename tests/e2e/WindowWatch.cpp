// Waits for a top-level window with a given title to be shown (mapped and
// viewable) and tells when, without polling: it listens to the root
// window's map events from before the program starts.
//
// Usage: tarvane_window_watch TITLE [TIMEOUT-SECONDS]
// Prints "READY" once it listens, then "SHOWN <window id> <CLOCK_MONOTONIC
// nanoseconds>" and exits 0; exits 1 when the time-out passes first.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

namespace tarvane {
namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayHandle = std::unique_ptr<Display, DisplayCloser>;

// A window may go between its map event and our questions about it.
int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The UTF-8 title a toolkit sets, or the older Latin-1 one.
std::string titleOf(Display* display, Window window) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), 0, 1024,
                           False, XInternAtom(display, "UTF8_STRING", False), &type, &format,
                           &count, &remaining, &data) == Success &&
        data != nullptr) {
        title.assign(reinterpret_cast<const char*>(data), count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(display, window, &name) != 0 && name != nullptr) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

bool isShown(Display* display, Window window, const std::string& title) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) != 0 &&
           attributes.map_state == IsViewable && titleOf(display, window) == title;
}

void report(Window window, long long when) {
    std::printf("SHOWN 0x%lx %lld\n", window, when);
    std::fflush(stdout);
}

}  // namespace
}  // namespace tarvane

int main(int argc, char* argv[]) {
    using namespace tarvane;
    if (argc < 2) {
        std::fprintf(stderr, "usage: tarvane_window_watch TITLE [TIMEOUT-SECONDS]\n");
        return 2;
    }
    const std::string title = argv[1];
    const long long timeoutNs =
        static_cast<long long>((argc > 2 ? std::atof(argv[2]) : 30.0) * 1e9);

    const DisplayHandle display(XOpenDisplay(nullptr));
    if (!display) {
        std::fprintf(stderr, "window watch: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(&ignoreError);
    const Window root = DefaultRootWindow(display.get());
    XSelectInput(display.get(), root, SubstructureNotifyMask);
    XSync(display.get(), False);
    std::printf("READY\n");
    std::fflush(stdout);

    // A window shown before we listened is reported at once.
    Window rootReturn = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display.get(), root, &rootReturn, &parent, &children, &count) != 0) {
        for (unsigned int i = 0; i < count; ++i) {
            if (isShown(display.get(), children[i], title)) {
                report(children[i], monotonicNanoseconds());
                XFree(children);
                return 0;
            }
        }
        if (children != nullptr) {
            XFree(children);
        }
    }

    const long long deadline = monotonicNanoseconds() + timeoutNs;
    pollfd connection{ConnectionNumber(display.get()), POLLIN, 0};
    for (;;) {
        while (XPending(display.get()) > 0) {
            XEvent event;
            XNextEvent(display.get(), &event);
            if (event.type == MapNotify) {
                const long long when = monotonicNanoseconds();
                if (isShown(display.get(), event.xmap.window, title)) {
                    report(event.xmap.window, when);
                    return 0;
                }
            }
        }
        const long long left = deadline - monotonicNanoseconds();
        if (left <= 0) {
            std::fprintf(stderr, "window watch: no window titled '%s' shown in time\n",
                         title.c_str());
            return 1;
        }
        poll(&connection, 1, static_cast<int>(left / 1000000 + 1));
    }
}
