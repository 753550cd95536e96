// The rules on the well alone, without a window: the test is the well's view, keeps its own copy
// of the cells from what it is told, sets the time and the dice, and plays by steering the catcher.

#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/Steering.h"
#include "game/Well.h"
#include "tests/game/LoadedDice.h"

namespace {

// What a window would show: the cells as the view was told about them, and what else it was asked.
class RecordingView : public WellView {
public:
    RecordingView() { Forget(); }

    void Forget()
    {
        for (int row = 0; row < Well::rows; ++row)
            for (int column = 0; column < Well::columns; ++column) shown[Index(column, row)] = Well::InitialSprite(column, row);
        changes.clear();
        sounds.clear();
        labels.clear();
        gameOvers = 0;
        ballSteps = 0;
    }

    void SetCell(int column, int row, int sprite) override
    {
        ASSERT_TRUE(column >= 0 && column < Well::columns && row >= 0 && row < Well::rows);
        EXPECT_NE(shown[Index(column, row)], sprite) << "a cell is redrawn only when its sprite changes";
        shown[Index(column, row)] = sprite;
        changes.push_back({column, row, sprite, inBallStep});
    }
    void UpdateLabels() override { labels.push_back({well->Level(), well->Score(), well->BallsToCatch()}); }
    void SetStatus(const std::string& text) override { status = text; }
    void SetBannerText(const std::string& text) override { banner = text; }
    void PlaySound(const char* path) override { sounds.emplace_back(path); }
    int ReadDirection() override { return steer ? steer() : direction; }
    void GameOver() override
    {
        EXPECT_FALSE(well->IsRunning()) << "the game has stopped before the window hears of it";
        ++gameOvers;
    }
    void BallStepBegins() override
    {
        EXPECT_FALSE(inBallStep);
        inBallStep = true;
        ++ballSteps;
    }
    void BallStepEnded() override
    {
        EXPECT_TRUE(inBallStep);
        inBallStep = false;
    }

    int Shown(int column, int row) const { return shown[Index(column, row)]; }

    struct Change {
        int column, row, sprite;
        bool inBallStep;
    };
    struct Labels {
        int level, score, ballsToCatch;
    };

    const Well* well = nullptr;
    std::array<int, Well::columns * Well::rows> shown{};
    std::vector<Change> changes;
    std::vector<std::string> sounds;
    std::vector<Labels> labels;
    std::string status = "unset";
    std::string banner;
    int direction = 0;
    std::function<int()> steer;
    int gameOvers = 0;
    int ballSteps = 0;
    bool inBallStep = false;

private:
    static std::size_t Index(int column, int row) { return static_cast<std::size_t>(column + Well::columns * row); }
};

class Rules : public ::testing::Test {
protected:
    Rules() { NewWell(); }

    void TearDown() override
    {
        if (!viewBehind) ExpectViewShowsTheWell();
    }

    // The view was told of every change the rules made; one report is enough.
    void ExpectViewShowsTheWell()
    {
        for (int row = 0; row < Well::rows; ++row)
            for (int column = 0; column < Well::columns; ++column)
                if (view.Shown(column, row) != well->SpriteAt(column, row)) {
                    ADD_FAILURE() << "the view was not told of a change: cell " << column << ", " << row;
                    viewBehind = true;
                    return;
                }
    }

    // One expiry of the game timer; after it the view must show what the well holds.
    void Tick()
    {
        well->Tick();
        if (!viewBehind) ExpectViewShowsTheWell();
    }

    // A fresh well, as a new program has it.
    void NewWell()
    {
        view.Forget();
        well = std::make_unique<Well>(view, WellSeams{[this] { return Stamp(); }, LoadedDice(dice)});
        view.well = well.get();
    }

    DateTime Stamp() const
    {
        DateTime stamp(2026, 3, 2, 12, 0, 0);
        stamp.seconds += static_cast<int>(elapsed / 1000);
        stamp.millisecond = static_cast<int>(elapsed % 1000);
        return stamp;
    }

    void Wait(long milliseconds) { elapsed += milliseconds; }

    // One timer expiry after another, with no time passing, until the next ball step has run.
    void BallStep()
    {
        for (int i = 0; i < 26; ++i) Tick();
    }

    // Starts a game and lets a ball enter at the column.
    void StartWithBallAt(int column)
    {
        well->StartGame();
        Tick();
        Wait(2001);
        dice = {column};
        BallStep();
        ASSERT_EQ(well->Balls()[0].column, column);
        ASSERT_EQ(well->Balls()[0].row, 0);
    }

    // The lowest ball in play, or none.
    const Ball* LowestBall() const
    {
        const Ball* lowest = nullptr;
        for (const Ball& ball : well->Balls())
            if (ball.column > 0 && (!lowest || ball.row > lowest->row)) lowest = &ball;
        return lowest;
    }

    // Plays as a player would, 30 ms a tick: the catcher goes under the lowest ball, or, to miss,
    // as far from it as the well allows. Stops when the condition holds; false after too long.
    bool PlayUntil(const std::function<bool()>& done, bool miss = false)
    {
        view.steer = [this, miss] {
            const Ball* ball = LowestBall();
            if (!ball) return 0;
            const int target = miss ? (ball->column <= 5 ? Well::lastColumn : Well::firstColumn) : ball->column;
            return target < well->PlayerColumn() ? -1 : target > well->PlayerColumn() ? 1 : 0;
        };
        for (int tick = 0; tick < 200000 && !done(); ++tick) {
            Wait(30);
            Tick();
        }
        view.steer = nullptr;
        return done();
    }

    bool CatchOne()
    {
        const int score = well->Score();
        return PlayUntil([&] { return well->Score() > score || !well->IsRunning(); }) && well->IsRunning();
    }

    int CountSprites(int sprite) const
    {
        int count = 0;
        for (int row = 0; row < Well::rows; ++row)
            for (int column = 0; column < Well::columns; ++column) count += well->SpriteAt(column, row) == sprite;
        return count;
    }

    RecordingView view;
    std::unique_ptr<Well> well;
    std::deque<int> dice;
    long elapsed = 0;
    bool viewBehind = false;
};

}  // namespace

TEST_F(Rules, WellStartsWithWallsAndFloorAndTheTitleAddsTheWordMarkButNoCatcher)
{
    EXPECT_EQ(well->SpriteAt(0, 0), Well::leftWallSprite);
    EXPECT_EQ(well->SpriteAt(11, 13), Well::rightWallSprite);
    EXPECT_EQ(well->SpriteAt(5, 14), Well::floorSprite);
    EXPECT_EQ(well->SpriteAt(0, 14), Well::bottomLeftSprite);
    EXPECT_EQ(well->SpriteAt(11, 14), Well::bottomRightSprite);
    EXPECT_EQ(well->SpriteAt(12, 0), -1);
    EXPECT_TRUE(Well::IsInterior(1, 0));
    EXPECT_TRUE(Well::IsInterior(10, 13));
    EXPECT_FALSE(Well::IsInterior(0, 5));
    EXPECT_FALSE(Well::IsInterior(5, 14));

    well->ShowTitleScreen();
    EXPECT_EQ(well->SpriteAt(8, 8), 2);
    EXPECT_EQ(well->SpriteAt(7, 9), 1);
    EXPECT_EQ(well->SpriteAt(9, 9), 3);
    EXPECT_EQ(well->SpriteAt(8, 10), 4);
    EXPECT_EQ(well->SpriteAt(2, 2), Well::wordMarkLeftSprite) << "left columns of a letter";
    EXPECT_EQ(well->SpriteAt(4, 2), Well::wordMarkRightSprite) << "right column of a letter";
    EXPECT_EQ(CountSprites(Well::catcherSprite), 0);
    EXPECT_EQ(view.status, "");
    for (int i = 0; i < 100; ++i) Tick();
    EXPECT_EQ(CountSprites(Well::catcherSprite), 0) << "the catcher is drawn only in a game";
}

TEST_F(Rules, StartPlacesTheLatticeAndCancelReturnsToTheTitle)
{
    well->ShowTitleScreen();
    well->StartGame();
    EXPECT_TRUE(well->IsRunning());
    EXPECT_EQ(well->Level(), 1);
    EXPECT_EQ(well->Score(), 0);
    EXPECT_EQ(well->Balls().size(), 1u);
    EXPECT_EQ(well->BallsToCatch(), 10);
    ASSERT_FALSE(view.labels.empty());
    EXPECT_EQ(view.labels.back().level, 1);
    EXPECT_EQ(view.labels.back().ballsToCatch, 10);
    EXPECT_EQ(CountSprites(Well::pegSprite), 25);
    for (int column : {1, 5, 9}) EXPECT_EQ(well->SpriteAt(column, 2), Well::pegSprite);
    for (int column : {4, 8}) EXPECT_EQ(well->SpriteAt(column, 11), Well::pegSprite);
    for (int column : {2, 6, 10}) EXPECT_EQ(well->SpriteAt(column, 9), Well::pegSprite);
    EXPECT_EQ(well->SpriteAt(8, 10), Well::emptySprite) << "the title's balls are gone";

    well->CancelGame();
    well->ShowTitleScreen();
    EXPECT_FALSE(well->IsRunning());
    EXPECT_EQ(CountSprites(Well::pegSprite), 0);
    EXPECT_EQ(well->SpriteAt(8, 10), 4);
    EXPECT_EQ(well->Level(), 1) << "level and score keep their values";
}

TEST_F(Rules, BallsFallStraightAndBounceOffPegsInwardsAtTheWalls)
{
    StartWithBallAt(1);
    EXPECT_EQ(well->SpriteAt(1, 0), 1);
    BallStep();
    EXPECT_EQ(well->Balls()[0].row, 1) << "no peg below: straight down";
    EXPECT_EQ(well->Balls()[0].column, 1);
    EXPECT_TRUE(view.sounds.empty());
    BallStep();
    EXPECT_EQ(well->Balls()[0].column, 2) << "a peg below column 1 always sends the ball inwards";
    EXPECT_EQ(well->Balls()[0].row, 2);
    EXPECT_EQ(well->SpriteAt(2, 2), 1);
    EXPECT_EQ(well->SpriteAt(1, 1), Well::emptySprite);
    EXPECT_EQ(well->SpriteAt(1, 2), Well::pegSprite) << "the peg is left standing";
    EXPECT_EQ(view.sounds, std::vector<std::string>{"Data/beep.wav"});
    EXPECT_EQ(view.ballSteps, 3);
    for (const auto& change : view.changes) {
        const bool ballMove = change.sprite == 1 || (change.sprite == 0 && change.row < 2);
        EXPECT_TRUE(!ballMove || change.inBallStep) << "the balls move inside the bracket that the traffic meter counts";
    }

    NewWell();
    StartWithBallAt(10);
    for (int i = 0; i < 5; ++i) BallStep();
    EXPECT_EQ(well->Balls()[0].column, 9) << "a peg below column 10 sends it inwards too";
    EXPECT_EQ(well->Balls()[0].row, 5);

    NewWell();
    StartWithBallAt(5);
    dice = {2};
    for (int i = 0; i < 2; ++i) BallStep();
    EXPECT_EQ(well->Balls()[0].column, 4) << "elsewhere the dice choose: 2 goes left";
    NewWell();
    StartWithBallAt(5);
    dice = {1};
    for (int i = 0; i < 2; ++i) BallStep();
    EXPECT_EQ(well->Balls()[0].column, 6) << "1 goes right";
}

TEST_F(Rules, CatchScoresAndLeavesTheCatcherDrawn)
{
    well->StartGame();
    ASSERT_TRUE(CatchOne());
    EXPECT_EQ(well->Score(), 1);
    EXPECT_EQ(well->BallsToCatch(), 9);
    ASSERT_FALSE(view.labels.empty());
    EXPECT_EQ(view.labels.back().score, 1);
    EXPECT_EQ(view.sounds.back(), "Data/punteggio.wav");
    EXPECT_EQ(well->SpriteAt(well->PlayerColumn(), Well::catcherRow), Well::catcherSprite);
    EXPECT_EQ(well->Balls()[0].column, 0) << "the caught ball is out of play";
    for (const auto& change : view.changes)
        EXPECT_FALSE(change.row == Well::catcherRow && change.sprite == 1) << "a caught ball is never drawn on the catcher's row";
    EXPECT_EQ(view.gameOvers, 0);
}

TEST_F(Rules, BallBesideTheCatcherEndsTheGame)
{
    well->StartGame();
    ASSERT_TRUE(PlayUntil([&] { return !well->IsRunning(); }, true));
    EXPECT_EQ(view.gameOvers, 1);
    EXPECT_EQ(view.status, "Game over!");
    EXPECT_EQ(well->Balls()[0].row, Well::catcherRow);
    EXPECT_EQ(well->SpriteAt(well->Balls()[0].column, Well::catcherRow), 1) << "the missed ball is drawn on the catcher's row";
    EXPECT_EQ(well->Score(), 0);

    const std::size_t changes = view.changes.size();
    for (int i = 0; i < 100; ++i) {
        Wait(30);
        Tick();
    }
    EXPECT_EQ(view.changes.size(), changes) << "nothing moves once the game is over";
}

TEST_F(Rules, BallsEnterOneAtATimeMoreThanTwoSecondsApart)
{
    well->StartGame();
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(CatchOne());
    ASSERT_TRUE(well->InLevelPause());
    Wait(3001);
    Tick();
    ASSERT_EQ(well->Balls().size(), 2u);
    ASSERT_EQ(well->Balls()[0].column, 0);
    ASSERT_EQ(well->Balls()[1].column, 0);
    Wait(2001);
    dice = {7, 3};
    BallStep();
    EXPECT_EQ(well->Balls()[0].column, 7);
    EXPECT_EQ(well->Balls()[0].row, 0);
    EXPECT_EQ(well->SpriteAt(7, 0), 1);
    EXPECT_EQ(well->Balls()[1].column, 0) << "the second waits for its own gap";
    Wait(2000);
    BallStep();
    EXPECT_EQ(well->Balls()[1].column, 0) << "exactly 2000 ms is not enough";
    Wait(1);
    BallStep();
    EXPECT_EQ(well->Balls()[1].column, 3);
    EXPECT_EQ(well->SpriteAt(3, 0), 2) << "ball 1 is drawn with the second ball sprite";
}

TEST_F(Rules, CatchesNeededGrowByTwoUpToFifty)
{
    well->StartGame();
    std::vector<int> needed{well->BallsToCatch()};
    while (well->Level() < 23) {
        ASSERT_TRUE(CatchOne()) << "level " << well->Level();
        if (well->InLevelPause()) {
            Wait(3001);
            Tick();
            needed.push_back(well->BallsToCatch());
        }
    }
    for (std::size_t i = 0; i < needed.size(); ++i)
        EXPECT_EQ(needed[i], std::min(2 * static_cast<int>(i + 1) + 8, 50)) << "level " << i + 1;
    EXPECT_EQ(needed[20], 50);
}

TEST_F(Rules, CatcherMovesOneColumnEveryFifthTickWithinTheWell)
{
    well->StartGame();
    view.direction = -1;
    for (int i = 0; i < 5; ++i) Tick();
    EXPECT_EQ(well->PlayerColumn(), 1) << "left at column 1 does nothing";
    EXPECT_EQ(well->SpriteAt(1, 13), Well::catcherSprite);

    view.direction = 1;
    for (int i = 0; i < 4; ++i) Tick();
    EXPECT_EQ(well->PlayerColumn(), 1);
    Tick();
    EXPECT_EQ(well->PlayerColumn(), 2);
    EXPECT_EQ(well->SpriteAt(1, 13), Well::emptySprite);
    EXPECT_EQ(well->SpriteAt(2, 13), Well::catcherSprite);
    for (int i = 0; i < 100; ++i) Tick();
    EXPECT_EQ(well->PlayerColumn(), 10);

    for (int direction : {2, 3, 4, 0}) {
        view.direction = direction;
        for (int i = 0; i < 10; ++i) Tick();
        EXPECT_EQ(well->PlayerColumn(), 10) << "direction " << direction << " does not steer";
    }
}

TEST_F(Rules, BannerShowsEachLineThenOnePeriodEmptyThenStartsAgainAndNothingWithoutScores)
{
    well->SetTopTen({"00000012 ANNA         Level 3", "00000005 BOB          Level 1", "00000001 CY           Level 1"});
    auto after = [&](long milliseconds) {
        Wait(milliseconds);
        Tick();
        return view.banner;
    };
    Tick();
    EXPECT_EQ(view.banner, "");
    EXPECT_EQ(after(5000), "") << "exactly 5000 ms is not yet a change";
    EXPECT_EQ(after(1), "Top Ten: 1  Score 00000012 ANNA         Level 3");
    EXPECT_EQ(after(5001), "Top Ten: 2  Score 00000005 BOB          Level 1");
    EXPECT_EQ(after(5001), "Top Ten: 3  Score 00000001 CY           Level 1");
    EXPECT_EQ(after(5001), "");
    EXPECT_EQ(after(5001), "Top Ten: 1  Score 00000012 ANNA         Level 3");

    NewWell();
    view.banner = "untouched";
    for (int i = 0; i < 4; ++i) after(5001);
    EXPECT_EQ(view.banner, "untouched");
}

namespace {

// What the window and the speakers are asked, each line with the time of the asking; the timer
// that runs the rules sleeps through the ticks the well says it may, when the script lets it.
class JournalView : public WellView {
public:
    void SetCell(int column, int row, int sprite) override
    {
        Note("cell " + std::to_string(column) + "," + std::to_string(row) + "=" + std::to_string(sprite));
    }
    void UpdateLabels() override
    {
        Note("labels " + IntToText(well->Level()) + " " + IntToText(well->Score()) + " " + IntToText(well->BallsToCatch()));
    }
    void SetStatus(const std::string& text) override { Note("status " + text); }
    void SetBannerText(const std::string& text) override { Note("banner " + text); }
    void PlaySound(const char* path) override { Note(std::string("sound ") + path); }
    int ReadDirection() override { return direction; }
    void GameOver() override { Note("game over"); gameOverAt = now; }
    void WakeAtTick(int ticksAhead) override { ticksToSleep = sleeping ? ticksAhead - 1 : 0; }
    int TakeSleptTicks() override { return std::exchange(sleptTicks, 0); }

    void Note(const std::string& what) { journal.push_back(std::to_string(now) + " " + what); }

    const Well* well = nullptr;
    long now = 0;
    bool sleeping = false;
    int ticksToSleep = 0;
    int sleptTicks = 0;
    int direction = 0;
    long gameOverAt = 0;
    std::vector<std::string> journal;
};

// Plays one scripted game 10 ms at a time: START, CANCEL, START again, steering under the lowest
// ball with keys read every 70 ms through level 1, away from it on level 2 until the game is lost,
// then a new top ten. Answers the journal and how many ticks ran.
int PlayScript(JournalView& view)
{
    int rolls = 0;
    const auto stamp = [&view] {
        DateTime stamp(2026, 3, 2, 12, 0, 0);
        stamp.seconds += view.now / 1000;
        stamp.millisecond = static_cast<int>(view.now % 1000);
        return stamp;
    };
    Well well(view, WellSeams{stamp, [&rolls](int low, int high) { return low + (rolls++ * 7 + 3) % (high - low + 1); }});
    view.well = &well;
    well.SetTopTen({"00000004 ANNA         Level 1"});
    well.ShowTitleScreen();
    int ticksRun = 0;
    for (view.now = 10; view.now < 400000 && (!view.gameOverAt || view.now < view.gameOverAt + 17000); view.now += 10) {
        if (view.now == 1000 || view.now == 7000) well.StartGame();
        if (view.now == 5000) well.CancelGame();
        if (view.gameOverAt && view.now == view.gameOverAt + 1990) well.SetTopTen({"00000011 BOB          Level 2"});
        if (view.now % 70 == 0) {
            int target = well.PlayerColumn();
            for (const Ball& ball : well.Balls())
                if (ball.column > 0) target = well.Level() == 1 || ball.column > 5 ? ball.column : Well::lastColumn;
            view.direction = target < well.PlayerColumn() ? -1 : target > well.PlayerColumn() ? 1 : 0;
        }
        if (view.now % Well::tickMilliseconds != 0) continue;
        if (view.ticksToSleep > 0) {
            --view.ticksToSleep;
            ++view.sleptTicks;
        } else {
            ++ticksRun;
            well.Tick();
        }
    }
    return ticksRun;
}

}  // namespace

TEST(RulesSchedule, SleepingThroughTheTicksTheWellNamesChangesNothingTickForTick)
{
    JournalView everyTick, sleeping;
    sleeping.sleeping = true;
    const int ticksRun = PlayScript(everyTick);
    const int wakeUps = PlayScript(sleeping);
    const auto& full = everyTick.journal;
    const auto timeOf = [&full](const std::string& what) {
        const auto line = std::find_if(full.begin(), full.end(), [&](const std::string& noted) { return noted.find(what) != std::string::npos; });
        return line == full.end() ? -1L : std::stol(*line);
    };
    ASSERT_TRUE(timeOf(" labels 1 10 0") > 0 && timeOf(" game over") > 0 && timeOf(" banner Top Ten: 1  Score 00000011 BOB") > 0)
        << "the script played a level, lost a game and changed the top ten";
    EXPECT_EQ(timeOf(" labels 2 10 12") - timeOf(" status Level completed!"), 3030)
        << "the labels keep the finished level until the first tick more than 3000 ms on";
    const auto [differs, _] = std::mismatch(full.begin(), full.end(), sleeping.journal.begin(), sleeping.journal.end());
    EXPECT_TRUE(differs == full.end()) << "first difference: " << *differs;
    EXPECT_EQ(full.size(), sleeping.journal.size());
    EXPECT_LT(wakeUps * 4, ticksRun) << "the sleeping timer ran " << wakeUps << " ticks of " << ticksRun;
}

TEST(Steering, PriorityAndSharedFlags)
{
    KeyTable keys;
    EXPECT_EQ(SteeringDirection(keys, {.right = true, .down = true}), 3) << "the stick steers as the keys do";
    keys.KeyPressed(XK_Left);
    EXPECT_EQ(SteeringDirection(keys, {.right = true}), 1) << "right on the stick wins over the left key";
    EXPECT_EQ(SteeringDirection(keys), -1);
    keys.KeyPressed('a');
    EXPECT_EQ(SteeringDirection(keys), -1) << "a and Left share a flag";
    keys.KeyPressed(XK_Shift_L);
    EXPECT_EQ(SteeringDirection(keys), 0) << "any press clears the table";
    keys.KeyPressed('A');
    EXPECT_EQ(SteeringDirection(keys), 0) << "upper-case A is another key";
    keys.SetClearOnPress(false);
    keys.KeyPressed(XK_Left);
    keys.KeyPressed(XK_Right);
    EXPECT_EQ(SteeringDirection(keys), 1) << "right wins over left";
    keys.KeyPressed(XK_Up);
    keys.KeyPressed(XK_Down);
    EXPECT_EQ(SteeringDirection(keys), 3);
    keys.KeyPressed(' ');
    EXPECT_EQ(SteeringDirection(keys), 4) << "fire wins over everything";
    EXPECT_FALSE(KeyTable::IndexOf(XK_Shift_L).has_value());
    EXPECT_EQ(KeyTable::IndexOf(XK_Down), 'x');
    EXPECT_EQ(KeyTable::IndexOf(XK_Up), 'w');
}
