// The floors the game is measured against: the least an Xlib client can cost. One window, nothing
// drawn, and one of two loops:
//   korvanta-floor           a 10 ms poll: when no event is queued, wait at most 10 ms for the
//                            connection, otherwise read one event (the game's loop before it slept
//                            until its next timer, with no work at all);
//   korvanta-floor --block   block in XNextEvent with no time-out, as a client with no timer does:
//                            nothing wakes it while nothing happens.
// It runs until it is killed.

#include <X11/Xlib.h>
#include <sys/select.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    const bool block = argc > 1 && std::strcmp(argv[1], "--block") == 0;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return EXIT_FAILURE;
    const int screen = DefaultScreen(display);
    // Beside the game's window, which starts at (100, 100), never over it: the benchmark reads the
    // game's well from the screen and moves the pointer over it.
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 1000, block ? 640 : 0, 800,
                                              block ? 500 : 600, 1, BlackPixel(display, screen),
                                              WhitePixel(display, screen));
    XStoreName(display, window, block ? "Korvanta blocking floor client" : "Korvanta floor client");
    XSelectInput(display, window, ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                                      ButtonReleaseMask | PointerMotionMask | StructureNotifyMask);
    XMapWindow(display, window);
    XFlush(display);

    XEvent event;
    if (block) {
        for (;;) XNextEvent(display, &event);
    }
    const int fd = ConnectionNumber(display);
    for (;;) {
        if (XPending(display) == 0) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(fd, &readable);
            timeval wait{0, 10000};
            if (select(fd + 1, &readable, nullptr, nullptr, &wait) <= 0) continue;
        }
        XNextEvent(display, &event);
    }
}
