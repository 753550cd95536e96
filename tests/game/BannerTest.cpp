#include <gtest/gtest.h>

#include <sys/stat.h>

#include "tests/game/GameFixture.h"
#include "toolkit/CellControl.h"

class Banner : public GameFixture {
protected:
    void PrepareFolder() override
    {
        mkdir("Data", 0777);
        mkdir("Data/Korvanta", 0777);
        mkdir("Data/Korvanta/Score", 0777);
        folder->WriteFile("Data/Korvanta/Score/Classifica.txt",
                          "00000012 ANNA         Level 3\n00000005 BOB          Level 1\n00000001 CY           Level 1\n");
    }

    std::string After(long milliseconds)
    {
        Wait(milliseconds);
        game->Tick();
        return game->Banner()->GetText();
    }
};

TEST_F(Banner, ShowsEachLineThenOnePeriodEmptyThenStartsAgain)
{
    ASSERT_EQ(game->HighScores().size(), 3u);
    game->Tick();
    EXPECT_EQ(game->Banner()->GetText(), "");
    EXPECT_EQ(After(5000), "") << "exactly 5000 ms is not yet a change";
    EXPECT_EQ(After(1), "Top Ten: 1  Score 00000012 ANNA         Level 3");
    EXPECT_EQ(After(5001), "Top Ten: 2  Score 00000005 BOB          Level 1");
    EXPECT_EQ(After(5001), "Top Ten: 3  Score 00000001 CY           Level 1");
    EXPECT_EQ(After(5001), "");
    EXPECT_EQ(After(5001), "Top Ten: 1  Score 00000012 ANNA         Level 3");
}

using EmptyBanner = GameFixture;

TEST_F(EmptyBanner, StaysEmptyWithoutScores)
{
    for (int i = 0; i < 4; ++i) {
        Wait(5001);
        game->Tick();
        EXPECT_EQ(game->Banner()->GetText(), "");
    }
}
