#include "game/SoundPlayer.h"

#include <signal.h>
#include <unistd.h>

#include "util/ChildProcesses.h"
#include "util/Files.h"
#include "util/Log.h"

namespace {

// The game's own paths go to the shell as they are; any other path is quoted, so that a blank
// or a shell character in a file name can neither split the argument nor run a command.
std::string ShellArgument(const std::string& path)
{
    const bool plain = !path.empty() && path.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                                               "0123456789/._-+,") == std::string::npos;
    if (plain) return path;
    std::string quoted = "'";
    for (const char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

void SoundPlayer::Play(const std::string& path, bool repeat)
{
    if (!FileExists(path)) {
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
    const std::string argument = ShellArgument(path);
    const pid_t child = ForkChild();
    if (child > 0) {
        pid = child;
        playing = true;
        return;
    }
    if (child == 0) {
        // A repeating sound stops repeating once aplay fails, rather than spinning on a
        // missing player or a busy audio device until it is killed.
        while (!RunProgram("aplay", argument) && repeat) {
        }
        // Nothing of the game's teardown may run here: no destructors, no atexit handlers, no
        // flushing of output the game buffered, nothing sent on its X connection.
        _exit(0);
    }
    RunProgram("aplay", argument);
    playing = false;
    pid = 0;
}

void SoundPlayer::Kill()
{
    if (playing) SignalChild(pid, SIGTERM);
    playing = false;
    pid = 0;
}
