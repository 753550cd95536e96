// The rules of the game, run on the main form's 30 ms timer: balls fall one row every 26th tick,
// bounce off the pegs and are caught by the catcher, which may move every 5th tick.

#include "game/FormMain.h"
#include "game/FormNamePlayer.h"
#include "game/HighScoreTable.h"
#include "game/SoundPlayer.h"
#include "graphics/ImageFrame.h"
#include "joystick/JoystickPoll.h"
#include "toolkit/ButtonCustom.h"
#include "toolkit/CellControl.h"
#include "toolkit/TrafficMeter.h"
#include "util/Strings.h"

#include <X11/keysym.h>

namespace {

constexpr int catcherStepTicks = 5;
constexpr int ballStepTicks = 26;
constexpr int spawnGapMs = 2000;
constexpr int levelPauseMs = 3000;
constexpr int bannerPeriodMs = 5000;
constexpr int firstColumn = 1;
constexpr int lastColumn = 10;
constexpr int maxCatchesPerLevel = 50;

constexpr const char* pegSound = "Data/beep.wav";
constexpr const char* catchSound = "Data/punteggio.wav";

int BallSprite(std::size_t index) { return static_cast<int>(index % 3) + 1; }

// The first three letters of the name, 3 cells wide and 5 high; '#' is a lit cell.
constexpr const char* wordMark[3][5] = {
    {"#.#", "#.#", "##.", "#.#", "#.#"},
    {"###", "#.#", "#.#", "#.#", "###"},
    {"##.", "#.#", "##.", "#.#", "#.#"},
};

}  // namespace

void FormMain::UpdateLabels()
{
    if (scoreLabel) scoreLabel->SetText("Score: " + IntToText(score, '0', 5));
    if (levelLabel) levelLabel->SetText("Level: " + IntToText(level, '0', 2));
    if (toCatchLabel) toCatchLabel->SetText(IntToText(-static_cast<std::int64_t>(ballsToCatch)));
}

void FormMain::SetStatus(const std::string& text)
{
    if (statusLabel) statusLabel->SetText(text);
}

void FormMain::PlaySound(const char* path)
{
    if (soundPlayer) soundPlayer->Play(path, false);
}

void FormMain::ClearWell()
{
    for (auto& cell : wellCells)
        if (cell && cell->tagText == interiorTag) cell->SetSprite(emptySprite, 0);
}

void FormMain::ShowTitleScreen()
{
    ClearWell();
    for (int letter = 0; letter < 3; ++letter) {
        for (int row = 0; row < 5; ++row) {
            for (int column = 0; column < 3; ++column) {
                if (wordMark[letter][row][column] != '#') continue;
                SetSpriteAt(2 + 3 * letter + column, 2 + row, column < 2 ? wordMarkLeftSprite : wordMarkRightSprite);
            }
        }
    }
    SetSpriteAt(8, 8, 2);
    SetSpriteAt(7, 9, 1);
    SetSpriteAt(9, 9, 3);
    SetSpriteAt(8, 10, 4);
    SetStatus("");
}

void FormMain::PlacePegs()
{
    for (int row = 2; row <= 11; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column)
            if ((column + row) % 4 == 3) SetSpriteAt(column, row, pegSprite);
}

void FormMain::StartLevel()
{
    balls.assign(static_cast<std::size_t>(std::max(level, 0)), Ball{});
    ballsToCatch = std::min(2 * level + 8, maxCatchesPerLevel);
    UpdateLabels();
    ClearWell();
    PlacePegs();
    SetStatus("");
}

int FormMain::ReadDirection()
{
    PollJoystick();
    int code = keys.IsDown(XK_Left) || JoystickLeft() ? -1 : 0;
    if (keys.IsDown(XK_Up) || JoystickUp()) code = 2;
    if (keys.IsDown(XK_Right) || JoystickRight()) code = 1;
    if (keys.IsDown(XK_Down) || JoystickDown()) code = 3;
    if (keys.IsDown(XK_space) || JoystickButtonPressed()) code = 4;
    return code;
}

void FormMain::RotateBanner()
{
    const DateTime moment = now();
    if (lastTopTenChange.MillisecondsTo(moment) <= bannerPeriodMs) return;
    lastTopTenChange = moment;
    if (highScores.empty() || !banner) return;
    if (topTenIndex < static_cast<int>(highScores.size())) {
        banner->SetText("Top Ten: " + IntToText(topTenIndex + 1) + "  Score " +
                        highScores[static_cast<std::size_t>(topTenIndex)]);
        ++topTenIndex;
    } else {
        // One period without a line marks the end of the table before it starts again.
        banner->SetText("");
        topTenIndex = 0;
    }
}

void FormMain::MoveCatcher()
{
    const int direction = ReadDirection();
    const int previous = playerColumn;
    if ((direction == -1 || direction == 1) && playerColumn + direction >= firstColumn &&
        playerColumn + direction <= lastColumn)
        playerColumn += direction;
    if (playerColumn != previous) SetSpriteAt(previous, catcherRow, emptySprite);
    if (SpriteAt(playerColumn, catcherRow) != catcherSprite) SetSpriteAt(playerColumn, catcherRow, catcherSprite);
}

bool FormMain::StepBalls()
{
    for (std::size_t i = 0; i < balls.size(); ++i) {
        Ball& ball = balls[i];
        bool caughtNow = false;
        bool spawnCheck = false;
        if (ball.column == 0 && ball.row == 0) {
            spawnCheck = true;
        } else if (ball.row == catcherRow) {
            SetSpriteAt(ball.column, catcherRow, emptySprite);
            ball = Ball{};
            spawnCheck = true;
        } else {
            SetSpriteAt(ball.column, ball.row, emptySprite);
            const int below = SpriteAt(ball.column, ball.row + 1);
            if (below == pegSprite) {
                PlaySound(pegSound);
                if (ball.column == firstColumn)
                    ball.column = 2;
                else if (ball.column == lastColumn)
                    ball.column = 9;
                else
                    ball.column += randomBetween(1, 2) == 1 ? 1 : -1;
                ++ball.row;
            } else if (below == catcherSprite) {
                ++score;
                --ballsToCatch;
                PlaySound(catchSound);
                UpdateLabels();
                ball = Ball{};
                caughtNow = true;
            } else if (below == emptySprite && ball.row == catcherRow - 1) {
                ball.row = catcherRow;
                SetSpriteAt(ball.column, catcherRow, BallSprite(i));
                GameOver();
                return false;
            } else {
                ++ball.row;
            }
        }
        if (spawnCheck) {
            const DateTime moment = now();
            if (lastSpawn.MillisecondsTo(moment) > spawnGapMs) {
                ball = Ball{randomBetween(firstColumn, lastColumn), 0};
                lastSpawn = moment;
            } else {
                continue;
            }
        }
        if (!caughtNow && ball.column > 0) SetSpriteAt(ball.column, ball.row, BallSprite(i));
        if (caughtNow && ballsToCatch == 0) {
            ++level;
            SetStatus("Level completed!");
            levelPause = true;
            levelCompletedAt = now();
        }
    }
    return true;
}

void FormMain::Tick()
{
    if (tickBusy) return;
    tickBusy = true;
    if (!tickStampsSet) {
        const DateTime first = now();
        lastTopTenChange = levelCompletedAt = lastSpawn = first;
        tickStampsSet = true;
    }
    RotateBanner();

    bool play = running;
    if (levelPause) {
        play = false;
        if (levelCompletedAt.MillisecondsTo(now()) > levelPauseMs) {
            StartLevel();
            levelPause = false;
            play = running;
        }
    }
    if (play) {
        ++tickCount;
        if (tickCount % catcherStepTicks == 0) MoveCatcher();
        if (tickCount <= ballStepTicks - 1) {
            tickBusy = false;
            return;
        }
        const TrafficMeter meter(GetXDisplay());
        StepBalls();
    }
    tickCount = 0;
    tickBusy = false;
}

void FormMain::GameOver()
{
    SetStatus("Game over!");
    if (startButton) startButton->SetText("START");
    running = false;
    if (score <= 0) return;

    nameForm.reset();
    nameForm = std::make_unique<FormNamePlayer>(this, nullptr, "Top Ten");
    nameForm->SetOnClosed([](GUIElement& closed) {
        if (auto* main = dynamic_cast<FormMain*>(static_cast<FormNamePlayer&>(closed).ParentForm())) main->RecordScore();
    });
    nameForm->SetPrompt("Insert your name:");
    const Point mainPosition = GetPosition();
    const Size mainSize = GetSize();
    const Size dialogSize = nameForm->GetSize();
    nameForm->SetPositionClamped(mainPosition.x + (mainSize.width - dialogSize.width) / 2,
                                 mainPosition.y + (mainSize.height - dialogSize.height) / 2);
    nameForm->Show();
}

void FormMain::RecordScore()
{
    HighScoreTable(productName).Insert(score, PadRight(EnteredName(), ' ', 12) + " Level " + IntToText(level));
    highScores = HighScoreTable(productName).Load();
}
