#include "util/Beep.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "util/Files.h"

bool RunDetached(const char* program, const char* arguments)
{
    const pid_t child = fork();
    if (child < 0) {
        RunProgram(program, arguments);
        return false;
    }
    if (child == 0) {
        // The grandchild is adopted by init, which reaps it; the child ends at once. Neither
        // runs the parent's teardown nor touches its X connection.
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            RunProgram(program, arguments);
            _exit(0);
        }
        if (grandchild < 0) RunProgram(program, arguments);
        _exit(0);
    }
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    return true;
}

void Beep()
{
    if (!FileExists("Data/beep.wav")) return;
    RunDetached("aplay", "Data/beep.wav");
}
