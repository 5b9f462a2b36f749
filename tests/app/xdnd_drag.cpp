// A drag from another X client, as a file manager sends it over the XDND protocol:
//   xdnd_drag WINDOW X Y TYPE DATA
// offers DATA as TYPE (say text/uri-list), enters WINDOW's top-level at (X, Y) in WINDOW's
// coordinates, moves a little, and drops there if the target accepts (or leaves if it
// refuses). It starts only once WINDOW itself is what shows at that point (mapped, placed by
// the window manager and above any other window there), waiting for the window manager as
// long as it takes. Prints "dropped" or "refused"; exits 0 after a finished drop, 3 when
// refused, 2 when the target stops answering, disappears or never comes to the top.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <sys/select.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

Display* display = nullptr;
bool targetGone = false;

int onError(Display*, XErrorEvent* error) {
    // Messages to a window that no longer exists: the target has crashed.
    if (error->error_code == BadWindow)
        targetGone = true;
    return 0;
}

Atom atom(const char* name) {
    return XInternAtom(display, name, False);
}

long xdndVersion(Window window) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long version = -1;
    if (XGetWindowProperty(display, window, atom("XdndAware"), 0, 1, False, XA_ATOM, &type, &format,
                           &count, &after, &data) == Success &&
        type == XA_ATOM && count == 1)
        version = static_cast<long>(*reinterpret_cast<Atom*>(data));
    if (data)
        XFree(data);
    return version;
}

// The outermost XDND-aware window under the root point: the top-level a source talks to.
Window targetAt(Window root, int x, int y, long* version) {
    Window window = root;
    for (;;) {
        int cx = 0, cy = 0;
        Window child = None;
        if (!XTranslateCoordinates(display, root, window, x, y, &cx, &cy, &child) || !child)
            return None;
        window = child;
        *version = xdndVersion(window);
        if (*version >= 0)
            return window;
    }
}

void send(Window target, const char* type, long l0, long l1, long l2, long l3, long l4) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = atom(type);
    event.xclient.format = 32;
    const long data[] = {l0, l1, l2, l3, l4};
    for (int i = 0; i < 5; ++i)
        event.xclient.data.l[i] = data[i];
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
}

// A server timestamp, which selection owners need.
Time serverTime(Window window) {
    XSelectInput(display, window, PropertyChangeMask);
    const unsigned char byte = 0;
    XChangeProperty(display, window, XA_WM_NAME, XA_STRING, 8, PropModeAppend, &byte, 0);
    XEvent event;
    do
        XWindowEvent(display, window, PropertyChangeMask, &event);
    while (event.type != PropertyNotify);
    return event.xproperty.time;
}

struct Drag {
    Window source = None;
    Window target = None;
    Atom dataType = None;
    std::string data;
    bool statusSeen = false;
    bool accepted = false;
    bool finished = false;
};

void answerSelection(const Drag& drag, const XSelectionRequestEvent& request) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = None;
    const Atom property = request.property ? request.property : request.target;
    if (request.target == drag.dataType) {
        XChangeProperty(display, request.requestor, property, drag.dataType, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(drag.data.data()),
                        static_cast<int>(drag.data.size()));
        reply.xselection.property = property;
    } else if (request.target == atom("TARGETS")) {
        const Atom targets[] = {atom("TARGETS"), drag.dataType};
        XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(targets), 2);
        reply.xselection.property = property;
    }
    XSendEvent(display, request.requestor, False, NoEventMask, &reply);
    XFlush(display);
}

// Serves the target until `done` holds or `seconds` pass; false on timeout or a lost target.
template <typename Done> bool serve(Drag& drag, double seconds, Done done) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        XSync(display, False);
        if (targetGone)
            return false;
        if (!XPending(display)) {
            const auto left = deadline - Clock::now();
            if (left <= Clock::duration::zero())
                return false;
            const long micros = std::chrono::duration_cast<std::chrono::microseconds>(left).count();
            timeval timeout{micros / 1000000, micros % 1000000};
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(ConnectionNumber(display), &fds);
            select(ConnectionNumber(display) + 1, &fds, nullptr, nullptr, &timeout);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionRequest) {
            answerSelection(drag, event.xselectionrequest);
        } else if (event.type == DestroyNotify && event.xdestroywindow.window == drag.target) {
            targetGone = true;
        } else if (event.type == ClientMessage &&
                   event.xclient.message_type == atom("XdndStatus")) {
            drag.statusSeen = true;
            drag.accepted = event.xclient.data.l[1] & 1;
        } else if (event.type == ClientMessage &&
                   event.xclient.message_type == atom("XdndFinished")) {
            drag.finished = true;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s WINDOW X Y TYPE DATA\n", argv[0]);
        return 64;
    }
    display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no display\n");
        return 64;
    }
    XSetErrorHandler(onError);
    const Window root = DefaultRootWindow(display);
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const int windowX = std::atoi(argv[2]), windowY = std::atoi(argv[3]);

    Drag drag;
    drag.dataType = atom(argv[4]);
    drag.data = argv[5];
    drag.source = XCreateSimpleWindow(display, root, -10, -10, 1, 1, 0, 0, 0);
    const Time time = serverTime(drag.source);
    XSetSelectionOwner(display, atom("XdndSelection"), drag.source, time);

    // The window manager maps, places and raises windows in its own time: every map, move and
    // restacking of a top-level (or of the window in its frame) is looked at again.
    XSelectInput(display, root, SubstructureNotifyMask);
    XSelectInput(display, window, StructureNotifyMask);
    int x = 0, y = 0;
    long version = -1;
    const auto onTop = [&] {
        Window child = None;
        if (!XTranslateCoordinates(display, window, root, windowX, windowY, &x, &y, &child))
            return false;
        drag.target = targetAt(root, x, y, &version);
        return drag.target == window;
    };
    if (!serve(drag, 60, onTop)) {
        std::fprintf(stderr, "window 0x%lx is not on top at %d,%d (0x%lx is)\n", window, x, y,
                     drag.target);
        return 2;
    }
    XSelectInput(display, drag.target, StructureNotifyMask);
    XWarpPointer(display, None, root, 0, 0, 0, 0, x, y);
    const long protocol = version < 5 ? version : 5;
    const Atom copy = atom("XdndActionCopy");
    send(drag.target, "XdndEnter", drag.source, protocol << 24, drag.dataType, None, None);
    // Enter, then two positions a few pixels apart, each answered by a status.
    for (int step = 0; step < 2; ++step) {
        drag.statusSeen = false;
        send(drag.target, "XdndPosition", drag.source, 0, ((x + 4 * step) << 16) | y, time, copy);
        if (!serve(drag, 60, [&] { return drag.statusSeen; })) {
            std::printf("%s\n", targetGone ? "target gone" : "no status");
            return 2;
        }
    }
    if (!drag.accepted) {
        send(drag.target, "XdndLeave", drag.source, 0, 0, 0, 0);
        XSync(display, False);
        std::printf("refused\n");
        return targetGone ? 2 : 3;
    }
    send(drag.target, "XdndDrop", drag.source, 0, time, 0, 0);
    if (!serve(drag, 60, [&] { return drag.finished; })) {
        std::printf("%s\n", targetGone ? "target gone" : "no finish");
        return 2;
    }
    std::printf("dropped\n");
    XCloseDisplay(display);
    return 0;
}
