#include <gtest/gtest.h>
#include <fcntl.h>

#include <cstdlib>

#include "tests/support/TempFolder.h"
#include "toolkit/DisplayConnection.h"

TEST(DisplayConnection, OpensTheDefaultDisplayAt24Bits)
{
    TempFolder folder;
    DisplayConnection connection("title");
    ASSERT_NE(connection.GetDisplay(), nullptr);
    EXPECT_EQ(DisplayConnection::Default(), &connection);
    EXPECT_EQ(connection.GetDepth(), 24);
    EXPECT_EQ(connection.GetScreenWidth(), 1280);
    EXPECT_EQ(connection.GetScreenHeight(), 1024);
    EXPECT_EQ(DisplayConnection::DefaultScreenWidth(), 1280);
    ASSERT_NE(connection.GetVisualInfo(), nullptr);
    EXPECT_EQ(connection.GetVisualInfo()->depth, 24);
    EXPECT_STREQ(connection.GetTitle(), "title");
    EXPECT_EQ(folder.ReadFile("log.txt"), "") << "a 24-bit display logs nothing";

    Display* display = connection.GetDisplay();
    EXPECT_NE(fcntl(ConnectionNumber(display), F_GETFD) & FD_CLOEXEC, 0) << "no program the game starts holds it";
    // Protocol errors, such as those of a window that another client destroyed, are logged once
    // for each request and error, and the program goes on.
    for (int round = 0; round < 2; ++round) {
        XDestroyWindow(display, 0x7fffffff);
        XUnmapWindow(display, 0x7fffffff);
    }
    XSync(display, False);
    EXPECT_EQ(folder.ReadFile("log.txt"), "X error BadWindow (invalid Window parameter) on request 4\n"
                                          "X error BadWindow (invalid Window parameter) on request 10\n");

    EXPECT_TRUE(connection.Close());
    EXPECT_FALSE(connection.Close());
    EXPECT_EQ(connection.GetDisplay(), nullptr);
}

TEST(DisplayConnection, PointerPositionFollowsTheDefaultConnection)
{
    EXPECT_EQ(DisplayConnection::PointerPosition(), (std::pair<int, int>{0, 0}));
    DisplayConnection connection("t");
    Display* display = connection.GetDisplay();
    XWarpPointer(display, 0, RootWindow(display, connection.GetScreen()), 0, 0, 0, 0, 321, 123);
    XSync(display, False);
    EXPECT_EQ(DisplayConnection::PointerPosition(), (std::pair<int, int>{321, 123}));
}

TEST(DisplayConnection, UnreachableServerIsLoggedOnce)
{
    TempFolder folder;
    const std::string saved = std::getenv("DISPLAY");
    setenv("DISPLAY", ":99999", 1);
    DisplayConnection connection("t");
    setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_TRUE(connection.OpenFailed());
    EXPECT_EQ(connection.GetDisplay(), nullptr);
    EXPECT_FALSE(connection.Close());
    EXPECT_EQ(connection.GetScreenWidth(), 800);
    EXPECT_EQ(connection.GetDepth(), 8);
    EXPECT_EQ(folder.ReadFile("log.txt"), "XOpenDisplay(0) failed.\n");
}
