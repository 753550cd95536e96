#pragma once
// A private Xvfb. It picks its own display number and reports it through -displayfd, so callers
// neither guess numbers nor sleep while it starts, and run in parallel; a case may choose its
// depth, size or fonts, or kill the server under the game, without touching any other.

#include <sys/types.h>

#include <string>
#include <vector>

class XServer {
public:
    XServer() = default;
    ~XServer() { Stop(); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Starts Xvfb with one screen of this depth and size and any further options; false when it
    // did not come up.
    bool Start(int depth = 24, int width = 1280, int height = 1024, const std::vector<std::string>& options = {});
    // Ends the server in order.
    void Stop();
    // Ends the server at once, as a crash would, then clears what it leaves in /tmp.
    void Kill();
    // ":N", usable as DISPLAY.
    const std::string& Name() const { return name; }

private:
    void End(int signalNumber);

    pid_t pid = -1;
    std::string name;
};

// The server that the X test binaries share per process; DISPLAY points at it while they run.
XServer& SharedXServer();
