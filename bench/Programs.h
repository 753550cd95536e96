#pragma once
// The programs the benchmark runs and watches: each in a folder of its own with the game's data,
// a silent aplay first on PATH (sounds cost the game a fork, not a sound card), and its output
// kept in the folder for when something goes wrong.

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

class RunFolder {
public:
    // Copies the files of dataFolder into Data/ of a new temporary folder.
    explicit RunFolder(const std::string& dataFolder);
    ~RunFolder();
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    const std::string& Path() const { return path; }
    std::string ReadFile(const std::string& relativePath) const;

private:
    std::string path;
};

class Program {
public:
    // Starts the program in the folder with DISPLAY and the silent aplay, plus the given variables
    // and arguments.
    Program(const std::string& binary, const RunFolder& folder, const std::map<std::string, std::string>& variables = {},
            const std::vector<std::string>& arguments = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    pid_t Pid() const { return pid; }
    bool Running();
    // The exit status once the program ended, or nothing after the deadline.
    std::optional<int> Wait(std::chrono::milliseconds deadline);
    // SIGTERM, then SIGKILL if it has not ended within a second.
    void Stop();

private:
    pid_t pid = -1;
};
