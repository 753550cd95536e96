#pragma once
// The game's main window: the playing well of 12 x 15 sprite cells, the title picture, the
// labels, the rotating top-ten banner and the three buttons. It owns everything on it, the well
// that the rules run on, the sprite sheet, the sound player, the game timer and the dialogs it
// opens; it draws, plays and asks what the rules decide on its 30 ms timer.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "game/KeyTable.h"
#include "game/Well.h"
#include "graphics/Images.h"
#include "toolkit/Form.h"

class ButtonCustom;
class CellControl;
class DisplayConnection;
class FormAbout;
class FormNamePlayer;
class ImageFrame;
class MyImage;
class SoundPlayer;
class Timer;
class TrafficMeter;

// The form is the well's view: every change the rules make to the well is drawn at once.
class FormMain : public Form, private WellView {
public:
    // The seams stay at their defaults in the game; tests set where the rules take the time and
    // their random numbers from.
    FormMain(DisplayConnection* connection, const std::string& title, WellSeams seams = {});
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

    // The rules run on the well; the game timer calls Tick.
    void Tick() { well.Tick(); }
    void GameOver() override;
    void RecordScore();
    void UpdateLabels() override;
    void ShowTitleScreen() { well.ShowTitleScreen(); }
    int ReadDirection() override;

    // What the well holds, which is what the window shows.
    const Well& GetWell() const { return well; }

    static constexpr const char* productName = "Korvanta";
    static constexpr const char* spriteSheetPath = "Data/pallini27x27.bin";
    // Marks the interior cells, the ones a whole-well clear resets.
    static inline const std::string interiorTag = "1";

private:
    void LoadSpriteSheet();
    void BuildWell();
    void OpenAbout();
    void SetCell(int column, int row, int sprite) override;
    void SetStatus(const std::string& text) override;
    void SetBannerText(const std::string& text) override;
    void PlaySound(const char* path) override;
    void BallStepBegins() override;
    void BallStepEnded() override;
    void WakeAtTick(int ticksAhead) override;
    int TakeSleptTicks() override;
    void MakeSpriteSheetImage();

    KeyTable keys;
    std::unique_ptr<ButtonCustom> infoButton;
    std::unique_ptr<ButtonCustom> startButton;
    std::unique_ptr<ButtonCustom> exitButton;
    std::unique_ptr<MyImage> picture;
    std::unique_ptr<CellControl> statusLabel;
    // The rotating top-ten line above the well.
    std::unique_ptr<CellControl> banner;
    // The well's sprite cells, column by column within each row: cell (c, r) is c + 12 r.
    std::array<std::unique_ptr<ImageFrame>, Well::columns * Well::rows> wellCells;
    std::unique_ptr<CellControl> scoreLabel;
    std::unique_ptr<CellControl> levelLabel;
    std::unique_ptr<CellControl> toCatchLabel;
    ImagePtr aboutPicture;
    ImagePtr titlePicture;
    bool picturesMade = false;
    int spriteSheetSize = 0;
    std::vector<unsigned char> spriteSheet;
    // One image of the whole sheet, shared by every cell of the well.
    ImagePtr spriteSheetImage;
    std::unique_ptr<FormAbout> aboutForm;
    std::unique_ptr<FormNamePlayer> nameForm;
    std::unique_ptr<Timer> gameTimer;
    std::unique_ptr<SoundPlayer> soundPlayer;

    // Counts the X traffic of the ball step under way (only in a benchmark build).
    std::unique_ptr<TrafficMeter> stepMeter;
    Well well;
};
