#pragma once
// The world of one fault case: a folder of its own in which the real game runs with the game's
// data, a seeded top ten, fake external programs that write down how they were called, and a /dev
// of its own. The game runs in a mount namespace of its own whose /dev is the case's: its shared
// memory ("/mem_shared_hardJoy" under its real name) lives in the case's folder, where no other
// case and no other game can meet it, and /dev/input/js0 can be a FIFO that the case feeds.
//
// Such a namespace needs root (or user namespaces); cases that cannot have one are skipped.

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

struct GameRun {
    // DISPLAY for the game; empty leaves it unset.
    std::string display;
    // A FIFO stands in for the joystick device; without it the game finds no joystick.
    bool joystick = false;
    // Run under a user id of the case's own, without root's rights, so that modes of files and
    // the limit on processes apply. Needs root.
    bool asOtherUser = false;
    // RLIMIT_NPROC for that user (processes counted together): 1 lets no fork succeed.
    long processLimit = 0;
    // PATH holds no aplay at all.
    bool withoutAplay = false;
    // Programs and options run in front of the game (a memory checker, say).
    std::vector<std::string> launcher;

    GameRun& Display(std::string name)
    {
        display = std::move(name);
        return *this;
    }
    GameRun& Joystick()
    {
        joystick = true;
        return *this;
    }
    GameRun& AsOtherUser(long limit = 0)
    {
        asOtherUser = true;
        processLimit = limit;
        return *this;
    }
    GameRun& WithoutAplay()
    {
        withoutAplay = true;
        return *this;
    }
};

// How a process ended: its exit status, or the signal that ended it.
struct Ending {
    bool exited = false;
    int code = 0;
    int signal = 0;
    std::string Describe() const;
};

class GameSandbox {
public:
    GameSandbox();
    ~GameSandbox();
    GameSandbox(const GameSandbox&) = delete;
    GameSandbox& operator=(const GameSandbox&) = delete;

    // Why no case can run here (no namespace can be made), or the empty text.
    static std::string IsolationUnavailable();

    // The game's working folder, and paths inside it.
    const std::string& Folder() const { return work; }
    std::string Path(const std::string& relative) const { return work + "/" + relative; }
    void Write(const std::string& relative, const std::string& contents) const;
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;

    // Makes the fake aplay run this shell command after writing down its call.
    void SetFakeAplay(const std::string& command) const;

    // The top ten every case starts with, and where it lives.
    static const char* const tablePath;
    static std::string SeededTable();

    // The game's /dev/shm and /dev/input/js0 as the case sees them.
    std::string SharedMemory() const { return root + "/dev/shm"; }
    std::vector<std::string> SharedObjects() const;
    std::string JoystickDevice() const { return root + "/dev/input/js0"; }

    // Starts the game; false (with the reason in the failure) when its world could not be made.
    bool Start(const GameRun& run);
    pid_t Pid() const { return pid; }
    uid_t User() const { return user; }
    void Signal(int signalNumber) const;
    // How the game ended, or nothing when the deadline passed first.
    std::optional<Ending> Wait(std::chrono::milliseconds deadline);
    bool Running();

    // What the game wrote: its log file, standard output and standard error.
    std::string Log() const { return Read("log.txt"); }
    std::string Output() const;
    std::string Errors() const;
    // The lines of a sanitizer's or memory checker's report in standard error, or the empty text.
    std::string CheckerReport() const;
    // What the fake aplay was asked to play, one call a line, and the links that were opened.
    std::string SoundsPlayed() const;
    std::string LinksOpened() const;

    // Processes still working in the case's folder (the game, its reader, its sounds), waiting
    // up to the deadline for them to go.
    std::vector<pid_t> ProcessesLeft(std::chrono::milliseconds deadline);

private:
    void PrepareDevices(bool joystick) const;
    void HandOver() const;
    void EndLeftovers();

    std::string root;
    std::string work;
    pid_t pid = -1;
    uid_t user = 0;
    std::optional<Ending> ending;
};
