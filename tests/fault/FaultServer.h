#pragma once
// An Xvfb of a case's own, so that a case may choose its depth or its fonts, or kill the server
// under the game, without touching any other case.

#include <sys/types.h>

#include <string>
#include <vector>

class FaultServer {
public:
    FaultServer() = default;
    ~FaultServer() { Stop(); }
    FaultServer(const FaultServer&) = delete;
    FaultServer& operator=(const FaultServer&) = delete;

    // Starts Xvfb with one screen of this depth and any further options; false when it did not
    // come up. The server writes its display number once it accepts connections.
    bool Start(int depth = 24, const std::vector<std::string>& options = {});
    // Ends the server in order.
    void Stop();
    // Ends the server at once, as a crash would, then clears what it leaves in /tmp.
    void Kill();
    // ":N", usable as DISPLAY.
    const std::string& Name() const { return name; }

private:
    pid_t pid = -1;
    std::string name;
};
