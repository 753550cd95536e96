#include "toolkit/DisplayConnection.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <set>
#include <string>
#include <utility>

#include "graphics/Images.h"
#include "util/Log.h"

namespace {

void (*connectionLostAction)() = nullptr;

int OnConnectionLost(Display*)
{
    Log("Lost the connection to the X server.");
    if (connectionLostAction) connectionLostAction();
    std::fflush(stdout);
    // exit() would run destructors that talk to the dead connection, which calls this again.
    _exit(1);
}

// Xlib's own handler ends the program at the first protocol error, which another client can
// cause at will (by destroying one of the game's windows, say). An error is reported instead, the
// first of each kind of request and error only, and the program goes on. No request may be made
// from here; XGetErrorText only looks the text up.
int OnProtocolError(Display* display, XErrorEvent* error)
{
    static std::set<std::pair<int, int>> reported;
    if (!reported.emplace(error->request_code, error->error_code).second) return 0;
    char text[160] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    Log("X error " + std::string(text) + " on request " + std::to_string(error->request_code));
    return 0;
}

}  // namespace

DisplayConnection::DisplayConnection(const char* title) : title(title)
{
    if (!defaultConnection) defaultConnection = this;

    display = XOpenDisplay(nullptr);
    if (!display) {
        openFailed = true;
        Log("XOpenDisplay(0) failed.");
        return;
    }
    screen = DefaultScreen(display);
    depth = DefaultDepth(display, screen);
    // Any TrueColor visual shows the game's colours; only one that needs a colour map cannot.
    if (!ScreenIsTrueColour(display, screen)) Log("This app requires 24-bit depth.");

    XVisualInfo wanted{};
    wanted.screen = screen;
    wanted.depth = depth;
    visuals = XGetVisualInfo(display, VisualScreenMask | VisualDepthMask, &wanted, &visualCount);
    if (visualCount == 0) Log("GetVisualInfo failed.");

    screenHeight = XDisplayHeight(display, screen);
    screenWidth = XDisplayWidth(display, screen);

    XSetErrorHandler(OnProtocolError);
    // The programs the game starts must not inherit the connection: a sound that outlived a
    // killed game would keep its window on the screen.
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
}

DisplayConnection::~DisplayConnection()
{
    Close();
    if (defaultConnection == this) defaultConnection = nullptr;
}

bool DisplayConnection::Close()
{
    if (!display) return false;
    ForgetPixelFormat(display);
    if (visuals) XFree(visuals);
    visuals = nullptr;
    visualCount = 0;
    XCloseDisplay(display);
    display = nullptr;
    return true;
}

int DisplayConnection::DefaultScreenWidth() { return defaultConnection ? defaultConnection->screenWidth : 0; }

int DisplayConnection::DefaultScreenHeight() { return defaultConnection ? defaultConnection->screenHeight : 0; }

std::pair<int, int> DisplayConnection::PointerPosition()
{
    if (!defaultConnection || !defaultConnection->display) return {0, 0};
    Display* display = defaultConnection->display;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned int mask = 0;
    if (!XQueryPointer(display, RootWindow(display, defaultConnection->screen), &root, &child, &rootX, &rootY,
                       &windowX, &windowY, &mask))
        return {0, 0};
    return {rootX, rootY};
}

void DisplayConnection::SetOnConnectionLost(void (*action)())
{
    connectionLostAction = action;
    XSetIOErrorHandler(OnConnectionLost);
}
