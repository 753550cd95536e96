#include "bench/Peers.h"

#include <unistd.h>

#include <utility>

Peer::Peer(std::string name, const std::string& binary, const std::string& dataFolder)
    : name(std::move(name)), folder(dataFolder), program(binary, folder)
{
}

std::vector<std::unique_ptr<Peer>> StartPeers(const std::string& dataFolder)
{
    std::vector<std::unique_ptr<Peer>> peers;
    for (const char* name : {"xjump", "xbill"}) {
        const std::string binary = std::string("/usr/games/") + name;
        if (access(binary.c_str(), X_OK) == 0) peers.push_back(std::make_unique<Peer>(name, binary, dataFolder));
    }
    return peers;
}
