#include "tools/harness/Poll.h"

#include <sys/wait.h>

#include <thread>

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline,
             std::chrono::milliseconds step)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(step);
    }
    return condition();
}

std::optional<int> WaitForExit(pid_t& pid, std::chrono::milliseconds deadline)
{
    std::optional<int> ending;
    WaitFor(
        [&] {
            int status = 0;
            if (pid > 0 && waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                ending = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            return pid <= 0;
        },
        deadline, std::chrono::milliseconds(5));
    return ending;
}
