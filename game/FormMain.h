#pragma once
// The game's main window: the playing well of 12 x 15 sprite cells, the title picture, the
// labels, the rotating top-ten banner and the three buttons. It owns everything on it, the balls,
// the sprite sheet, the sound player, the game timer and the dialogs it opens; the rules run on
// its 30 ms timer.

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/KeyTable.h"
#include "graphics/Images.h"
#include "toolkit/Form.h"
#include "util/DateTime.h"

class ButtonCustom;
class CellControl;
class DisplayConnection;
class FormAbout;
class FormNamePlayer;
class ImageFrame;
class MyImage;
class SoundPlayer;
class Timer;

struct Ball {
    int column = 0;
    int row = 0;
};

class FormMain : public Form {
public:
    static constexpr int wellColumns = 12;
    static constexpr int wellRows = 15;
    static constexpr int catcherRow = 13;

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

    FormMain(DisplayConnection* connection, const std::string& title);
    ~FormMain() override;

    void Paint() override;
    void UserMessage() override { Tick(); }
    void DialogResult(int id, int result) override;

    virtual void BuildWidgets();
    virtual bool QueryExit();
    virtual bool AcceptsKey(int key) const { return key != 9 && key != 13; }
    virtual void KeyPressed(unsigned long keysym) { keys.KeyPressed(keysym); }
    virtual void KeyReleased(unsigned long keysym) { keys.KeyReleased(keysym); }
    virtual void DisabledClick();
    virtual void ButtonClicked(GUIElement& element);

    // The rules, run by the game timer.
    void Tick();
    void StartLevel();
    void PlacePegs();
    void GameOver();
    void RecordScore();
    void UpdateLabels();
    void ShowTitleScreen();
    int ReadDirection();

    // Seams for deterministic tests: where time stamps and random numbers come from.
    void SetClock(std::function<DateTime()> clock) { now = std::move(clock); }
    void SetRandom(std::function<int(int, int)> random) { randomBetween = std::move(random); }

    int SpriteAt(int column, int row) const;
    void SetSpriteAt(int column, int row, int sprite);
    bool IsRunning() const { return running; }
    int GetLevel() const { return level; }
    int GetScore() const { return score; }
    int GetBallsToCatch() const { return ballsToCatch; }
    std::vector<Ball>& Balls() { return balls; }
    const std::vector<std::string>& HighScores() const { return highScores; }
    bool InLevelPause() const { return levelPause; }
    int PlayerColumn() const { return playerColumn; }
    KeyTable& Keys() { return keys; }
    ButtonCustom* StartButton() const { return startButton.get(); }
    ButtonCustom* InfoButton() const { return infoButton.get(); }
    ButtonCustom* ExitButton() const { return exitButton.get(); }
    CellControl* StatusLabel() const { return statusLabel.get(); }
    CellControl* Banner() const { return banner.get(); }
    CellControl* ScoreLabel() const { return scoreLabel.get(); }
    CellControl* LevelLabel() const { return levelLabel.get(); }
    CellControl* ToCatchLabel() const { return toCatchLabel.get(); }
    Timer* GameTimer() const { return gameTimer.get(); }
    FormNamePlayer* NameForm() const { return nameForm.get(); }
    FormAbout* AboutForm() const { return aboutForm.get(); }
    ImageFrame* WellCell(int column, int row) const;

    static constexpr const char* productName = "Korvanta";
    static constexpr const char* spriteSheetPath = "Data/pallini27x27.bin";
    // Marks the interior cells, the ones a whole-well clear resets.
    static inline const std::string interiorTag = "1";

private:
    void LoadSpriteSheet();
    void BuildWell();
    void OpenAbout();
    void RotateBanner();
    void MoveCatcher();
    // Moves every ball one row; false when a miss ended the game during the step.
    bool StepBalls();
    void ClearWell();
    void SetStatus(const std::string& text);
    void PlaySound(const char* path);

    KeyTable keys;
    bool running = false;
    std::unique_ptr<ButtonCustom> infoButton;
    std::unique_ptr<ButtonCustom> startButton;
    std::unique_ptr<ButtonCustom> exitButton;
    std::unique_ptr<MyImage> picture;
    std::unique_ptr<CellControl> statusLabel;
    // The rotating top-ten line above the well.
    std::unique_ptr<CellControl> banner;
    // The well's sprite cells, column by column within each row: cell (c, r) is c + 12 r.
    std::array<std::unique_ptr<ImageFrame>, wellColumns * wellRows> wellCells;
    int level = 0;
    int score = 0;
    int ballsToCatch = 0;
    std::unique_ptr<CellControl> scoreLabel;
    std::unique_ptr<CellControl> levelLabel;
    std::unique_ptr<CellControl> toCatchLabel;
    ImagePtr aboutPicture;
    ImagePtr titlePicture;
    bool picturesMade = false;
    std::vector<Ball> balls;
    int spriteSheetSize = 0;
    std::vector<unsigned char> spriteSheet;
    std::unique_ptr<FormAbout> aboutForm;
    std::vector<std::string> highScores;
    std::unique_ptr<FormNamePlayer> nameForm;
    std::unique_ptr<Timer> gameTimer;
    std::unique_ptr<SoundPlayer> soundPlayer;

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

    std::function<DateTime()> now = &DateTime::Now;
    std::function<int(int, int)> randomBetween;
};
