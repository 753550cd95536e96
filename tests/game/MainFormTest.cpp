// The main form as the well's window: what the rules put into the well is what the window shows,
// and the form's own part of the game, the labels, the name dialog and the exit question.

#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include <array>
#include <sys/stat.h>

#include "game/FormMsgBox.h"
#include "game/FormNamePlayer.h"
#include "game/WellLayout.h"
#include "graphics/Images.h"
#include "tests/game/GameFixture.h"
#include "toolkit/ButtonCustom.h"
#include "toolkit/CellControl.h"
#include "toolkit/TextBoxCustom.h"

namespace {

using WellLayout::sheetWidth;
constexpr int cell = WellLayout::cellSize;

// Each sprite of the test's sheet is one flat colour, so one pixel tells which sprite a cell shows.
Colour SpriteColour(int sprite) { return 0x204060 + sprite * 0x0A0B05; }

class MainForm : public GameFixture {
protected:
    void PrepareFolder() override
    {
        mkdir("Data", 0777);
        std::string sheet;
        for (int y = 0; y < cell; ++y) {
            for (int x = 0; x < sheetWidth; ++x) {
                const Colour colour = SpriteColour(x / cell);
                sheet += static_cast<char>(colour >> 16);
                sheet += static_cast<char>(colour >> 8 & 0xFF);
                sheet += static_cast<char>(colour & 0xFF);
            }
        }
        folder->WriteFile(FormMain::spriteSheetPath, sheet);
    }

    // The sprites the window shows, read back from its pixels; -1 where no sprite's colour is.
    std::array<int, Well::columns * Well::rows> ShownWell() const
    {
        std::array<int, Well::columns * Well::rows> shown{};
        shown.fill(-1);
        XImage* image = XGetImage(game->GetXDisplay(), game->GetWindow(), WellLayout::wellLeft, WellLayout::wellTop,
                                  WellLayout::wellWidth, WellLayout::wellHeight, AllPlanes, ZPixmap);
        if (!image) return shown;
        for (int index = 0; index < Well::columns * Well::rows; ++index) {
            const int column = index % Well::columns, row = index / Well::columns;
            const auto pixel = static_cast<Colour>(XGetPixel(image, column * cell + cell / 2, row * cell + cell / 2) & 0xFFFFFF);
            for (int sprite = 0; sprite < WellLayout::spriteCount; ++sprite)
                if (pixel == SpriteColour(sprite)) shown[static_cast<std::size_t>(index)] = sprite;
        }
        XDestroyImage(image);
        return shown;
    }

    void ExpectWindowShowsTheWell(const char* when) const
    {
        const auto shown = ShownWell();
        for (int row = 0; row < Well::rows; ++row)
            for (int column = 0; column < Well::columns; ++column)
                EXPECT_EQ(shown[static_cast<std::size_t>(column + Well::columns * row)], game->GetWell().SpriteAt(column, row))
                    << when << ": cell " << column << ", " << row;
    }

    std::string Label(const std::string& prefix) const
    {
        const auto* label = Find<CellControl>([&](const std::string& text) { return text.rfind(prefix, 0) == 0; });
        return label ? label->GetText() : "missing";
    }
};

// The first paint comes while the form's top-left pixel, which the images' probe reads, is off-screen.
class MainFormFirstPaintOffScreen : public MainForm {
protected:
    void BeforeFirstPaint() override
    {
        ForgetPixelFormat(game->GetXDisplay());
        const auto previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        game->SetPosition(-50, -50);
        game->Paint();
        XSetErrorHandler(previous);
        game->SetPosition(0, 0);
    }
};

}  // namespace

TEST_F(MainFormFirstPaintOffScreen, SheetImageIsMadeAtALaterPaint) { ExpectWindowShowsTheWell("painted again on the screen"); }

TEST_F(MainForm, CellsDrawWhatTheWellHolds)
{
    EXPECT_EQ(Label("Score: "), "Score: 00000");
    EXPECT_EQ(Label("Level: "), "Level: 00");
    EXPECT_NE(Find<CellControl>("0"), nullptr) << "the catches still needed";
    ASSERT_NE(GameTimer(), nullptr);
    EXPECT_TRUE(GameTimer()->IsRunning());
    ASSERT_EQ(game->GetWell().SpriteAt(8, 10), 4);
    ExpectWindowShowsTheWell("title screen");

    Click("START");
    EXPECT_NE(Find<ButtonCustom>("CANCEL"), nullptr);
    EXPECT_EQ(Label("Level: "), "Level: 01");
    EXPECT_NE(Find<CellControl>("-10"), nullptr);
    ExpectWindowShowsTheWell("after START");

    const Well& well = game->GetWell();
    ASSERT_TRUE(PlayUntil([&] { return well.Balls()[0].row == 6; }));
    ExpectWindowShowsTheWell("in play");

    ASSERT_TRUE(PlayUntil([&] { return !well.IsRunning(); }, true));
    ExpectWindowShowsTheWell("after a miss");
    EXPECT_NE(Find<CellControl>("Game over!"), nullptr);
    EXPECT_NE(Find<ButtonCustom>("START"), nullptr);
    EXPECT_EQ(OpenDialog<FormNamePlayer>(), nullptr) << "no name is asked for a game without points";
    EXPECT_TRUE(game->IsEnabled());
}

TEST_F(MainForm, MissAfterScoringAsksForTheNameAndRecordsIt)
{
    Click("START");
    const Well& well = game->GetWell();
    ASSERT_TRUE(PlayUntil([&] { return well.Score() == 3; }));
    EXPECT_EQ(Label("Score: "), "Score: 00003");
    EXPECT_NE(Find<CellControl>("-7"), nullptr) << "the catches still needed";
    ASSERT_TRUE(PlayUntil([&] { return !well.IsRunning(); }, true));
    FormNamePlayer* dialog = OpenDialog<FormNamePlayer>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(game->IsEnabled());
    EXPECT_EQ(game->GetOwnerForm(), dialog);
    EXPECT_EQ(dialog->GetCaption(), "Top Ten");
    EXPECT_EQ(dialog->PromptLabel()->GetText(), "Insert your name:");
    // Positions are read back inside the 1-pixel window border.
    const Point main = game->GetPosition();
    EXPECT_EQ(dialog->GetPosition(), (Point{main.x + (800 - 250) / 2 + 1, main.y + (600 - 115) / 2 + 1}));

    dialog->NameBox()->SetText("ANNA");
    dialog->Confirm(*dialog->OkButton());
    EXPECT_TRUE(game->IsEnabled());
    EXPECT_EQ(dialog->GetWindow(), 0u);
    EXPECT_EQ(well.TopTen(), std::vector<std::string>{"00000003 ANNA         Level 1"}) << "the banner shows the new table";
    EXPECT_EQ(folder->ReadFile("Data/Korvanta/Score/Classifica.txt"), "00000003 ANNA         Level 1\n");
}

TEST_F(MainForm, EmptyNameIsRefusedAndClosingRecordsWithoutAName)
{
    Click("START");
    const Well& well = game->GetWell();
    ASSERT_TRUE(PlayUntil([&] { return well.Score() == 1; }));
    ASSERT_TRUE(PlayUntil([&] { return !well.IsRunning(); }, true));
    FormNamePlayer* dialog = OpenDialog<FormNamePlayer>();
    ASSERT_NE(dialog, nullptr);
    dialog->NameBox()->SetText("   ");
    dialog->Confirm(*dialog->OkButton());
    EXPECT_NE(dialog->GetWindow(), 0u) << "blanks only: the dialog stays open";
    EXPECT_FALSE(game->IsEnabled());

    // The window manager's close: the question, then the window goes and onClosed runs.
    ASSERT_TRUE(dialog->CloseQuery());
    dialog->DestroyWindow();
    dialog->Closed();
    EXPECT_TRUE(game->IsEnabled());
    EXPECT_EQ(well.TopTen(), std::vector<std::string>{"00000001" + std::string(13, ' ') + " Level 1"});
}

TEST_F(MainForm, ExitAsksAndOnlyYesQuits)
{
    Click("START");
    Click("EXIT");
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
    EXPECT_TRUE(game->GetWell().IsRunning()) << "NO leaves the game as it was";

    EXPECT_FALSE(game->CloseQuery()) << "the window manager's close asks the same question";
    box = dynamic_cast<FormMsgBox*>(currentMsgBox.get());
    ASSERT_NE(box, nullptr);
    box->Answer(*box->FirstButton());
    EXPECT_TRUE(QuitRequested());
    EXPECT_FALSE(GameTimer()->IsRunning());
}
