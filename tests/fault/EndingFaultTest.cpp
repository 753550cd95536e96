// Endings the player did not choose: signals, the X server going away, the game killed outright.
// The joystick device is a FIFO, so that a reader and its shared record are alive when it happens.

#include <signal.h>

#include "tests/fault/DeviceWriter.h"
#include "tests/fault/FaultCase.h"

class EndingFault : public FaultCase {
protected:
    // A game in play with a live joystick reader and its record.
    void StartPlaying(Player& player)
    {
        StartGame(GameRun().Joystick());
        ASSERT_TRUE(device.Open(game.JoystickDevice(), 60s)) << "the reader never opened the device";
        ASSERT_TRUE(
            WaitFor([&] { return game.SharedObjects() == std::vector<std::string>{"mem_shared_hardJoy"}; }, 60s));
        ASSERT_TRUE(player.WaitForTitleScreen(60s));
        ASSERT_TRUE(player.StartGame(60s));
        ASSERT_TRUE(player.BallsAreFalling(60s));
    }

    DeviceWriter device;
};

TEST_F(EndingFault, SigtermDuringPlayEndsTheGameAsExitAndYesDo)
{
    StartServer();
    Player player(BuildSheet());
    StartPlaying(player);
    game.Signal(SIGTERM);
    const auto ending = game.Wait(60s);
    ASSERT_TRUE(ending.has_value()) << "SIGTERM did not end the game";
    EXPECT_TRUE(ending->exited && ending->code == 0) << ending->Describe();
    EXPECT_TRUE(WaitFor([&] { return player.View().FindWindow("Korvanta - ") == 0; }, 60s)) << "the window is gone";
    EXPECT_EQ(game.Log(), "");
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

TEST_F(EndingFault, CtrlCDuringPlayEndsTheGameAsExitAndYesDo)
{
    StartServer();
    Player player(BuildSheet());
    StartPlaying(player);
    // A terminal sends SIGINT to the whole process group: the game, its reader and its sounds.
    kill(-game.Pid(), SIGINT);
    const auto ending = game.Wait(60s);
    ASSERT_TRUE(ending.has_value()) << "SIGINT did not end the game";
    EXPECT_TRUE(ending->exited && ending->code == 0) << ending->Describe();
    EXPECT_EQ(game.Log(), "");
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

TEST_F(EndingFault, SigtermWithADialogOpenEndsTheGame)
{
    StartServer();
    Player player(BuildSheet());
    StartPlaying(player);
    player.View().Click(player.View().FindWindow("Korvanta - "), WellLayout::buttonCentreX,
                        WellLayout::ButtonCentreY(WellLayout::exitTop));
    ASSERT_TRUE(WaitFor([&] { return player.View().FindWindow("Exit") != 0; }, 60s));
    game.Signal(SIGTERM);
    const auto ending = game.Wait(60s);
    ASSERT_TRUE(ending.has_value());
    EXPECT_TRUE(ending->exited && ending->code == 0) << ending->Describe();
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

TEST_F(EndingFault, LosingTheXServerEndsTheReaderAndRemovesTheRecord)
{
    StartServer();
    {
        Player player(BuildSheet());
        StartPlaying(player);
    }
    server.Kill();
    const auto ending = game.Wait(60s);
    ASSERT_TRUE(ending.has_value()) << "the game did not notice the server going away";
    EXPECT_TRUE(ending->exited && ending->code == 1) << ending->Describe();
    EXPECT_EQ(game.Log(), "Lost the connection to the X server.\n");
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

TEST_F(EndingFault, TheMainWindowDestroyedByAnotherClientEndsTheGame)
{
    StartServer();
    Player player(BuildSheet());
    StartPlaying(player);
    Display* other = XOpenDisplay(server.Name().c_str());
    ASSERT_NE(other, nullptr);
    XDestroyWindow(other, player.View().FindWindow("Korvanta - "));
    XCloseDisplay(other);
    const auto ending = game.Wait(60s);
    ASSERT_TRUE(ending.has_value()) << "the game runs on without its window";
    EXPECT_TRUE(ending->exited && ending->code == 1) << ending->Describe();
    EXPECT_EQ(CountLines(game.Log(), "The main window was destroyed by another program."), 1) << game.Log();
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

TEST_F(EndingFault, AGameKilledOutrightTakesItsReaderRecordAndSoundsWithIt)
{
    StartServer();
    // Every sound plays for 20 seconds, far longer than a game killed in the middle may leave it.
    game.SetFakeAplay("exec sleep 20");
    Player player(BuildSheet());
    StartPlaying(player);
    ASSERT_TRUE(WaitFor([&] { return !game.SoundsPlayed().empty(); }, 60s)) << "a ball hits a peg";
    game.Signal(SIGKILL);
    const auto ending = game.Wait(60s);
    ASSERT_TRUE(ending.has_value());
    EXPECT_EQ(ending->signal, SIGKILL);
    EXPECT_TRUE(game.ProcessesLeft(2s).empty()) << "a sound outlives the game";
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}
