#pragma once
// A mouse that never rests: a process with an X connection of its own moves the pointer back and
// forth by one pixel over a spot of the screen at a fixed rate, through XTest, paced by the
// monotonic clock. Whatever window lies under the spot receives the motion as from a real mouse.

#include <sys/types.h>

#include <optional>

class PointerMover {
public:
    // Starts moving at once; x and y are screen coordinates.
    PointerMover(int x, int y, int hertz);
    ~PointerMover();
    PointerMover(const PointerMover&) = delete;
    PointerMover& operator=(const PointerMover&) = delete;

    struct Sent {
        long motions = 0;
        double seconds = 0;
        double Rate() const { return seconds > 0 ? static_cast<double>(motions) / seconds : 0; }
    };
    // Stops the mover and answers what it sent, or nothing when it failed or did not answer.
    std::optional<Sent> Stop();

private:
    pid_t pid = -1;
    int answer = -1;  // read end of the pipe that carries the mover's Sent
};
