#include "tests/fault/FaultServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

bool FaultServer::Start(int depth, const std::vector<std::string>& options)
{
    Stop();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    std::vector<std::string> words = {
        "Xvfb", "-displayfd", "", "-screen", "0", "1280x1024x" + std::to_string(depth), "-nolisten", "tcp", "-noreset"};
    words.insert(words.end(), options.begin(), options.end());
    pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid == 0) {
        // A case that crashes must not leave its server (and the game on it) running.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int out = dup(fds[1]);
        words[2] = std::to_string(out);
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
    while (poll(&waiting, 1, 20000) > 0) {
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

namespace {

void EndServer(pid_t pid, int signalNumber)
{
    kill(pid, signalNumber);
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

void FaultServer::Stop()
{
    if (pid > 0) EndServer(pid, SIGTERM);
    pid = -1;
    name.clear();
}

void FaultServer::Kill()
{
    if (pid > 0) {
        EndServer(pid, SIGKILL);
        const std::string number = name.substr(1);
        unlink(("/tmp/.X" + number + "-lock").c_str());
        unlink(("/tmp/.X11-unix/X" + number).c_str());
    }
    pid = -1;
    name.clear();
}
