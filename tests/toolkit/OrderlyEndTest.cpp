// Endings the player did not choose: a signal that must end the loop as a quit request does, and
// the X server going away under the program.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/FormFixture.h"
#include "tests/support/TempFolder.h"
#include "tools/harness/XServer.h"
#include "toolkit/EventLoop.h"
#include "toolkit/Timer.h"

using OrderlyEndTest = FormFixture;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST_F(OrderlyEndTest, ASignalWhileAHandlerRunsEndsTheLoopAfterIt)
{
    EndLoopOnSignals({SIGTERM, SIGINT});
    int closed = 0;
    form->SetOnClosed([&](GUIElement&) { ++closed; });
    Timer timer(form.get(), 10);
    int ticks = 0;
    timer.SetOnTimer([&](Timer&) {
        if (++ticks == 3) raise(SIGTERM);
    });
    timer.Start();
    ::Run(*form);
    EXPECT_TRUE(QuitRequested());
    CancelQuitRequest();
    EXPECT_EQ(ticks, 3) << "the loop ends as soon as the handler returns";
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(form->GetWindow(), 0u) << "the windows are closed as for a quit request";
}

TEST_F(OrderlyEndTest, ASignalWhileTheLoopWaitsWithoutTimersEndsIt)
{
    EndLoopOnSignals({SIGTERM, SIGINT});
    // No timer: the loop would wait for X events for ever. The signal comes from another thread
    // once the loop has served an event and gone back to waiting.
    std::thread sender;
    form->SetOnMouseMove([&](GUIElement&, int, int) {
        if (!sender.joinable()) sender = std::thread([] { kill(getpid(), SIGINT); });
    });
    XWarpPointer(display, 0, form->GetWindow(), 0, 0, 0, 0, 50, 50);
    XSync(display, False);
    ::Run(*form);
    if (sender.joinable()) sender.join();
    EXPECT_TRUE(QuitRequested());
    CancelQuitRequest();
}

TEST_F(OrderlyEndTest, ASignalBeforeTheLoopStartsOnlyCloses)
{
    EndLoopOnSignals({SIGTERM});
    raise(SIGTERM);
    int closed = 0;
    form->SetOnClosed([&](GUIElement&) { ++closed; });
    ::Run(*form);
    EXPECT_TRUE(QuitRequested());
    CancelQuitRequest();
    EXPECT_EQ(closed, 1);
}

TEST_F(OrderlyEndTest, AForkedChildIsEndedByTheSignalAndTheLoopGoesOn)
{
    EndLoopOnSignals({SIGTERM, SIGINT});
    const pid_t child = fork();
    if (child == 0) {
        for (;;) pause();
    }
    ASSERT_GT(child, 0);
    kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "the child ends as it would have";

    // Had the child's signal reached the loop, it would end before its first tick.
    Timer timer(form.get(), 10);
    int ticks = 0;
    timer.SetOnTimer([&](Timer&) {
        if (++ticks == 3) RequestQuit();
    });
    timer.Start();
    ::Run(*form);
    CancelQuitRequest();
    EXPECT_EQ(ticks, 3);
}

TEST(DisplayLoss, TheActionRunsAndTheProgramEndsWithStatusOne)
{
    TempFolder folder;
    const std::string marker = folder.Path() + "/tidied";
    EXPECT_EXIT(
        {
            XServer server;
            if (!server.Start()) std::exit(2);
            setenv("DISPLAY", server.Name().c_str(), 1);
            DisplayConnection connection("t");
            static std::string markerPath;
            markerPath = marker;
            DisplayConnection::SetOnConnectionLost([] { std::ofstream(markerPath) << "tidied\n"; });
            server.Stop();
            XSync(connection.GetDisplay(), False);
            std::exit(3);
        },
        ::testing::ExitedWithCode(1), "");
    EXPECT_EQ(ReadFile(marker), "tidied\n");
    EXPECT_EQ(ReadFile(folder.Path() + "/log.txt"), "Lost the connection to the X server.\n");
}
