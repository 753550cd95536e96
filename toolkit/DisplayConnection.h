#pragma once
// The toolkit's one handle on the X server. The first connection made becomes the process-wide
// default, which the few operations with no form at hand (centring, pointer position) use.
// Opening one also replaces Xlib's handling of protocol errors, which would end the program, by
// a log line for the first error of each kind.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <utility>

class DisplayConnection {
public:
    explicit DisplayConnection(const char* title);
    ~DisplayConnection();
    DisplayConnection(const DisplayConnection&) = delete;
    DisplayConnection& operator=(const DisplayConnection&) = delete;

    Display* GetDisplay() const { return display; }
    int GetScreenWidth() const { return screenWidth; }
    int GetScreenHeight() const { return screenHeight; }
    int GetDepth() const { return depth; }
    int GetScreen() const { return screen; }
    // The first visual of the screen's depth, or null when the server offered none.
    XVisualInfo* GetVisualInfo() const { return visualCount > 0 ? visuals : nullptr; }
    const char* GetTitle() const { return title; }
    bool OpenFailed() const { return openFailed; }

    bool Close();

    static DisplayConnection* Default() { return defaultConnection; }
    static int DefaultScreenWidth();
    static int DefaultScreenHeight();
    static std::pair<int, int> PointerPosition();

    // Replaces Xlib's report of a lost connection (the server gone, the socket broken): the line
    // "Lost the connection to the X server." is logged, the action runs, and the process ends
    // with status 1 without touching the connection again. Xlib ends the process either way; this
    // lets the program tidy up what lives outside it first.
    static void SetOnConnectionLost(void (*action)());

private:
    int screen = 0;
    Display* display = nullptr;
    XVisualInfo* visuals = nullptr;
    int visualCount = 0;
    const char* title;
    bool openFailed = false;
    int screenWidth = 800;
    int screenHeight = 600;
    int depth = 8;

    static inline DisplayConnection* defaultConnection = nullptr;
};
