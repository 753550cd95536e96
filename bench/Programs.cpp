#include "bench/Programs.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/harness/Poll.h"

namespace fs = std::filesystem;

RunFolder::RunFolder(const std::string& dataFolder)
{
    std::string pattern = (fs::temp_directory_path() / "korvanta-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return;
    path = pattern;
    std::error_code error;
    fs::create_directories(path + "/Data", error);
    for (const auto& entry : fs::directory_iterator(dataFolder, error))
        if (entry.is_regular_file()) fs::copy_file(entry.path(), path + "/Data/" + entry.path().filename().string(), error);
    fs::create_directories(path + "/bin", error);
    std::ofstream(path + "/bin/aplay") << "#!/bin/sh\nexit 0\n";
    fs::permissions(path + "/bin/aplay", fs::perms::owner_all, error);
}

RunFolder::~RunFolder()
{
    std::error_code ignored;
    if (!path.empty()) fs::remove_all(path, ignored);
}

std::string RunFolder::ReadFile(const std::string& relativePath) const
{
    std::ifstream in(path + "/" + relativePath);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Program::Program(const std::string& binary, const RunFolder& folder, const std::map<std::string, std::string>& variables,
                 const std::vector<std::string>& arguments)
{
    const std::string searchPath = folder.Path() + "/bin:" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin");
    // Built before the fork: the child only execs.
    std::vector<char*> argv{const_cast<char*>(binary.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    pid = fork();
    if (pid != 0) return;
    // A benchmark that dies must not leave a client looping on its Xvfb, even one that died
    // before the tie was made.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    if (chdir(folder.Path().c_str()) != 0) _exit(126);
    const int output = open("output.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (output >= 0) {
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        close(output);
    }
    setenv("PATH", searchPath.c_str(), 1);
    for (const auto& [name, value] : variables) setenv(name.c_str(), value.c_str(), 1);
    execv(binary.c_str(), argv.data());
    _exit(127);
}

Program::~Program() { Stop(); }

bool Program::Running()
{
    if (pid <= 0) return false;
    if (waitpid(pid, nullptr, WNOHANG) == 0) return true;
    pid = -1;
    return false;
}

std::optional<int> Program::Wait(std::chrono::milliseconds deadline)
{
    return WaitForExit(pid, deadline);
}

void Program::Stop()
{
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    if (!Wait(std::chrono::seconds(1))) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
}
