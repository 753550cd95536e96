// gtest comes before Xlib, whose None macro would break it.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "tests/support/FormFixture.h"
#include "tests/toolkit/PixelArea.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Registry.h"

namespace {

constexpr Colour disabledGrey = 0x9B9B9B;

// The 20 x 20 picture drawn one pixel in from the widget's corner.
PixelArea Box(const Form& form, const CheckBox& box) { return PixelArea(form, box.GetPosition().x + 1, box.GetPosition().y + 1, 20, 20); }

}  // namespace

using CheckBoxTest = FormFixture;

TEST_F(CheckBoxTest, EachStateShowsItsOwnPictureAndTheCaption)
{
    CheckBox box(form.get(), "Sound");
    box.SetPosition(20, 20);
    box.SetSize(120, 30);
    box.Show();
    const PixelArea unchecked = Box(*form, box);
    ASSERT_TRUE(unchecked.Valid());
    EXPECT_GT(unchecked.Count(0xFFFFFF), 100) << "enabled boxes are white inside";
    box.SetChecked(true);
    const PixelArea checked = Box(*form, box);
    EXPECT_FALSE(checked == unchecked);
    EXPECT_GT(checked.Count(0x000000), 5) << "the tick";
    box.SetEnabledAndPaint(false);
    const PixelArea checkedDisabled = Box(*form, box);
    EXPECT_FALSE(checkedDisabled == checked);
    EXPECT_LT(checkedDisabled.Count(0xFFFFFF), 50) << "disabled boxes are grey inside";
    box.SetChecked(false);
    EXPECT_FALSE(Box(*form, box) == checkedDisabled);
    EXPECT_FALSE(Box(*form, box) == unchecked);

    EXPECT_GT(PixelArea(*form, 46, 21, 90, 29).Count(disabledGrey), 0) << "a disabled caption is grey";
    EXPECT_EQ(PixelArea(*form, 46, 21, 90, 29).Count(0x000000), 0);
    box.SetEnabledAndPaint(true);
    EXPECT_GT(PixelArea(*form, 46, 21, 90, 29).Count(0x000000), 0);
    EXPECT_EQ(PixelAt(21 + 20, 45), background) << "the form's colour around the picture";
}

TEST_F(CheckBoxTest, LowBoxIsRaisedTo22OnItsFirstPaint)
{
    CheckBox box(form.get(), "Low");
    box.SetSize(100, 10);
    EXPECT_EQ(box.GetHeight(), 10);
    box.Show();
    EXPECT_EQ(box.GetHeight(), 22);
}

TEST_F(CheckBoxTest, ClickTogglesAndRunsTheCommandAfterTheNewStateIsPainted)
{
    CheckBox box(form.get(), "Music");
    box.SetPosition(20, 20);
    box.SetSize(120, 30);
    box.Show();
    box.SetChecked(true);
    const PixelArea checkedLook = Box(*form, box);
    box.SetChecked(false);
    int commands = 0;
    bool paintedBeforeCommand = false;
    box.SetOnCommand([&](GUIElement& element) {
        ++commands;
        paintedBeforeCommand = &element == &box && box.IsChecked() && Box(*form, box) == checkedLook;
    });
    int clicks = 0;
    box.SetOnClick([&](GUIElement&, std::uint64_t, Point) { ++clicks; });
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 30, 30);
                              PressButton(1, true);
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return clicks == 1; }}));
    EXPECT_TRUE(box.IsChecked());
    EXPECT_EQ(commands, 1);
    EXPECT_TRUE(paintedBeforeCommand);
}

TEST_F(CheckBoxTest, SpaceBarTogglesTheFocusedBoxAndSetCheckedRunsNoCommand)
{
    CheckBox box(form.get(), "Joystick");
    box.SetPosition(20, 20);
    box.SetSize(120, 30);
    box.Show();
    int commands = 0;
    box.SetOnCommand([&](GUIElement&) { ++commands; });
    box.SetChecked(true);
    box.SetChecked(false);
    EXPECT_EQ(commands, 0);
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 300, 250);
                              TypeKey(XK_Tab);
                              return true;
                          },
                          [&] { return FocusElement() == &box; },
                          [&] {
                              TypeKey(XK_space);
                              return true;
                          },
                          [&] { return commands == 1; }}));
    EXPECT_TRUE(box.IsChecked());
}

TEST_F(CheckBoxTest, DisabledBoxDoesNotToggleOnClickOrSpace)
{
    CheckBox box(form.get(), "Off");
    box.SetPosition(20, 20);
    box.Show();
    int commands = 0, clicks = 0;
    box.SetOnCommand([&](GUIElement&) { ++commands; });
    box.SetOnClick([&](GUIElement&, std::uint64_t, Point) { ++clicks; });
    box.SetEnabledAndPaint(false);
    const PixelArea before = Box(*form, box);

    box.GotFocus();
    box.Click({25, 25});
    box.KeyChar(' ');
    EXPECT_FALSE(box.IsChecked());
    EXPECT_EQ(commands, 0);
    EXPECT_EQ(clicks, 1) << "onClick is still raised";
    EXPECT_TRUE(Box(*form, box) == before);

    // Through the loop the press does not even reach it; the form still gets it.
    box.LostFocus();
    int formClicks = 0;
    form->SetOnClick([&](GUIElement&, std::uint64_t, Point) { ++formClicks; });
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 30, 30);
                              PressButton(1, true);
                              PressButton(1, false);
                              TypeKey(XK_space);
                              return true;
                          },
                          [&] { return formClicks == 1; }}));
    EXPECT_FALSE(box.IsChecked());
    EXPECT_EQ(commands, 0);
}

TEST_F(CheckBoxTest, FocusFrameComesAndGoesWithTheFocus)
{
    CheckBox box(form.get(), "Frame");
    box.SetPosition(20, 20);
    box.SetSize(120, 30);
    box.SetTextColor(0xFF0000);
    box.Show();
    // The frame's top edge runs from x + 23 to x + width - 8 on row y + 2.
    EXPECT_EQ(PixelArea(*form, 43, 22, 90, 1).Count(0xFF0000), 0);
    box.GotFocus();
    EXPECT_GT(PixelArea(*form, 43, 22, 90, 1).Count(0xFF0000), 20);
    EXPECT_GT(PixelArea(*form, 43, 21, 1, 28).Count(0xFF0000), 5) << "left edge";
    box.LostFocus();
    EXPECT_EQ(PixelArea(*form, 43, 22, 90, 1).Count(0xFF0000), 0);
}

TEST_F(CheckBoxTest, HiddenBoxIsErasedAndCreatedAgainWhenShown)
{
    CheckBox box(form.get(), "Gone");
    box.SetPosition(20, 20);
    box.SetBackColor(0x00FF00);
    box.Show();
    EXPECT_EQ(PixelAt(95, 45), 0x00FF00);
    box.Hide();
    EXPECT_FALSE(box.IsCreated());
    EXPECT_EQ(PixelArea(*form, 20, 20, 81, 31).Count(background), 81 * 31);
    box.Show();
    EXPECT_TRUE(box.IsCreated());
    EXPECT_EQ(PixelAt(95, 45), 0x00FF00);
}
