#pragma once
// The fixture of every fault case: an X server and a game world of the case's own, and the checks
// that every case ends with: no crash or checker report, nothing left running, no shared memory
// left, and the top ten as it was.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/fault/GameSandbox.h"
#include "tests/support/Player.h"
#include "tools/harness/Poll.h"
#include "tools/harness/XServer.h"

using namespace std::chrono_literals;

class FaultCase : public ::testing::Test {
protected:
    void SetUp() override;

    // Starts a server of this depth with these options and points DISPLAY at it.
    void StartServer(int depth = 24, const std::vector<std::string>& options = {});
    // Starts the game on the case's server (DISPLAY filled in when the run names none).
    void StartGame(GameRun run = {});
    // Cases that run the game as another user need root.
    static bool CanChangeUser();
    // The sprite sheet that the build made, against which the player reads the well.
    static std::string BuildSheet();

    // EXIT and YES, then the game must end with status 0.
    void QuitAndExpectStatusZero(Player& player);
    // The checks every case ends with, once the game has ended. objectsLeft: shared-memory
    // objects that must still be there (ones the case made and the game may not remove).
    void ExpectNothingLeftBehind(const std::vector<std::string>& objectsLeft = {});
    void ExpectTableIntact();

    // The number of lines of the log that hold exactly this text.
    static int CountLines(const std::string& text, const std::string& line);

    XServer server;
    GameSandbox game;
};
