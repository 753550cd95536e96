#include <gtest/gtest.h>

#include "tests/e2e/GameProcess.h"
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

TEST(Startup, SixteenBitDisplayIsReported)
{
    XServer server;
    ASSERT_TRUE(server.Start(16, 1024, 768));
    TempFolder folder;
    GameProcess game(folder.Path(), {{"DISPLAY", server.Name()}});
    ASSERT_TRUE(game.Wait(20s).has_value());
    EXPECT_NE(folder.ReadFile("log.txt").find("This app requires 24-bit depth.\n"), std::string::npos);
}

TEST(Startup, LeftoverLogIsDeletedAndACleanRunLogsNothing)
{
    TempFolder folder;
    folder.WriteFile("log.txt", "left over from an earlier run\n");
    GameProcess game(folder.Path(), {{"DISPLAY", SharedXServer().Name()}});
    const auto status = game.Wait(20s);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0);
    EXPECT_FALSE(FileExists("log.txt"));
}
