// A system with no process to spare: fork fails for the game's user (RLIMIT_NPROC), at start-up,
// for every sound and for the About box's links. The game must play on without a joystick, in
// silence and without a browser, and still end in order.

#include <filesystem>
#include <regex>

#include "tests/fault/DeviceWriter.h"
#include "tests/fault/FaultCase.h"

class ProcessFault : public FaultCase {
protected:
    // A game that scores, its name typed, the About box and both links, then EXIT and YES.
    void PlayEverythingThatForks(Player& player)
    {
        ASSERT_TRUE(player.WaitForTitleScreen(60s));
        ASSERT_TRUE(player.StartGame(60s));
        ASSERT_TRUE(player.CatchOneThenMiss(180s));
        ASSERT_TRUE(player.EnterName("ANNA", 60s));
        ASSERT_TRUE(player.VisitAboutAndLinks(60s));
        QuitAndExpectStatusZero(player);
    }

    void ExpectScoreRecorded()
    {
        EXPECT_TRUE(
            std::regex_match(game.Read(GameSandbox::tablePath), std::regex("(?!00000000)[0-9]{8} ANNA {9}Level 1\n")))
            << game.Read(GameSandbox::tablePath);
    }
};

TEST_F(ProcessFault, TheLinksStartTheirProgramsWhenForkWorks)
{
    StartServer();
    StartGame();
    Player player(BuildSheet());
    ASSERT_TRUE(player.WaitForTitleScreen(60s));
    ASSERT_TRUE(player.VisitAboutAndLinks(60s));
    EXPECT_TRUE(WaitFor([&] { return game.LinksOpened().find("thunderbird -compose to=") != std::string::npos; }, 60s));
    EXPECT_NE(game.LinksOpened().find("firefox http"), std::string::npos) << game.LinksOpened();
    QuitAndExpectStatusZero(player);
    ExpectNothingLeftBehind();
    ExpectTableIntact();
}

TEST_F(ProcessFault, WhenNoForkSucceedsTheGamePlaysWithoutJoystickSoundsOrLinks)
{
    if (!CanChangeUser()) GTEST_SKIP() << "the limit on processes binds only users other than root";
    std::filesystem::remove(game.Path(GameSandbox::tablePath));
    StartServer();
    StartGame(GameRun().AsOtherUser(1));
    Player player(BuildSheet());
    PlayEverythingThatForks(player);
    EXPECT_EQ(game.Log(), "Could not open joystick. Use the cursor keys to move.\n");
    EXPECT_EQ(game.SoundsPlayed(), "");
    EXPECT_EQ(game.LinksOpened(), "");
    ExpectScoreRecorded();
    ExpectNothingLeftBehind();
}

TEST_F(ProcessFault, WhenOnlyTheReaderCouldBeForkedSoundsAndLinksFailQuietly)
{
    if (!CanChangeUser()) GTEST_SKIP() << "the limit on processes binds only users other than root";
    std::filesystem::remove(game.Path(GameSandbox::tablePath));
    StartServer();
    // The game and its reader: with the reader waiting on the device, no third process fits.
    StartGame(GameRun().Joystick().AsOtherUser(2));
    DeviceWriter device;
    ASSERT_TRUE(device.Open(game.JoystickDevice(), 60s)) << "the reader was forked";
    ASSERT_TRUE(WaitFor([&] { return !game.SharedObjects().empty(); }, 60s));
    Player player(BuildSheet());
    PlayEverythingThatForks(player);
    EXPECT_EQ(game.Log(), "");
    EXPECT_EQ(game.SoundsPlayed(), "");
    EXPECT_EQ(game.LinksOpened(), "");
    ExpectScoreRecorded();
    ExpectNothingLeftBehind();
}
