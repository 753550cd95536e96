#include "game/SoundPlayer.h"

#include <signal.h>
#include <unistd.h>

#include "util/ChildProcesses.h"
#include "util/Files.h"
#include "util/Log.h"

namespace {

// A repeating sound needs a process of its own that starts aplay again each time it ends. That
// process is a copy of the game, so it first lets go of everything the game holds open.
pid_t StartRepeating(const std::vector<std::string>& command)
{
    const pid_t child = ForkTiedChild();
    if (child != 0) return child;
    CloseInheritedDescriptors();
    // A repeating sound stops repeating once aplay fails, rather than spinning on a missing
    // player or a busy audio device until it is killed.
    while (RunProgramAndWait(command)) {
    }
    // Nothing of the game's teardown may run here: no destructors, no atexit handlers, no
    // flushing of output the game buffered.
    _exit(0);
}

}  // namespace

void SoundPlayer::Play(const std::string& path, bool repeat)
{
    // A FIFO or a device in the sound's place would hold aplay for ever: only a regular file plays.
    if (!IsReadableRegularFile(path)) {
        Log(path + " non trovato.");
        return;
    }
    if (playing) {
        // Only a child that has not been reaped is signalled: a reaped child's pid may already
        // name another process.
        SignalChild(pid, SIGTERM);
        playing = false;
        pid = 0;
    }
    // aplay itself is the child, with no shell between: the signal of the next sound and the
    // game's death reach the player, not a process waiting for it.
    const std::vector<std::string> command = {"aplay", path};
    const pid_t child = repeat ? StartRepeating(command) : StartProgram(command);
    if (child > 0) {
        pid = child;
        playing = true;
        return;
    }
    RunProgramAndWait(command);
    playing = false;
    pid = 0;
}

void SoundPlayer::Kill()
{
    if (playing) SignalChild(pid, SIGTERM);
    playing = false;
    pid = 0;
}
