#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <memory>
#include <vector>

#include "graphics/Images.h"
#include "tests/toolkit/WidgetFixture.h"
#include "toolkit/ButtonCustom.h"
#include "toolkit/Registry.h"

namespace {

constexpr Colour face = 0xC0C0C0;
constexpr Colour white = 0xFFFFFF;
constexpr Colour black = 0x000000;

class ButtonTest : public WidgetFixture {
protected:
    // An 80 x 30 button at (20, 20) with a face colour of its own, counting its commands.
    std::unique_ptr<ButtonCustom> MakeButton(const std::string& caption = "OK")
    {
        auto made = std::make_unique<ButtonCustom>(form.get(), caption);
        made->SetPosition(20, 20);
        made->SetBackColor(face);
        made->SetOnCommand([this](GUIElement& element) {
            ++commands;
            commandSource = &element;
        });
        return made;
    }

    // The pixels of the focus rectangle's top line that are drawn, out of those it spans.
    int FocusLinePixels(Colour colour) const { return CountColour(24, 23, 72, 1, colour); }

    int commands = 0;
    GUIElement* commandSource = nullptr;
};

}  // namespace

TEST_F(ButtonTest, RaisedFrameAndCentredCaption)
{
    auto button = MakeButton("OK");
    button->Show();
    EXPECT_EQ(PixelAt(20, 20), white);
    EXPECT_EQ(PixelAt(60, 20), white) << "top";
    EXPECT_EQ(PixelAt(20, 35), white) << "left";
    EXPECT_EQ(PixelAt(99, 35), black) << "right";
    EXPECT_EQ(PixelAt(60, 49), black) << "bottom";
    EXPECT_EQ(PixelAt(22, 22), face);
    EXPECT_EQ(PixelAt(100, 35), background) << "nothing beyond the box";

    const PixelBounds caption = BoundsOf(21, 21, 78, 28, black);
    ASSERT_FALSE(caption.Empty());
    EXPECT_NEAR((caption.left + caption.right) / 2.0, 59.5, 2.0) << "centred across";
    EXPECT_NEAR((caption.top + caption.bottom) / 2.0, 34.5, 4.0) << "centred down";
    EXPECT_EQ(FocusLinePixels(black), 0) << "no focus rectangle without the focus";
}

TEST_F(ButtonTest, PressedLookSwapsTheFrameAndClickRunsTheCommandOnce)
{
    auto button = MakeButton();
    button->Show();
    button->MouseDown({30, 30});
    EXPECT_TRUE(button->IsPressed());
    EXPECT_EQ(PixelAt(60, 20), black);
    EXPECT_EQ(PixelAt(20, 35), black);
    EXPECT_EQ(PixelAt(99, 35), white);
    EXPECT_EQ(PixelAt(60, 49), white);
    EXPECT_EQ(commands, 0) << "pressing alone runs nothing";

    button->Click({30, 30});
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(PixelAt(60, 20), white);
    EXPECT_EQ(PixelAt(60, 49), black);
    EXPECT_EQ(commands, 1);
    EXPECT_EQ(commandSource, button.get());
}

TEST_F(ButtonTest, FocusRectangleIsDashedInTheTextColourAndHiddenWhilePressed)
{
    auto button = MakeButton();
    button->SetTextColor(0x0000C0);
    button->Show();
    button->GotFocus();
    const int drawn = FocusLinePixels(0x0000C0);
    const int gaps = FocusLinePixels(face);
    EXPECT_GT(drawn, 20);
    EXPECT_GT(gaps, 20) << "a dashed line leaves gaps";
    EXPECT_EQ(PixelAt(24, 23), 0x0000C0) << "the dash starts at the line's start";
    EXPECT_GT(CountColour(24, 23, 1, 24, 0x0000C0), 0) << "left side";
    EXPECT_GT(CountColour(95, 23, 1, 24, 0x0000C0), 0) << "right side";
    EXPECT_GT(CountColour(24, 46, 72, 1, 0x0000C0), 0) << "bottom side";

    button->MouseDown({30, 30});
    EXPECT_EQ(FocusLinePixels(0x0000C0), 0);
    button->Click({30, 30});
    EXPECT_EQ(FocusLinePixels(0x0000C0), drawn);

    button->LostFocus();
    EXPECT_EQ(FocusLinePixels(0x0000C0), 0);
}

TEST_F(ButtonTest, DisabledButtonShowsAGreyCaptionAndIgnoresInput)
{
    auto button = MakeButton("Disabled");
    button->Show();
    button->SetEnabledAndPaint(false);
    EXPECT_GT(CountColour(21, 21, 78, 28, ButtonCustom::disabledTextColour), 0);
    EXPECT_EQ(CountColour(21, 21, 78, 28, black), 0);

    button->GotFocus();
    EXPECT_EQ(FocusLinePixels(black), 0) << "no focus rectangle on a disabled button";
    button->MouseDown({30, 30});
    EXPECT_FALSE(button->IsPressed());
    button->KeyDown(XK_Return);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_FALSE(button->KeyChar(13));
    button->Click({30, 30});
    EXPECT_EQ(commands, 0);

    button->SetEnabledAndPaint(true);
    EXPECT_GT(CountColour(21, 21, 78, 28, black), 0);
}

TEST_F(ButtonTest, ReturnPressesWhileFocusedAndTheCarriageReturnRunsTheCommand)
{
    auto button = MakeButton();
    button->Show();
    button->KeyDown(XK_Return);
    EXPECT_FALSE(button->IsPressed()) << "only a focused button answers Return";
    EXPECT_TRUE(button->KeyChar(13));
    EXPECT_EQ(commands, 0);

    button->GotFocus();
    button->KeyDown(XK_space);
    EXPECT_FALSE(button->IsPressed());
    button->KeyDown(XK_Return);
    EXPECT_TRUE(button->IsPressed());
    EXPECT_EQ(PixelAt(60, 20), black);
    button->KeyChar('a');
    EXPECT_EQ(commands, 0);
    button->KeyChar(13);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(commands, 1);
}

TEST_F(ButtonTest, LosingTheFocusLetsTheButtonUpWithoutACommand)
{
    auto button = MakeButton();
    button->Show();
    button->GotFocus();
    button->MouseDown({30, 30});
    button->LostFocus();
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(PixelAt(60, 20), white);
    EXPECT_EQ(commands, 0);
}

TEST_F(ButtonTest, TagEqualsIdAfterTheFirstCreation)
{
    auto button = MakeButton();
    button->GetTag() = 4711;
    button->Create();
    EXPECT_GT(button->GetId(), 0);
    EXPECT_EQ(button->GetTag(), static_cast<std::uint64_t>(button->GetId()));
}

TEST_F(ButtonTest, MovingAShownButtonErasesItWhereItWas)
{
    Clear(background);
    auto button = MakeButton();
    button->Show();
    button->SetPosition(200, 100);
    EXPECT_TRUE(AllColour(20, 20, 80, 30, background)) << "the old box, frame lines included";
    EXPECT_EQ(PixelAt(200, 100), white);
    EXPECT_EQ(PixelAt(279, 129), black);
    EXPECT_TRUE(button->IsCreated());

    button->SetSize(40, 20);
    EXPECT_EQ(PixelAt(279, 129), background);
    EXPECT_EQ(PixelAt(239, 119), black);
}

TEST_F(ButtonTest, HideErasesInTheParentsColourAndNeedsAShowToPaint)
{
    auto button = MakeButton();
    button->Show();
    button->Hide();
    EXPECT_FALSE(button->IsCreated());
    EXPECT_TRUE(AllColour(20, 20, 80, 30, background));
    button->SetText("Again");
    EXPECT_TRUE(AllColour(20, 20, 80, 30, background)) << "a hidden button paints nothing";
    button->Show();
    EXPECT_EQ(PixelAt(20, 20), white);
}

TEST_F(ButtonTest, ImageBesideTheCaptionAndCentredWithoutOne)
{
    // A 6 x 4 picture of pure red.
    std::vector<unsigned char> red(6 * 4 * 3, 0);
    for (std::size_t i = 0; i < red.size(); i += 3) red[i] = 0xFF;
    ImagePtr picture(MakeImage(form->Target(), red.data(), 6, 4));
    ASSERT_TRUE(picture);

    auto button = MakeButton("");
    button->SetImage(picture.get());
    button->Show();
    PixelBounds bounds = BoundsOf(20, 20, 80, 30, 0xFF0000);
    EXPECT_EQ(bounds.left, 20 + (80 - 6) / 2);
    EXPECT_EQ(bounds.top, 20 + (30 - 4) / 2);
    EXPECT_EQ(bounds.count, 24);

    button->SetText("Go");
    bounds = BoundsOf(20, 20, 80, 30, 0xFF0000);
    EXPECT_EQ(bounds.left, 28);
    const PixelBounds caption = BoundsOf(21, 21, 78, 28, black);
    ASSERT_FALSE(caption.Empty());
    EXPECT_GE(caption.left, 20 + 6 + 10);

    button->SetHideContent(true);
    EXPECT_EQ(CountColour(20, 20, 80, 30, 0xFF0000), 0);
    EXPECT_EQ(CountColour(21, 21, 78, 28, black), 0);
}

TEST_F(ButtonTest, ClickThroughTheLoopRunsTheCommandAndShowsThePressedLook)
{
    auto button = MakeButton();
    button->Show();
    Colour topWhileHeld = 0;
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 50, 35);
                              PressButton(1, true);
                              return true;
                          },
                          [&] {
                              if (!button->IsPressed()) return false;
                              topWhileHeld = PixelAt(60, 20);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return commands == 1; }}));
    EXPECT_EQ(topWhileHeld, black);
    EXPECT_FALSE(button->IsPressed());
}

TEST_F(ButtonTest, PressThenReleaseElsewhereRunsNoCommand)
{
    auto button = MakeButton();
    button->Show();
    bool formClicked = false;
    form->SetOnClick([&](GUIElement&, std::uint64_t, Point) { formClicked = true; });
    GUIElement* focusWhileHeld = nullptr;
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 50, 35);
                              PressButton(1, true);
                              return true;
                          },
                          [&] {
                              if (!button->IsPressed()) return false;
                              focusWhileHeld = FocusElement();
                              MovePointer(*form, 300, 200);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return formClicked; }}));
    EXPECT_EQ(focusWhileHeld, button.get());
    EXPECT_EQ(commands, 0);
    EXPECT_FALSE(button->IsPressed());
    EXPECT_FALSE(button->HasFocus());
}

TEST_F(ButtonTest, ReturnKeyThroughTheLoopPressesAndRunsTheCommand)
{
    auto button = MakeButton();
    button->Show();
    bool pressedWhileHeld = false;
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 300, 200);
                              TypeKey(XK_Tab);
                              return true;
                          },
                          [&] { return FocusElement() == button.get(); },
                          [&] {
                              PressKey(XK_Return, true);
                              return true;
                          },
                          [&] {
                              if (!button->IsPressed()) return false;
                              pressedWhileHeld = commands == 0;
                              PressKey(XK_Return, false);
                              return true;
                          },
                          [&] { return commands == 1; }}));
    EXPECT_TRUE(pressedWhileHeld) << "the command waits for the key to come up";
    EXPECT_FALSE(button->IsPressed());
}

TEST_F(ButtonTest, ACommandMayDeleteItsOwnButton)
{
    auto button = MakeButton();
    button->Show();
    bool clicked = false;
    button->SetOnClick([&](GUIElement&, std::uint64_t, Point) { clicked = true; });
    button->SetOnCommand([&](GUIElement&) { button.reset(); });
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 50, 35);
                              PressButton(1, true);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return !button; }}));
    EXPECT_FALSE(clicked) << "nothing of the deleted button runs after its command";
}
