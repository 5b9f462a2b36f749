// Watches a property of the X display's root window:
//   root_property_watch PROPERTY
// prints the property's 32-bit values (window ids, numbers) as one line of hex numbers at once,
// and again each time it changes, until it is ended. It asks for the changes before it reads
// the first value, so that none is missed in between (as `xprop -spy` may miss one).
#include <X11/Xlib.h>

#include <cstdio>

namespace {

void printValue(Display* display, Window root, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, root, property, 0, 65536, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success &&
        format == 32) {
        // Xlib hands 32-bit values over as longs.
        const auto* values = reinterpret_cast<const long*>(data);
        for (unsigned long i = 0; i < count; ++i)
            std::printf("%s0x%lx", i ? " " : "", static_cast<unsigned long>(values[i]));
    }
    if (data)
        XFree(data);
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROPERTY\n", argv[0]);
        return 64;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no display\n");
        return 64;
    }
    const Window root = DefaultRootWindow(display);
    const Atom property = XInternAtom(display, argv[1], False);
    XSelectInput(display, root, PropertyChangeMask);
    printValue(display, root, property);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == PropertyNotify && event.xproperty.atom == property)
            printValue(display, root, property);
    }
}
