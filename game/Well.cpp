// The rules of the game, run on the main form's 30 ms timer: balls fall one row every 26th tick,
// bounce off the pegs and are caught by the catcher, which may move every 5th tick.

#include "game/Well.h"

#include <algorithm>

namespace {

constexpr int catcherStepTicks = 5;
constexpr int ballStepTicks = 26;
constexpr int spawnGapMs = 2000;
constexpr int levelPauseMs = 3000;
constexpr int bannerPeriodMs = 5000;
constexpr int maxCatchesPerLevel = 50;

constexpr const char* pegSound = "Data/beep.wav";
constexpr const char* catchSound = "Data/punteggio.wav";

// The first three letters of the name, 3 cells wide and 5 high; '#' is a lit cell.
constexpr const char* wordMark[3][5] = {
    {"#.#", "#.#", "##.", "#.#", "#.#"},
    {"###", "#.#", "#.#", "#.#", "###"},
    {"##.", "#.#", "##.", "#.#", "#.#"},
};

}  // namespace

Well::Well(WellView& view, WellSeams seams) : view(view), seams(std::move(seams))
{
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            sprites[static_cast<std::size_t>(column + columns * row)] = InitialSprite(column, row);
}

int Well::InitialSprite(int column, int row)
{
    const bool leftWall = column == 0, rightWall = column == columns - 1;
    if (row == rows - 1) {
        if (leftWall) return bottomLeftSprite;
        if (rightWall) return bottomRightSprite;
        return floorSprite;
    }
    if (leftWall) return leftWallSprite;
    if (rightWall) return rightWallSprite;
    return emptySprite;
}

bool Well::IsInterior(int column, int row)
{
    return column > 0 && column < columns - 1 && row >= 0 && row < rows - 1;
}

int Well::SpriteAt(int column, int row) const
{
    if (column < 0 || column >= columns || row < 0 || row >= rows) return -1;
    return sprites[static_cast<std::size_t>(column + columns * row)];
}

// The window hears of a change only: a cell set to what it shows is not redrawn.
void Well::SetSprite(int column, int row, int sprite)
{
    if (column < 0 || column >= columns || row < 0 || row >= rows) return;
    int& shown = sprites[static_cast<std::size_t>(column + columns * row)];
    if (shown == sprite) return;
    shown = sprite;
    view.SetCell(column, row, sprite);
}

void Well::ClearWell()
{
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            if (IsInterior(column, row)) SetSprite(column, row, emptySprite);
}

void Well::ShowTitleScreen()
{
    ClearWell();
    for (int letter = 0; letter < 3; ++letter) {
        for (int row = 0; row < 5; ++row) {
            for (int column = 0; column < 3; ++column) {
                if (wordMark[letter][row][column] != '#') continue;
                SetSprite(2 + 3 * letter + column, 2 + row, column < 2 ? wordMarkLeftSprite : wordMarkRightSprite);
            }
        }
    }
    SetSprite(8, 8, 2);
    SetSprite(7, 9, 1);
    SetSprite(9, 9, 3);
    SetSprite(8, 10, 4);
    view.SetStatus("");
}

void Well::PlacePegs()
{
    for (int row = 2; row <= 11; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column)
            if ((column + row) % 4 == 3) SetSprite(column, row, pegSprite);
}

void Well::StartLevel()
{
    balls.assign(static_cast<std::size_t>(std::max(level, 0)), Ball{});
    ballsToCatch = std::min(2 * level + 8, maxCatchesPerLevel);
    view.UpdateLabels();
    ClearWell();
    PlacePegs();
    view.SetStatus("");
}

void Well::StartGame()
{
    CatchUp();
    level = 1;
    score = 0;
    StartLevel();
    running = true;
    PlanWake();
}

void Well::CancelGame()
{
    CatchUp();
    running = false;
    PlanWake();
}

void Well::SetTopTen(std::vector<std::string> lines)
{
    CatchUp();
    topTen = std::move(lines);
    PlanWake();
}

void Well::RotateBanner()
{
    const DateTime moment = seams.clock();
    if (lastTopTenChange.MillisecondsTo(moment) <= bannerPeriodMs) return;
    lastTopTenChange = moment;
    if (topTen.empty()) return;
    if (topTenIndex < static_cast<int>(topTen.size())) {
        view.SetBannerText("Top Ten: " + IntToText(topTenIndex + 1) + "  Score " +
                           topTen[static_cast<std::size_t>(topTenIndex)]);
        ++topTenIndex;
    } else {
        // One period without a line marks the end of the table before it starts again.
        view.SetBannerText("");
        topTenIndex = 0;
    }
}

void Well::MoveCatcher()
{
    const int direction = view.ReadDirection();
    const int previous = playerColumn;
    if ((direction == -1 || direction == 1) && playerColumn + direction >= firstColumn &&
        playerColumn + direction <= lastColumn)
        playerColumn += direction;
    if (playerColumn != previous) SetSprite(previous, catcherRow, emptySprite);
    if (SpriteAt(playerColumn, catcherRow) != catcherSprite) SetSprite(playerColumn, catcherRow, catcherSprite);
}

void Well::StepBalls()
{
    for (std::size_t i = 0; i < balls.size(); ++i) {
        Ball& ball = balls[i];
        bool caughtNow = false;
        bool spawnCheck = false;
        if (ball.column == 0 && ball.row == 0) {
            spawnCheck = true;
        } else if (ball.row == catcherRow) {
            SetSprite(ball.column, catcherRow, emptySprite);
            ball = Ball{};
            spawnCheck = true;
        } else {
            SetSprite(ball.column, ball.row, emptySprite);
            const int below = SpriteAt(ball.column, ball.row + 1);
            if (below == pegSprite) {
                view.PlaySound(pegSound);
                if (ball.column == firstColumn)
                    ball.column = firstColumn + 1;
                else if (ball.column == lastColumn)
                    ball.column = lastColumn - 1;
                else
                    ball.column += seams.random(1, 2) == 1 ? 1 : -1;
                ++ball.row;
            } else if (below == catcherSprite) {
                ++score;
                --ballsToCatch;
                view.PlaySound(catchSound);
                view.UpdateLabels();
                ball = Ball{};
                caughtNow = true;
            } else if (below == emptySprite && ball.row == catcherRow - 1) {
                ball.row = catcherRow;
                SetSprite(ball.column, catcherRow, BallSprite(i));
                // The remaining balls do not move this time.
                view.SetStatus("Game over!");
                running = false;
                view.GameOver();
                return;
            } else {
                ++ball.row;
            }
        }
        if (spawnCheck) {
            const DateTime moment = seams.clock();
            if (lastSpawn.MillisecondsTo(moment) <= spawnGapMs) continue;
            ball = Ball{seams.random(firstColumn, lastColumn), 0};
            lastSpawn = moment;
        }
        if (!caughtNow && ball.column > 0) SetSprite(ball.column, ball.row, BallSprite(i));
        if (caughtNow && ballsToCatch == 0) {
            ++level;
            view.SetStatus("Level completed!");
            levelPause = true;
            levelCompletedAt = seams.clock();
        }
    }
}

void Well::Tick()
{
    if (tickBusy) return;
    CatchUp();
    ticksSinceRun = 0;
    lastRunAt = seams.clock();
    RunTick();
    PlanWake();
}

void Well::CatchUp()
{
    const int slept = view.TakeSleptTicks();
    if (slept <= 0) return;
    ticksSinceRun += slept;
    // Between two ticks that run, a game never passes a step of the catcher or the balls.
    if (running && !levelPause)
        tickCount += slept;
    else
        tickCount = 0;
}

// The ticks from now until the first at which more than the milliseconds have passed since the
// stamp, reckoned from the last tick that ran: the ticks are tickMilliseconds apart on the clock.
int Well::TicksUntilLater(const DateTime& stamp, int milliseconds) const
{
    const std::int64_t left = milliseconds - stamp.MillisecondsTo(lastRunAt);
    const std::int64_t sinceRun = left < 0 ? 1 : left / tickMilliseconds + 1;
    return static_cast<int>(std::clamp<std::int64_t>(sinceRun - ticksSinceRun, 1, 1 << 30));
}

int Well::TicksUntilDue() const
{
    if (!tickStampsSet) return 1;
    // The banner turns even with no lines to show: its stamp moves on all the same.
    int due = TicksUntilLater(lastTopTenChange, bannerPeriodMs);
    if (levelPause) due = std::min(due, TicksUntilLater(levelCompletedAt, levelPauseMs));
    if (running && !levelPause) {
        const int toCatcherStep = catcherStepTicks - tickCount % catcherStepTicks;
        due = std::min({due, toCatcherStep, std::max(ballStepTicks - tickCount, 1)});
    }
    return due;
}

void Well::RunTick()
{
    tickBusy = true;
    if (!tickStampsSet) {
        const DateTime first = seams.clock();
        lastTopTenChange = levelCompletedAt = lastSpawn = first;
        tickStampsSet = true;
    }
    RotateBanner();

    bool play = running;
    if (levelPause) {
        play = false;
        if (levelCompletedAt.MillisecondsTo(seams.clock()) > levelPauseMs) {
            StartLevel();
            levelPause = false;
            play = running;
        }
    }
    if (play) {
        ++tickCount;
        if (tickCount % catcherStepTicks == 0) MoveCatcher();
        if (tickCount < ballStepTicks) {
            tickBusy = false;
            return;
        }
        view.BallStepBegins();
        StepBalls();
        view.BallStepEnded();
    }
    tickCount = 0;
    tickBusy = false;
}
