#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "game/FormMsgBox.h"
#include "game/FormNamePlayer.h"
#include "tests/game/GameFixture.h"
#include "toolkit/ButtonCustom.h"
#include "toolkit/CellControl.h"
#include "toolkit/TextBoxCustom.h"
#include "toolkit/Timer.h"
#include "graphics/ImageFrame.h"

using Rules = GameFixture;

namespace {

int CountSprites(FormMain& game, int sprite)
{
    int count = 0;
    for (int row = 0; row < FormMain::wellRows; ++row)
        for (int column = 0; column < FormMain::wellColumns; ++column) count += game.SpriteAt(column, row) == sprite;
    return count;
}

}  // namespace

TEST_F(Rules, TitleScreenShowsTheWordMarkAndNoCatcher)
{
    EXPECT_EQ(game->ScoreLabel()->GetText(), "Score: 00000");
    EXPECT_EQ(game->LevelLabel()->GetText(), "Level: 00");
    EXPECT_EQ(game->ToCatchLabel()->GetText(), "0");
    EXPECT_EQ(game->SpriteAt(8, 8), 2);
    EXPECT_EQ(game->SpriteAt(7, 9), 1);
    EXPECT_EQ(game->SpriteAt(9, 9), 3);
    EXPECT_EQ(game->SpriteAt(8, 10), 4);
    EXPECT_EQ(game->SpriteAt(2, 2), FormMain::wordMarkLeftSprite) << "left columns of a letter";
    EXPECT_EQ(game->SpriteAt(4, 2), FormMain::wordMarkRightSprite) << "right column of a letter";
    EXPECT_EQ(CountSprites(*game, FormMain::catcherSprite), 0);
    EXPECT_EQ(game->SpriteAt(0, 0), FormMain::leftWallSprite);
    EXPECT_EQ(game->SpriteAt(11, 13), FormMain::rightWallSprite);
    EXPECT_EQ(game->SpriteAt(5, 14), FormMain::floorSprite);
    EXPECT_EQ(game->SpriteAt(0, 14), FormMain::bottomLeftSprite);
    EXPECT_EQ(game->SpriteAt(11, 14), FormMain::bottomRightSprite);
    EXPECT_TRUE(game->GameTimer()->IsRunning());
    const ImageFrame* topLeft = game->WellCell(1, 0);
    ASSERT_NE(topLeft, nullptr);
    EXPECT_EQ(topLeft->GetPosition(), (Point{202, 117}));
    EXPECT_EQ(game->WellCell(1, 13)->GetPosition().y, 468);
}

TEST_F(Rules, StartPlacesTheLatticeAndAsksForTenCatches)
{
    PressStart();
    EXPECT_TRUE(game->IsRunning());
    EXPECT_EQ(game->StartButton()->GetText(), "CANCEL");
    EXPECT_EQ(game->GetLevel(), 1);
    EXPECT_EQ(game->Balls().size(), 1u);
    EXPECT_EQ(game->ToCatchLabel()->GetText(), "-10");
    EXPECT_EQ(game->LevelLabel()->GetText(), "Level: 01");
    EXPECT_EQ(CountSprites(*game, FormMain::pegSprite), 25);
    for (int column : {1, 5, 9}) EXPECT_EQ(game->SpriteAt(column, 2), FormMain::pegSprite);
    for (int column : {2, 6, 10}) EXPECT_EQ(game->SpriteAt(column, 9), FormMain::pegSprite);
    EXPECT_EQ(game->SpriteAt(8, 10), FormMain::emptySprite) << "the title's balls are gone";

    game->ButtonClicked(*game->StartButton());
    EXPECT_FALSE(game->IsRunning());
    EXPECT_EQ(game->StartButton()->GetText(), "START");
    EXPECT_EQ(CountSprites(*game, FormMain::pegSprite), 0) << "cancel returns to the title";
    EXPECT_EQ(game->SpriteAt(8, 10), 4);
}

namespace {

// Starts a ball one row above the catcher, so that the next ball step is a catch.
void DropOntoCatcher(FormMain& game)
{
    for (Ball& ball : game.Balls()) ball = Ball{};
    const int column = game.PlayerColumn();
    game.SetSpriteAt(column, FormMain::catcherRow, FormMain::catcherSprite);
    game.Balls()[0] = Ball{column, FormMain::catcherRow - 1};
}

}  // namespace

TEST_F(Rules, CatchScoresAndLeavesTheCatcherDrawn)
{
    PressStart();
    DropOntoCatcher(*game);
    BallStep();
    EXPECT_EQ(game->GetScore(), 1);
    EXPECT_EQ(game->GetBallsToCatch(), 9);
    EXPECT_EQ(game->ScoreLabel()->GetText(), "Score: 00001");
    EXPECT_EQ(game->ToCatchLabel()->GetText(), "-9");
    EXPECT_EQ(game->SpriteAt(1, 13), FormMain::catcherSprite);
    EXPECT_EQ(game->SpriteAt(1, 12), FormMain::emptySprite);
    EXPECT_EQ(game->Balls()[0].column, 0) << "the caught ball is out of play";
    EXPECT_TRUE(game->IsRunning());
}

TEST_F(Rules, BallBesideTheCatcherEndsTheGame)
{
    PressStart();
    game->Balls()[0] = Ball{5, 12};
    BallStep();
    EXPECT_FALSE(game->IsRunning());
    EXPECT_EQ(game->SpriteAt(5, 13), 1) << "the missed ball is drawn on the catcher's row";
    EXPECT_EQ(game->StatusLabel()->GetText(), "Game over!");
    EXPECT_EQ(game->StartButton()->GetText(), "START");
    EXPECT_EQ(game->NameForm(), nullptr) << "no name is asked for a game without points";
}

TEST_F(Rules, BallsFallStraightAndBounceOffPegsInwardsAtTheWalls)
{
    PressStart();
    game->Balls() = {Ball{1, 1}};
    BallStep();
    EXPECT_EQ(game->Balls()[0].column, 2) << "a peg below column 1 always sends the ball inwards";
    EXPECT_EQ(game->Balls()[0].row, 2);
    EXPECT_EQ(game->SpriteAt(2, 2), 1);
    EXPECT_EQ(game->SpriteAt(1, 1), FormMain::emptySprite);
    EXPECT_EQ(game->SpriteAt(1, 2), FormMain::pegSprite) << "the peg is left standing";

    game->Balls() = {Ball{10, 4}};
    BallStep();
    EXPECT_EQ(game->Balls()[0].column, 9) << "and at column 10 too";

    game->Balls() = {Ball{5, 1}};
    dice = {2};
    BallStep();
    EXPECT_EQ(game->Balls()[0].column, 4) << "elsewhere the dice choose: 2 goes left";
    game->Balls() = {Ball{5, 1}};
    dice = {1};
    BallStep();
    EXPECT_EQ(game->Balls()[0].column, 6) << "1 goes right";

    game->Balls() = {Ball{3, 0}};
    BallStep();
    EXPECT_EQ(game->Balls()[0].column, 3) << "no peg below: straight down";
    EXPECT_EQ(game->Balls()[0].row, 1);
}

TEST_F(Rules, BallsEnterOneAtATimeMoreThanTwoSecondsApart)
{
    PressStart();
    DropOntoCatcher(*game);
    for (int i = 0; i < 9; ++i) {
        DropOntoCatcher(*game);
        BallStep();
    }
    DropOntoCatcher(*game);
    BallStep();
    ASSERT_TRUE(game->InLevelPause());
    Wait(3001);
    game->Tick();
    ASSERT_EQ(game->Balls().size(), 2u);
    Wait(2001);
    dice = {7, 3};
    BallStep();
    EXPECT_EQ(game->Balls()[0].column, 7);
    EXPECT_EQ(game->Balls()[0].row, 0);
    EXPECT_EQ(game->SpriteAt(7, 0), 1);
    EXPECT_EQ(game->Balls()[1].column, 0) << "the second waits for its own gap";
    Wait(2000);
    BallStep();
    EXPECT_EQ(game->Balls()[1].column, 0) << "exactly 2000 ms is not enough";
    Wait(1);
    BallStep();
    EXPECT_EQ(game->Balls()[1].column, 3);
    EXPECT_EQ(game->SpriteAt(3, 0), 2) << "ball 1 is drawn with the second ball sprite";
}

TEST_F(Rules, LevelCompletesPausesAndStartsTheNextOne)
{
    PressStart();
    for (int i = 0; i < 10; ++i) {
        DropOntoCatcher(*game);
        BallStep();
    }
    EXPECT_EQ(game->GetLevel(), 2);
    EXPECT_TRUE(game->InLevelPause());
    EXPECT_EQ(game->StatusLabel()->GetText(), "Level completed!");
    EXPECT_EQ(game->LevelLabel()->GetText(), "Level: 01") << "labels change only when the next level starts";
    EXPECT_EQ(game->ToCatchLabel()->GetText(), "0");

    Wait(3000);
    game->Tick();
    EXPECT_TRUE(game->InLevelPause());
    Wait(1);
    game->Tick();
    EXPECT_FALSE(game->InLevelPause());
    EXPECT_EQ(game->Balls().size(), 2u);
    EXPECT_EQ(game->GetBallsToCatch(), 12);
    EXPECT_EQ(game->LevelLabel()->GetText(), "Level: 02");
    EXPECT_EQ(game->StatusLabel()->GetText(), "");
    EXPECT_EQ(CountSprites(*game, FormMain::pegSprite), 25);
}

TEST_F(Rules, CatchesNeededGrowByTwoUpToFifty)
{
    PressStart();
    std::vector<int> needed{game->GetBallsToCatch()};
    while (game->GetLevel() < 23) {
        DropOntoCatcher(*game);
        BallStep();
        if (game->InLevelPause()) {
            Wait(3001);
            game->Tick();
            needed.push_back(game->GetBallsToCatch());
        }
        ASSERT_TRUE(game->IsRunning());
    }
    for (std::size_t i = 0; i < needed.size(); ++i)
        EXPECT_EQ(needed[i], std::min(2 * static_cast<int>(i + 1) + 8, 50)) << "level " << i + 1;
    EXPECT_EQ(needed[20], 50);
}

TEST_F(Rules, CatcherMovesOneColumnEveryFifthTickWithinTheWell)
{
    PressStart();
    game->Balls().clear();
    game->Keys().KeyPressed(XK_Left);
    for (int i = 0; i < 5; ++i) game->Tick();
    EXPECT_EQ(game->PlayerColumn(), 1) << "left at column 1 does nothing";
    EXPECT_EQ(game->SpriteAt(1, 13), FormMain::catcherSprite);

    game->Keys().KeyPressed('d');
    for (int i = 0; i < 4; ++i) game->Tick();
    EXPECT_EQ(game->PlayerColumn(), 1);
    game->Tick();
    EXPECT_EQ(game->PlayerColumn(), 2);
    EXPECT_EQ(game->SpriteAt(1, 13), FormMain::emptySprite);
    EXPECT_EQ(game->SpriteAt(2, 13), FormMain::catcherSprite);
    for (int i = 0; i < 100; ++i) game->Tick();
    EXPECT_EQ(game->PlayerColumn(), 10);

    game->Keys().KeyPressed(XK_space);
    game->Keys().KeyPressed(XK_Left);
    game->Keys().KeyReleased(XK_Left);
    for (int i = 0; i < 10; ++i) game->Tick();
    EXPECT_EQ(game->PlayerColumn(), 10) << "released keys do not steer";
}

TEST_F(Rules, DirectionPriorityAndSharedFlags)
{
    KeyTable& keys = game->Keys();
    keys.KeyPressed(XK_Left);
    EXPECT_EQ(game->ReadDirection(), -1);
    keys.KeyPressed('a');
    EXPECT_EQ(game->ReadDirection(), -1) << "a and Left share a flag";
    keys.KeyPressed(XK_Shift_L);
    EXPECT_EQ(game->ReadDirection(), 0) << "any press clears the table";
    keys.KeyPressed('A');
    EXPECT_EQ(game->ReadDirection(), 0) << "upper-case A is another key";
    keys.SetClearOnPress(false);
    keys.KeyPressed(XK_Left);
    keys.KeyPressed(XK_Right);
    EXPECT_EQ(game->ReadDirection(), 1) << "right wins over left";
    keys.KeyPressed(XK_Up);
    keys.KeyPressed(XK_Down);
    EXPECT_EQ(game->ReadDirection(), 3);
    keys.KeyPressed(' ');
    EXPECT_EQ(game->ReadDirection(), 4) << "fire wins over everything";
    EXPECT_FALSE(KeyTable::IndexOf(XK_Shift_L).has_value());
    EXPECT_EQ(KeyTable::IndexOf(XK_Down), 'x');
    EXPECT_EQ(KeyTable::IndexOf(XK_Up), 'w');
}

TEST_F(Rules, MissAfterScoringAsksForTheNameAndRecordsIt)
{
    PressStart();
    for (int i = 0; i < 3; ++i) {
        DropOntoCatcher(*game);
        BallStep();
    }
    game->Balls()[0] = Ball{9, 12};
    BallStep();
    ASSERT_NE(game->NameForm(), nullptr);
    FormNamePlayer& dialog = *game->NameForm();
    EXPECT_FALSE(game->IsEnabled());
    EXPECT_EQ(game->GetOwnerForm(), &dialog);
    EXPECT_EQ(dialog.GetCaption(), "Top Ten");
    EXPECT_EQ(dialog.PromptLabel()->GetText(), "Insert your name:");
    // Positions are read back inside the 1-pixel window border.
    const Point main = game->GetPosition();
    EXPECT_EQ(dialog.GetPosition(), (Point{main.x + (800 - 250) / 2 + 1, main.y + (600 - 115) / 2 + 1}));

    dialog.NameBox()->SetText("ANNA");
    dialog.Confirm(*dialog.OkButton());
    EXPECT_TRUE(game->IsEnabled());
    EXPECT_EQ(dialog.GetWindow(), 0u);
    ASSERT_EQ(game->HighScores().size(), 1u);
    EXPECT_EQ(game->HighScores()[0], "00000003 ANNA         Level 1");
    EXPECT_EQ(folder->ReadFile("Data/Korvanta/Score/Classifica.txt"), "00000003 ANNA         Level 1\n");
}

TEST_F(Rules, EmptyNameIsRefusedAndClosingRecordsWithoutAName)
{
    PressStart();
    DropOntoCatcher(*game);
    BallStep();
    game->Balls()[0] = Ball{9, 12};
    BallStep();
    ASSERT_NE(game->NameForm(), nullptr);
    FormNamePlayer& dialog = *game->NameForm();
    dialog.NameBox()->SetText("   ");
    dialog.Confirm(*dialog.OkButton());
    EXPECT_NE(dialog.GetWindow(), 0u) << "blanks only: the dialog stays open";
    EXPECT_FALSE(game->IsEnabled());

    // The window manager's close: the question, then the window goes and onClosed runs.
    ASSERT_TRUE(dialog.CloseQuery());
    dialog.DestroyWindow();
    dialog.Closed();
    EXPECT_TRUE(game->IsEnabled());
    ASSERT_EQ(game->HighScores().size(), 1u);
    EXPECT_EQ(game->HighScores()[0], "00000001" + std::string(13, ' ') + " Level 1");
}

TEST_F(Rules, ExitAsksAndOnlyYesQuits)
{
    PressStart();
    game->ButtonClicked(*game->ExitButton());
    auto* box = dynamic_cast<FormMsgBox*>(currentMsgBox.get());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->GetCaption(), "Exit");
    EXPECT_EQ(box->GetSize(), (Size{250, 150}));
    const Point main = game->GetPosition();
    EXPECT_EQ(box->GetPosition(), (Point{main.x + 275 + 1, main.y + 225 + 1})) << "centred, inside its border";
    EXPECT_FALSE(game->IsEnabled());
    EXPECT_EQ(box->SecondButton()->GetText(), "NO");
    EXPECT_LT(box->SecondButton()->GetPosition().x, box->FirstButton()->GetPosition().x) << "NO left, YES right";

    box->Answer(*box->SecondButton());
    EXPECT_FALSE(QuitRequested());
    EXPECT_TRUE(game->IsEnabled());
    EXPECT_TRUE(game->IsRunning()) << "NO leaves the game as it was";

    EXPECT_FALSE(game->CloseQuery()) << "the window manager's close asks the same question";
    box = dynamic_cast<FormMsgBox*>(currentMsgBox.get());
    ASSERT_NE(box, nullptr);
    box->Answer(*box->FirstButton());
    EXPECT_TRUE(QuitRequested());
    EXPECT_FALSE(game->GameTimer()->IsRunning());
}
