#pragma once
// Runs the real game binary in a folder with a chosen environment and watches it from outside.

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>

class GameProcess {
public:
    // variables: entries to set; an empty value removes the variable from the environment.
    GameProcess(const std::string& folder, const std::map<std::string, std::string>& variables);
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    pid_t Pid() const { return pid; }
    // The exit status once the game has ended, or nothing when the deadline passed first.
    std::optional<int> Wait(std::chrono::milliseconds deadline);
    // Everything the game wrote to standard output so far (it is collected in a file).
    std::string Output() const;

private:
    pid_t pid = -1;
    std::string outputPath;
};
