#include <gtest/gtest.h>

#include "tests/e2e/GameProcess.h"
#include "tests/support/TempFolder.h"
#include "tools/harness/PlayerView.h"
#include "tools/harness/Poll.h"
#include "tools/harness/XServer.h"
#include "util/Files.h"

using namespace std::chrono_literals;

TEST(Startup, WithoutADisplayTheGameStopsAtOnce)
{
    TempFolder folder;
    folder.WriteFile("log.txt", "left over from an earlier run\n");
    GameProcess game(folder.Path(), {{"DISPLAY", ""}});
    const auto status = game.Wait(60s);
    ASSERT_TRUE(status.has_value()) << "the game did not stop";
    EXPECT_NE(*status, 0);
    EXPECT_EQ(game.Output(), "XOpenDisplay(0) failed.\n");
    EXPECT_EQ(folder.ReadFile("log.txt"), "XOpenDisplay(0) failed.\n");
}

TEST(Startup, EightBitDisplayIsReportedAndTheGameGoesOn)
{
    XServer server;
    ASSERT_TRUE(server.Start(8, 1024, 768));
    TempFolder folder;
    GameProcess game(folder.Path(), {{"DISPLAY", server.Name()}});
    const std::string warning = "This app requires 24-bit depth.\n";
    EXPECT_TRUE(WaitFor([&] { return folder.ReadFile("log.txt").find(warning) != std::string::npos; }, 60s));
    EXPECT_NE(PlayerView("", server.Name()).WaitForMainWindow(60s), 0u) << "start-up continues to the main window";
    EXPECT_FALSE(game.Wait(0ms).has_value());
}

TEST(Startup, LeftoverLogIsDeletedAndQuittingEndsCleanly)
{
    TempFolder folder;
    folder.WriteFile("log.txt", "left over from an earlier run\n");
    GameProcess game(folder.Path(), {{"DISPLAY", SharedXServer().Name()}});
    PlayerView view("");
    ASSERT_TRUE(view.QuitGame(60s));
    const auto status = game.Wait(60s);
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
