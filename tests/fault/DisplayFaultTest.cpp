// The display the game is given: none, one that is not there, one of 16 bits, one without fonts.

#include <algorithm>

#include "tests/fault/FaultCase.h"

class DisplayFault : public FaultCase {};

TEST_F(DisplayFault, WithoutADisplayTheGameStopsAtOnceAndStartsNothing)
{
    game.Write("log.txt", "left over\n");
    StartGame(GameRun().Display(""));
    const auto ending = game.Wait(60s);
    ASSERT_TRUE(ending.has_value());
    EXPECT_TRUE(ending->exited && ending->code != 0) << ending->Describe();
    EXPECT_EQ(game.Log(), "XOpenDisplay(0) failed.\n");
    EXPECT_FALSE(game.Exists("joystick.cfg")) << "nothing after the display is reached";
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

TEST_F(DisplayFault, ADisplayThatIsNotThereIsNoDisplay)
{
    StartGame(GameRun().Display(":4093"));
    const auto ending = game.Wait(60s);
    ASSERT_TRUE(ending.has_value());
    EXPECT_TRUE(ending->exited && ending->code != 0) << ending->Describe();
    EXPECT_EQ(game.Log(), "XOpenDisplay(0) failed.\n");
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

TEST_F(DisplayFault, OnASixteenBitDisplayTheGameShowsItsColoursAndPlays)
{
    StartServer(16);
    StartGame();
    Player player(BuildSheet());
    ASSERT_TRUE(player.WaitForTitleScreen(60s)) << "the title screen matches the sheet, in 5/6/5 bits";
    ASSERT_TRUE(player.StartGame(60s));
    ASSERT_TRUE(player.BallsAreFalling(60s));
    QuitAndExpectStatusZero(player);
    EXPECT_EQ(CountLines(game.Log(), "This app requires 24-bit depth."), 0);
    EXPECT_EQ(game.Log().find("WARNING"), std::string::npos) << game.Log();
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

TEST_F(DisplayFault, WithoutTheMainFontTheGamePlays)
{
    // An X server always has its built-in "fixed" and "cursor"; with nothing else, the game's
    // font pattern matches nothing.
    StartServer(24, {"-fp", "built-ins"});
    StartGame();
    Player player(BuildSheet());
    ASSERT_TRUE(player.WaitForTitleScreen(60s));
    ASSERT_TRUE(player.StartGame(60s));
    ASSERT_TRUE(player.BallsAreFalling(60s));
    QuitAndExpectStatusZero(player);
    // The missing font is reported once however often it is tried, and nothing else goes wrong.
    const std::string log = game.Log();
    EXPECT_EQ(CountLines(log, "XLoadQueryFont failed"), 1);
    EXPECT_EQ(CountLines(log, "XLoadQueryFont failed") +
                  CountLines(log, "Could not open joystick. Use the cursor keys to move."),
              std::count(log.begin(), log.end(), '\n'))
        << log.substr(0, 2000);
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}
