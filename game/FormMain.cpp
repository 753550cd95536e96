#include "game/FormMain.h"

#include "game/FormAbout.h"
#include "game/FormMsgBox.h"
#include "game/FormNamePlayer.h"
#include "game/HighScoreTable.h"
#include "game/ProductInfo.h"
#include "game/SoundPlayer.h"
#include "game/Steering.h"
#include "game/WellLayout.h"
#include "graphics/PackedPicture.h"
#include "graphics/PictureData.h"
#include "joystick/JoystickConfig.h"
#include "joystick/JoystickPoll.h"
#include "toolkit/ButtonCustom.h"
#include "toolkit/CellControl.h"
#include "toolkit/EventLoop.h"
#include "toolkit/ImageFrame.h"
#include "toolkit/MyImage.h"
#include "toolkit/Timer.h"
#include "toolkit/TrafficMeter.h"
#include "util/Beep.h"
#include "util/Files.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace {

constexpr Colour formColour = 0xC00000;
constexpr Colour labelTextColour = 0xFFFFFF;
constexpr Colour plainButtonColour = 0xFFFDE5;
constexpr Colour startButtonColour = 0xFF0000;
using WellLayout::cellSize;
using WellLayout::sheetBytes;
using WellLayout::sheetWidth;
constexpr int exitQuestionId = 1000;
constexpr int answerYes = 3;

// An image of a built-in picture, or null when it cannot be decoded.
XImage* PictureImage(const DrawTarget& target, const PackedPicture& packed)
{
    const auto rgb = UnpackPicture(packed);
    return rgb ? MakeImage(target, rgb.get(), packed.width, packed.height) : nullptr;
}

}  // namespace

FormMain::FormMain(DisplayConnection* connection, const std::string& title, WellSeams seams)
    : Form(nullptr, false), well(*this, std::move(seams))
{
    if (connection) SetDisplay(connection);
    soundPlayer = std::make_unique<SoundPlayer>();
    SetSize(800, 600);
    SetCaption(title);
    SetOnCreate([this](GUIElement&, std::uint64_t) { BuildWidgets(); });
    SetOnMouseDown([this](GUIElement&, std::uint64_t, Point) { DisabledClick(); });
    SetOnKeyUp([this](GUIElement&, unsigned long keysym) { KeyReleased(keysym); });
    SetOnKeyDown([this](GUIElement&, unsigned long keysym) { KeyPressed(keysym); });
    SetOnKeyChar([](GUIElement&, char) { return true; });
    SetOnCloseQuery([this](GUIElement&) { return QueryExit(); });
    SetBackColor(formColour);
    LoadSpriteSheet();
    Create();
}

FormMain::~FormMain()
{
    if (gameTimer) gameTimer->Stop();
    gameTimer.reset();
    if (soundPlayer) soundPlayer->Kill();
    soundPlayer.reset();
    DestroyWindow();
    aboutForm.reset();
    nameForm.reset();
    banner.reset();
    statusLabel.reset();
    for (auto& cell : wellCells) cell.reset();
    levelLabel.reset();
    scoreLabel.reset();
    toCatchLabel.reset();
    exitButton.reset();
    infoButton.reset();
    startButton.reset();
    picture.reset();
    aboutPicture.reset();
    titlePicture.reset();
    spriteSheetImage.reset();
}

void FormMain::LoadSpriteSheet()
{
    // The cells read no further than the sheet's own bytes, and neither does the loader.
    if (!LoadWholeFile(spriteSheetPath, spriteSheet, static_cast<std::size_t>(sheetBytes))) {
        spriteSheetSize = -1;
        spriteSheet.clear();
        return;
    }
    // The cells cut their sprites from the whole sheet: a short file is as unusable as a missing one.
    if (spriteSheet.size() < static_cast<std::size_t>(WellLayout::sheetBytes)) {
        Log(std::string("Errore loading ") + spriteSheetPath);
        spriteSheetSize = -1;
        spriteSheet.clear();
        return;
    }
    spriteSheetSize = static_cast<int>(spriteSheet.size());
}

void FormMain::BuildWidgets()
{
    const Size client = GetClientSize();
    auto makeLabel = [this](int left, int top, int w, int h) {
        auto label = std::make_unique<CellControl>(this);
        label->SetSize(w, h);
        label->SetPosition(left, top);
        label->SetBackColor(GetBackColor());
        label->SetTextColor(labelTextColour);
        return label;
    };
    auto makeButton = [this](const char* caption, int top, Colour textColour, Colour background) {
        auto button = std::make_unique<ButtonCustom>(this, caption);
        button->SetSize(WellLayout::buttonWidth, WellLayout::buttonHeight);
        button->SetPosition(WellLayout::buttonLeft, top);
        button->SetTextColor(textColour);
        button->SetBackColor(background);
        button->SetOnCommand([](GUIElement& clicked) {
            if (auto* form = dynamic_cast<FormMain*>(static_cast<Child&>(clicked).GetForm()))
                form->ButtonClicked(clicked);
        });
        return button;
    };

    picture = std::make_unique<MyImage>(this, static_cast<XImage*>(nullptr));
    picture->SetSize(200, 50);
    picture->SetPosition(28, 45);
    picture->Create();

    statusLabel = makeLabel(278, 55, 280, 25);
    statusLabel->SetTextAlign(2);
    statusLabel->Create();

    toCatchLabel = makeLabel(28, (client.height - 70) / 2, 70, 33);
    toCatchLabel->SetBordered(true);
    toCatchLabel->SetText("0");
    toCatchLabel->Create();

    banner = makeLabel(10, 17, client.width - 20, 18);
    banner->SetTextAlign(0);
    banner->Create();

    BuildWell();

    scoreLabel = makeLabel(client.width - 228, client.height - 90, 200, 28);
    scoreLabel->SetBordered(true);
    scoreLabel->Create();
    levelLabel = makeLabel(client.width - 228, client.height - 50, 200, 28);
    levelLabel->SetBordered(true);
    levelLabel->Create();

    infoButton = makeButton("INFO", WellLayout::infoTop, 0x000000, plainButtonColour);
    infoButton->Create();
    exitButton = makeButton("EXIT", WellLayout::exitTop, 0x000000, plainButtonColour);
    exitButton->Create();
    startButton = makeButton("START", WellLayout::startTop, 0xFFFFFF, startButtonColour);
    startButton->Create();

    well.SetTopTen(HighScoreTable(productName).Load());
    LoadJoystickConfig();
    keys.SetClearOnPress(true);
    gameTimer = std::make_unique<Timer>(this, Well::tickMilliseconds);
    // The form owns its timer, so the timer never outlives it.
    gameTimer->SetOnTimer([this](Timer&) { Tick(); });
}

void FormMain::BuildWell()
{
    for (int row = 0; row < Well::rows; ++row) {
        for (int column = 0; column < Well::columns; ++column) {
            auto cell = std::make_unique<ImageFrame>(this, spriteSheetImage.get(), Well::InitialSprite(column, row), 0);
            cell->SetSize(cellSize, cellSize);
            cell->SetPosition(WellLayout::CellLeft(column), WellLayout::CellTop(row));
            cell->SetTransparent(false);
            if (Well::IsInterior(column, row)) cell->tagText = interiorTag;
            cell->Create();
            wellCells[static_cast<std::size_t>(WellLayout::CellIndex(column, row))] = std::move(cell);
        }
    }
}

void FormMain::SetCell(int column, int row, int sprite)
{
    if (auto& cell = wellCells[static_cast<std::size_t>(WellLayout::CellIndex(column, row))]) cell->SetSprite(sprite, 0);
}

void FormMain::Paint()
{
    if (created && !picturesMade) {
        picturesMade = true;
        titlePicture.reset(PictureImage(Target(), packedTitlePicture));
        if (picture) {
            picture->SetImage(titlePicture.get());
            picture->Create();
        }
        aboutPicture.reset(PictureImage(Target(), packedAboutPicture));
        MakeSpriteSheetImage();
        UpdateLabels();
        ShowTitleScreen();
        if (gameTimer) gameTimer->Start();
    } else if (created && !spriteSheetImage) {
        MakeSpriteSheetImage();
    }
    Form::Paint();
}

// Every cell cuts its sprites from this one image of the sheet, which can only be made once the
// window is viewable: until it is made, each paint of the form tries again.
void FormMain::MakeSpriteSheetImage()
{
    if (spriteSheet.empty()) return;
    spriteSheetImage.reset(MakeImage(Target(), spriteSheet.data(), sheetWidth, cellSize));
    if (!spriteSheetImage) return;
    for (auto& cell : wellCells)
        if (cell) cell->SetSheetImage(spriteSheetImage.get());
}

bool FormMain::QueryExit()
{
    FormMsgBox::ShowQuestion(exitQuestionId, this, "Do you really want to go exit?", "Exit");
    return false;
}

void FormMain::DialogResult(int id, int result)
{
    if (id != exitQuestionId || result != answerYes) return;
    if (gameTimer) gameTimer->Stop();
    RequestQuit();
}

void FormMain::DisabledClick()
{
    if (IsEnabled() || !GetOwnerForm()) return;
    Beep();
    GetOwnerForm()->Show();
}

void FormMain::ButtonClicked(GUIElement& element)
{
    const int clicked = element.GetId();
    if (exitButton && clicked == exitButton->GetId()) {
        QueryExit();
    } else if (startButton && clicked == startButton->GetId()) {
        if (startButton->GetText() != "CANCEL") {
            well.StartGame();
            startButton->SetText("CANCEL");
            SetFocus();
        } else {
            well.CancelGame();
            startButton->SetText("START");
            ShowTitleScreen();
        }
    } else if (infoButton && clicked == infoButton->GetId()) {
        OpenAbout();
    }
}

void FormMain::OpenAbout()
{
    aboutForm.reset();
    aboutForm = std::make_unique<FormAbout>(this);
    aboutForm->SetDisplay(GetDisplayConnection());
    aboutForm->SetPicture(aboutPicture.get(), 163, 50);
    aboutForm->SetVersionText(std::string(productName) + " " + "1.0.0.0");
    aboutForm->SetCreditText(creditLine);
    aboutForm->SetNoticeText(freewareNotice);
    aboutForm->SetWebAddress(webAddress);
    aboutForm->Show();
}

void FormMain::UpdateLabels()
{
    if (scoreLabel) scoreLabel->SetText("Score: " + IntToText(well.Score(), '0', 5));
    if (levelLabel) levelLabel->SetText("Level: " + IntToText(well.Level(), '0', 2));
    if (toCatchLabel) toCatchLabel->SetText(IntToText(-static_cast<std::int64_t>(well.BallsToCatch())));
}

void FormMain::SetStatus(const std::string& text)
{
    if (statusLabel) statusLabel->SetText(text);
}

void FormMain::SetBannerText(const std::string& text)
{
    if (banner) banner->SetText(text);
}

void FormMain::PlaySound(const char* path)
{
    if (soundPlayer) soundPlayer->Play(path, false);
}

// Each read polls the joystick record first, so the direction is the stick's latest state.
int FormMain::ReadDirection()
{
    PollJoystick();
    return SteeringDirection(keys, {JoystickLeft(), JoystickRight(), JoystickUp(), JoystickDown(), JoystickButtonPressed()});
}

void FormMain::BallStepBegins() { stepMeter = std::make_unique<TrafficMeter>(GetXDisplay()); }

void FormMain::BallStepEnded() { stepMeter.reset(); }

// The game timer sleeps through the ticks at which the rules would change nothing.
void FormMain::WakeAtTick(int ticksAhead)
{
    if (gameTimer) gameTimer->SleepThrough(ticksAhead - 1);
}

int FormMain::TakeSleptTicks() { return gameTimer ? gameTimer->TakeSleptFirings() : 0; }

void FormMain::GameOver()
{
    if (startButton) startButton->SetText("START");
    if (well.Score() <= 0) return;

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
    HighScoreTable table(productName);
    if (!table.Insert(well.Score(), PadRight(EnteredName(), ' ', 12) + " Level " + IntToText(well.Level())))
        Log("could not save the top ten: " + table.Failure());
    well.SetTopTen(HighScoreTable(productName).Load());
}
