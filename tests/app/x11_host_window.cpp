// A window made by another X client, as a screen-saver daemon makes one for its programs:
//   x11_host_window WIDTH HEIGHT
// maps a black WIDTH x HEIGHT top-level window, prints its id (0x...) on a line of its own, and
// keeps it until killed.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(
        display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(std::atoi(argv[1])),
        static_cast<unsigned>(std::atoi(argv[2])), 0, BlackPixel(display, screen),
        BlackPixel(display, screen));
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == MapNotify)
            break;
    }
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    for (XEvent event;;)
        XNextEvent(display, &event);
}
