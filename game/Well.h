#pragma once
// The playing well and the game played in it, without a window: the 12 x 15 sprites, the balls,
// the catcher, the counters and the rules that change them on each tick. Whatever the rules
// decide reaches the screen and the speakers through a WellView, one call for each change, in the
// order the rules make the changes, so that the window draws exactly what the well holds.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "util/DateTime.h"
#include "util/Strings.h"

struct Ball {
    int column = 0;
    int row = 0;
};

// What the rules ask of the window that shows the well.
class WellView {
public:
    // A cell now shows another sprite.
    virtual void SetCell(int column, int row, int sprite) = 0;
    // Score, level or catches still needed changed.
    virtual void UpdateLabels() = 0;
    virtual void SetStatus(const std::string& text) = 0;
    virtual void SetBannerText(const std::string& text) = 0;
    virtual void PlaySound(const char* path) = 0;
    // -1 left, 1 right, 0 none; 2, 3 and 4 (up, down, fire) do not move the catcher.
    virtual int ReadDirection() = 0;
    // A ball was missed: the game has just stopped running.
    virtual void GameOver() = 0;
    // Bracket every ball step, so that what a step costs on the wire can be measured.
    virtual void BallStepBegins() {}
    virtual void BallStepEnded() {}
    // The timer that runs the rules need not wake for ticks at which nothing can change: it hears
    // after each change which tick from now on is the next that must run (1 is the next tick),
    // and answers how many ticks it slept through since it was last asked.
    virtual void WakeAtTick(int /*ticksAhead*/) {}
    virtual int TakeSleptTicks() { return 0; }

protected:
    ~WellView() = default;
};

// Where the rules take the time and their random numbers from; tests set both.
struct WellSeams {
    std::function<DateTime()> clock = &DateTime::Now;
    std::function<int(int, int)> random = &RandomBetween;
};

class Well {
public:
    static constexpr int columns = 12;
    static constexpr int rows = 15;
    static constexpr int catcherRow = 13;
    static constexpr int firstColumn = 1;
    static constexpr int lastColumn = 10;
    // The game timer's interval: one tick every 30 ms.
    static constexpr int tickMilliseconds = 30;

    // Sprites of the sheet, by what the game draws with them.
    enum Sprite {
        emptySprite = 0,
        pegSprite = 5,
        catcherSprite = 6,
        leftWallSprite = 7,
        floorSprite = 8,
        rightWallSprite = 9,
        bottomLeftSprite = 10,
        bottomRightSprite = 11,
        wordMarkLeftSprite = 12,
        wordMarkRightSprite = 13,
    };

    explicit Well(WellView& view, WellSeams seams = {});

    // What a cell shows before the rules draw anything: walls, floor and an empty interior.
    static int InitialSprite(int column, int row);
    // The 10 x 14 cells inside the walls, the ones that a whole-well clear resets.
    static bool IsInterior(int column, int row);
    // Ball number i is drawn with sprite (i mod 3) + 1.
    static int BallSprite(std::size_t index) { return static_cast<int>(index % 3) + 1; }

    // One expiry of the 30 ms game timer.
    void Tick();
    void StartGame();
    void CancelGame();
    void StartLevel();
    void PlacePegs();
    void ShowTitleScreen();
    // The lines that the banner shows in turn.
    void SetTopTen(std::vector<std::string> lines);
    const std::vector<std::string>& TopTen() const { return topTen; }

    // The sprite of a cell, -1 outside the well.
    int SpriteAt(int column, int row) const;
    const std::vector<Ball>& Balls() const { return balls; }
    bool IsRunning() const { return running; }
    int Level() const { return level; }
    int Score() const { return score; }
    int BallsToCatch() const { return ballsToCatch; }
    bool InLevelPause() const { return levelPause; }
    int PlayerColumn() const { return playerColumn; }
    // How many ticks from now the next one is that can change anything (1 is the next tick): a
    // step of the catcher or the balls in a game, the end of the level pause, the banner's turn.
    int TicksUntilDue() const;

private:
    void SetSprite(int column, int row, int sprite);
    void ClearWell();
    void RotateBanner();
    void MoveCatcher();
    void StepBalls();
    void RunTick();
    // Counts the ticks the timer slept through as run: they changed nothing but the tick count.
    void CatchUp();
    void PlanWake() { view.WakeAtTick(TicksUntilDue()); }
    int TicksUntilLater(const DateTime& stamp, int milliseconds) const;

    WellView& view;
    WellSeams seams;
    std::array<int, columns * rows> sprites{};
    std::vector<Ball> balls;
    bool running = false;
    int level = 0;
    int score = 0;
    int ballsToCatch = 0;
    std::vector<std::string> topTen;

    // The state of the rules between ticks.
    bool tickBusy = false;
    int tickCount = 0;
    bool levelPause = false;
    int topTenIndex = 0;
    int playerColumn = 1;
    bool tickStampsSet = false;
    DateTime lastTopTenChange;
    DateTime levelCompletedAt;
    DateTime lastSpawn;
    // The time of the last tick that ran, and the ticks slept through since.
    DateTime lastRunAt;
    int ticksSinceRun = 0;
};
