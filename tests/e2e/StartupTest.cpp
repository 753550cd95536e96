#include <gtest/gtest.h>

#include <thread>

#include "tests/e2e/GameProcess.h"
#include "tests/e2e/PlayerView.h"
#include "tests/support/TempFolder.h"
#include "tests/support/XServer.h"
#include "util/Files.h"

using namespace std::chrono_literals;

TEST(Startup, WithoutADisplayTheGameStopsAtOnce)
{
    TempFolder folder;
    folder.WriteFile("log.txt", "left over from an earlier run\n");
    GameProcess game(folder.Path(), {{"DISPLAY", ""}});
    const auto status = game.Wait(10s);
    ASSERT_TRUE(status.has_value()) << "the game did not stop";
    EXPECT_NE(*status, 0);
    EXPECT_EQ(game.Output(), "XOpenDisplay(0) failed.\n");
    EXPECT_EQ(folder.ReadFile("log.txt"), "XOpenDisplay(0) failed.\n");
}

TEST(Startup, SixteenBitDisplayIsReportedAndTheGameGoesOn)
{
    XServer server;
    ASSERT_TRUE(server.Start(16, 1024, 768));
    TempFolder folder;
    GameProcess game(folder.Path(), {{"DISPLAY", server.Name()}});
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (folder.ReadFile("log.txt").find("This app requires 24-bit depth.\n") == std::string::npos &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(20ms);
    EXPECT_NE(folder.ReadFile("log.txt").find("This app requires 24-bit depth.\n"), std::string::npos);
    EXPECT_FALSE(game.Wait(200ms).has_value()) << "start-up continues";
}

TEST(Startup, LeftoverLogIsDeletedAndQuittingEndsCleanly)
{
    TempFolder folder;
    folder.WriteFile("log.txt", "left over from an earlier run\n");
    GameProcess game(folder.Path(), {{"DISPLAY", SharedXServer().Name()}});
    PlayerView view("");
    ASSERT_TRUE(view.QuitGame(20s));
    const auto status = game.Wait(20s);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0);
    // Only what a machine without a joystick and without the game's data reports; the two lines
    // come from two processes, so in either order.
    const std::string log = folder.ReadFile("log.txt");
    EXPECT_EQ(log.size(), std::string("Data/pallini27x27.bin: non trovato\n"
                                      "Could not open joystick. Use the cursor keys to move.\n")
                              .size())
        << log;
    EXPECT_NE(log.find("Data/pallini27x27.bin: non trovato\n"), std::string::npos);
    EXPECT_NE(log.find("Could not open joystick. Use the cursor keys to move.\n"), std::string::npos);
}
