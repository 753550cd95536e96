#include "tests/fault/FaultCase.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

void FaultCase::SetUp()
{
    const std::string reason = GameSandbox::IsolationUnavailable();
    if (!reason.empty()) GTEST_SKIP() << reason;
}

void FaultCase::StartServer(int depth, const std::vector<std::string>& options)
{
    ASSERT_TRUE(server.Start(depth, 1280, 1024, options)) << "Xvfb did not start";
    setenv("DISPLAY", server.Name().c_str(), 1);
}

void FaultCase::StartGame(GameRun run)
{
    if (run.display.empty()) run.display = server.Name();
    ASSERT_TRUE(game.Start(run));
}

bool FaultCase::CanChangeUser() { return geteuid() == 0; }

std::string FaultCase::BuildSheet() { return std::string(KORVANTA_DATA_DIR) + "/pallini27x27.bin"; }

void FaultCase::QuitAndExpectStatusZero(Player& player)
{
    ASSERT_TRUE(player.Quit(60s)) << "EXIT and YES";
    const auto ending = game.Wait(60s);
    ASSERT_TRUE(ending.has_value()) << "the game did not end after YES";
    EXPECT_TRUE(ending->exited && ending->code == 0) << ending->Describe() << "\n" << game.Errors();
}

void FaultCase::ExpectNothingLeftBehind(const std::vector<std::string>& objectsLeft)
{
    ASSERT_TRUE(game.Wait(0ms).has_value()) << "the game is still running";
    EXPECT_EQ(game.CheckerReport(), "");
    const std::vector<pid_t> left = game.ProcessesLeft(60s);
    EXPECT_TRUE(left.empty()) << left.size() << " processes left, the first " << left.front();
    std::vector<std::string> objects = game.SharedObjects();
    std::vector<std::string> expected = objectsLeft;
    std::sort(objects.begin(), objects.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(objects, expected) << "shared memory left behind";
}

void FaultCase::ExpectTableIntact() { EXPECT_EQ(game.Read(GameSandbox::tablePath), GameSandbox::SeededTable()); }

int FaultCase::CountLines(const std::string& text, const std::string& line)
{
    std::istringstream lines(text);
    int count = 0;
    for (std::string each; std::getline(lines, each);) count += each == line;
    return count;
}
