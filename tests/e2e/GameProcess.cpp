#include "tests/e2e/GameProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tools/harness/Poll.h"

GameProcess::GameProcess(const std::string& folder, const std::map<std::string, std::string>& variables)
    : outputPath(folder + "/.stdout")
{
    pid = fork();
    if (pid != 0) return;
    if (chdir(folder.c_str()) != 0) _exit(126);
    const int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) dup2(out, STDOUT_FILENO);
    for (const auto& [name, value] : variables) {
        if (value.empty())
            unsetenv(name.c_str());
        else
            setenv(name.c_str(), value.c_str(), 1);
    }
    execl(KORVANTA_BINARY, KORVANTA_BINARY, static_cast<char*>(nullptr));
    _exit(127);
}

GameProcess::~GameProcess()
{
    if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

std::optional<int> GameProcess::Wait(std::chrono::milliseconds deadline)
{
    return WaitForExit(pid, deadline);
}

std::string GameProcess::Output() const
{
    std::ifstream in(outputPath);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
