// The play-through under valgrind: a whole game played from outside (start, a catch and a miss,
// the name, the About box and its links, EXIT and YES) must end with no leak and no invalid read
// or write in the game process. The sanitizer build checks the same with LeakSanitizer in every
// end-to-end case; valgrind cannot run that build, so this check belongs to the plain one.

#include <filesystem>
#include <regex>

#include "tests/fault/FaultCase.h"

class LeakCheck : public FaultCase {};

TEST_F(LeakCheck, APlayThroughUnderValgrindLeaksNothing)
{
    std::filesystem::remove(game.Path(GameSandbox::tablePath));
    StartServer();
    GameRun run;
    run.launcher = {"valgrind",
                    "--quiet",
                    "--leak-check=full",
                    "--show-leak-kinds=definite,indirect",
                    "--errors-for-leak-kinds=definite,indirect",
                    "--error-exitcode=99",
                    "--child-silent-after-fork=yes",
                    "--num-callers=30"};
    StartGame(run);
    Player player(BuildSheet());
    ASSERT_TRUE(player.WaitForTitleScreen(120s)) << game.Errors();
    ASSERT_TRUE(player.StartGame(60s));
    ASSERT_TRUE(player.CatchOneThenMiss(300s));
    ASSERT_TRUE(player.EnterName("ANNA", 60s));
    ASSERT_TRUE(player.VisitAboutAndLinks(60s));
    ASSERT_TRUE(player.Quit(60s));
    const auto ending = game.Wait(120s);
    ASSERT_TRUE(ending.has_value()) << "the game did not end after YES";
    EXPECT_TRUE(ending->exited && ending->code == 0) << ending->Describe() << "\n" << game.Errors();
    EXPECT_EQ(game.Errors(), "") << "valgrind's report";
    EXPECT_TRUE(
        std::regex_match(game.Read(GameSandbox::tablePath), std::regex("(?!00000000)[0-9]{8} ANNA {9}Level 1\n")));
    ExpectNothingLeftBehind();
}
