#pragma once
// A private Xvfb for the tests. It picks its own display number and reports it through
// -displayfd, so tests neither guess numbers nor sleep while it starts, and run in parallel.

#include <sys/types.h>

#include <string>

class XServer {
public:
    XServer() = default;
    ~XServer() { Stop(); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Starts Xvfb with one screen of the given size and depth; false when it could not start.
    bool Start(int depth = 24, int width = 1280, int height = 1024);
    void Stop();
    // ":N", usable as DISPLAY.
    const std::string& Name() const { return name; }

private:
    pid_t pid = -1;
    std::string name;
};

// The server that the X test binaries share per process; DISPLAY points at it while they run.
XServer& SharedXServer();
