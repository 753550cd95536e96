#include "tools/harness/XServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

bool XServer::Start(int depth, int width, int height, const std::vector<std::string>& options)
{
    Stop();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
    std::vector<std::string> words = {"Xvfb", "-displayfd", "", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"};
    words.insert(words.end(), options.begin(), options.end());
    const pid_t parent = getpid();
    pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid == 0) {
        // A caller that crashes must not leave its server (and a game on it) running, even one
        // that crashed before the tie was made.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(127);
        // The pipe is closed on exec for every other child; the server gets a copy that is not.
        words[2] = std::to_string(dup(fds[1]));
        // Keep the server's chatter out of the callers' output.
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0) {
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        std::vector<char*> arguments;
        for (std::string& word : words) arguments.push_back(word.data());
        arguments.push_back(nullptr);
        execvp("Xvfb", arguments.data());
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd waiting{fds[0], POLLIN, 0};
    // Xvfb writes the number followed by a newline once it accepts connections, and the pipe
    // closes at once if it dies; the bound is only for a server that hangs.
    while (poll(&waiting, 1, 60000) > 0) {
        char c;
        if (read(fds[0], &c, 1) <= 0 || c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        Stop();
        return false;
    }
    name = ":" + number;
    return true;
}

void XServer::End(int signalNumber)
{
    if (pid > 0) {
        kill(pid, signalNumber);
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    pid = -1;
    name.clear();
}

void XServer::Stop() { End(SIGTERM); }

void XServer::Kill()
{
    const std::string number = name.empty() ? "" : name.substr(1);
    End(SIGKILL);
    if (number.empty()) return;
    unlink(("/tmp/.X" + number + "-lock").c_str());
    unlink(("/tmp/.X11-unix/X" + number).c_str());
}

XServer& SharedXServer()
{
    static XServer server;
    return server;
}
