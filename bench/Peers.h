#pragma once
// Other small X games, when they are installed, idle on their title screens beside the game, so
// that the table shows what an idle X game costs elsewhere. They are optional: bench/run.sh
// installs them where it can, and the benchmark runs without them.

#include <memory>
#include <string>
#include <vector>

#include "bench/Programs.h"

class Peer {
public:
    Peer(std::string name, const std::string& binary, const std::string& dataFolder);

    // The program's name, which is also the name of its window.
    const std::string& Name() const { return name; }
    pid_t Pid() const { return program.Pid(); }

private:
    std::string name;
    RunFolder folder;
    Program program;
};

// The peers installed on this machine, started; empty when none is.
std::vector<std::unique_ptr<Peer>> StartPeers(const std::string& dataFolder);
