#pragma once
// Plays the game's sounds with the external player aplay, run as a child process of its own so
// that the game never waits for a sound. The player remembers the child of the current sound, to
// end it when the next one starts or when the game closes.

#include <sys/types.h>

#include <string>

// The error beep, a free function that keeps no state, lives beside the other helpers that the
// toolkit's widgets use too.
#include "util/Beep.h"

class SoundPlayer {
public:
    SoundPlayer() = default;
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // A missing file, or anything but a regular file, is logged as its path followed by
    // " non trovato." and plays nothing.
    void Play(const std::string& path, bool repeat = false);
    void Kill();

    pid_t Pid() const { return pid; }
    bool Playing() const { return playing; }

private:
    pid_t pid = 0;
    bool playing = false;
};
