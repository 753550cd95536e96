// The floor the game is measured against: the least an Xlib client with the game's event loop
// can cost. One window, nothing drawn, and the loop the game runs while a timer exists: when no
// event is queued, wait at most 10 ms for the connection, otherwise read one event. It runs
// until it is killed.

#include <X11/Xlib.h>
#include <sys/select.h>

#include <cstdlib>

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) return EXIT_FAILURE;
    const int screen = DefaultScreen(display);
    // Beside the game's window, which starts at (100, 100), never over it: the benchmark reads the
    // game's well from the screen.
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 1000, 0, 800, 600, 1,
                                              BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, "Korvanta floor client");
    XSelectInput(display, window, ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                                      ButtonReleaseMask | PointerMotionMask | StructureNotifyMask);
    XMapWindow(display, window);
    XFlush(display);

    const int fd = ConnectionNumber(display);
    for (;;) {
        if (XPending(display) == 0) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(fd, &readable);
            timeval wait{0, 10000};
            if (select(fd + 1, &readable, nullptr, nullptr, &wait) <= 0) continue;
        }
        XEvent event;
        XNextEvent(display, &event);
    }
}
