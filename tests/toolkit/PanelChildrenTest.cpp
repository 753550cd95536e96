#include <gtest/gtest.h>

#include <memory>

#include "tests/toolkit/WidgetFixture.h"
#include "toolkit/ButtonCustom.h"
#include "toolkit/CellControl.h"
#include "toolkit/PanelChildren.h"
#include "toolkit/Registry.h"

namespace {

constexpr Colour white = 0xFFFFFF;
constexpr Colour black = 0x000000;
constexpr Colour panelColour = 0x8080C0;
constexpr Colour childColour = 0xC00000;

// A 200 x 120 panel at (50, 40) holding a 40 x 20 cell at (10, 30) of the panel.
class PanelTest : public WidgetFixture {
protected:
    void SetUp() override
    {
        WidgetFixture::SetUp();
        panel = std::make_unique<PanelChildren>(form.get());
        panel->SetPosition(50, 40);
        panel->SetSize(200, 120);
        panel->SetBackColor(panelColour);
        cell = std::make_unique<CellControl>(panel.get());
        cell->SetPosition(10, 30);
        cell->SetSize(40, 20);
        cell->SetBackColor(childColour);
    }
    void TearDown() override
    {
        cell.reset();
        panel.reset();
        WidgetFixture::TearDown();
    }

    std::unique_ptr<PanelChildren> panel;
    std::unique_ptr<CellControl> cell;
};

}  // namespace

TEST_F(PanelTest, ShowingThePanelShowsItsChildrenRelativeToIt)
{
    panel->Show();
    EXPECT_TRUE(cell->IsCreated());
    EXPECT_EQ(PixelAt(52, 42), panelColour);
    EXPECT_EQ(PixelAt(61, 71), childColour) << "the child at panel (10, 30)";
    EXPECT_EQ(PixelAt(58, 68), panelColour);
}

TEST_F(PanelTest, HidingThePanelHidesAndErasesItsChildren)
{
    Clear(0x112233);
    panel->Show();
    panel->Hide();
    EXPECT_FALSE(panel->IsCreated());
    EXPECT_FALSE(cell->IsCreated());
    EXPECT_TRUE(AllColour(50, 40, 200, 120, background));
    EXPECT_EQ(PixelAt(250, 100), 0x112233);
}

TEST_F(PanelTest, MovingAShownPanelRedrawsEveryChildAtItsNewPlace)
{
    panel->Show();
    panel->SetPosition(150, 150);
    EXPECT_TRUE(panel->IsCreated());
    EXPECT_TRUE(cell->IsCreated());
    EXPECT_EQ(PixelAt(61, 71), background) << "old place of the child erased";
    EXPECT_TRUE(AllColour(50, 40, 100, 110, background)) << "old place of the panel erased";
    EXPECT_EQ(PixelAt(161, 181), childColour);
    EXPECT_EQ(PixelAt(152, 152), panelColour);
    EXPECT_TRUE(cell->HitTest({11, 31})) << "children keep their place relative to the panel";
}

TEST_F(PanelTest, BorderStyles)
{
    panel->SetSunken(true);
    panel->Show();
    EXPECT_TRUE(panel->HasBorder());
    EXPECT_TRUE(AllColour(50, 40, 199, 1, black));
    EXPECT_TRUE(AllColour(50, 40, 1, 119, black));
    EXPECT_TRUE(AllColour(249, 41, 1, 119, white));
    EXPECT_TRUE(AllColour(51, 159, 199, 1, white));

    panel->SetSunken(false);
    EXPECT_TRUE(AllColour(50, 40, 199, 1, white));
    EXPECT_TRUE(AllColour(249, 41, 1, 119, black));

    panel->SetFlatBorder(true);
    EXPECT_TRUE(AllColour(50, 40, 200, 1, black));
    EXPECT_TRUE(AllColour(249, 40, 1, 120, black));
    EXPECT_TRUE(AllColour(50, 159, 200, 1, black));

    panel->SetBorder(false);
    EXPECT_FALSE(panel->IsFlatBorder());
    EXPECT_EQ(PixelAt(50, 40), panelColour);
}

TEST_F(PanelTest, CaptionOnlyWhenThereIsOne)
{
    panel->Show();
    EXPECT_EQ(CountColour(51, 41, 198, 12, black), 0) << "an empty caption draws nothing";
    panel->SetText("Links");
    panel->SetCaptionColor(0x0000FF);
    const PixelBounds caption = BoundsOf(51, 41, 198, 14, 0x0000FF);
    ASSERT_FALSE(caption.Empty());
    EXPECT_LE(caption.left, 56) << "left-aligned";
    EXPECT_EQ(CountColour(51, 41, 198, 14, black), 0);
}

TEST_F(PanelTest, ChildBackColourReplacesTheChildsOwn)
{
    panel->Show();
    panel->SetChildBackColor(0x00FF00);
    EXPECT_EQ(cell->GetBackColor(), 0x00FF00);
    EXPECT_EQ(PixelAt(61, 71), 0x00FF00);
}

TEST_F(PanelTest, ClickOnAButtonInsideThePanelRunsItsCommand)
{
    ButtonCustom button(panel.get(), "In");
    button.SetPosition(100, 60);
    int commands = 0;
    button.SetOnCommand([&](GUIElement&) { ++commands; });
    panel->Show();
    EXPECT_EQ(PixelAt(150, 100), white) << "the button's corner at panel (100, 60)";
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 170, 115);
                              PressButton(1, true);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return commands == 1; }}));
}

TEST_F(PanelTest, KeptValuesAreStoredOnly)
{
    panel->SetScrollA(true);
    panel->SetRange(1, 2, 3);
    EXPECT_EQ(panel->GetRangeA(), (PanelChildren::Range{1, 2, 3}));
    panel->SetScrollA(false);
    panel->SetScrollB(true);
    panel->SetRange(4, 5);
    EXPECT_EQ(panel->GetRangeB(), (PanelChildren::Range{4, 5, 0}));
    EXPECT_EQ(panel->GetRangeA(), (PanelChildren::Range{1, 2, 3}));
}
