// gtest comes before Xlib, whose None macro would break it.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "tests/support/FormFixture.h"
#include "tests/toolkit/PixelArea.h"
#include "toolkit/Registry.h"
#include "toolkit/Slider.h"

namespace {

constexpr Colour red = 0xFF0000;
constexpr Colour highlight = 0xDDDDDD;

// A horizontal slider from 0 to 10 at (20, 20), 120 x 36 once painted: ticks 8 pixels apart from
// x = 40, the last at 121, on the row cy = 38.
class SliderTest : public FormFixture {
protected:
    void Watch(Slider& slider)
    {
        slider.SetOnValueChanged([this](Slider&, int value) { changes.push_back(value); });
        slider.SetOnChange([this](GUIElement&) { ++onChangeCount; });
    }
    static int TickX(int value) { return value == 10 ? 121 : 40 + 8 * value; }
    static void Place(Slider& slider)
    {
        slider.SetPosition(20, 20);
        slider.SetSize(120, 36);
    }

    std::vector<int> changes;
    int onChangeCount = 0;
};

}  // namespace

TEST_F(SliderTest, SizeSnapsToWholePixelsPerValue)
{
    Slider slider(form.get(), false, 0, 10);
    slider.SetSize(50, 20);
    slider.Show();
    EXPECT_EQ(slider.GetSize(), (Size{120, 36})) << "8 pixels per value plus 40, at least 36 high";
    slider.SetSize(125, 40);
    EXPECT_EQ(slider.GetSize(), (Size{120, 40})) << "snapped down to a multiple of the range plus 40";
    slider.SetSize(151, 40);
    EXPECT_EQ(slider.GetWidth(), 150);

    Slider upright(form.get(), true, 0, 10);
    upright.SetPosition(250, 20);
    upright.SetSize(30, 50);
    upright.Show();
    EXPECT_EQ(upright.GetSize(), (Size{40, 116}));
    upright.SetSize(60, 200);
    EXPECT_EQ(upright.GetSize(), (Size{60, 196}));
}

TEST_F(SliderTest, KeysWrapAroundAndReportEveryChange)
{
    Slider slider(form.get(), false, 0, 10);
    Place(slider);
    slider.Show();
    Watch(slider);
    slider.SetValue(10);
    EXPECT_TRUE(changes.empty());
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 300, 250);
                              TypeKey(XK_Tab);
                              return true;
                          },
                          [&] { return FocusElement() == &slider; },
                          [&] {
                              TypeKey(XK_Right);
                              return true;
                          },
                          [&] { return changes.size() == 1; },
                          [&] {
                              TypeKey(XK_Left);
                              return true;
                          },
                          [&] { return changes.size() == 2; },
                          [&] {
                              TypeKey(XK_Up);
                              TypeKey(XK_Down);
                              TypeKey(XK_space);
                              return true;
                          },
                          [&] { return changes.size() == 5; }}));
    EXPECT_EQ(changes, (std::vector<int>{0, 10, 9, 10, 0}));
    EXPECT_EQ(onChangeCount, 5);
    EXPECT_EQ(slider.GetValue(), 0);
}

TEST_F(SliderTest, SetValueClampsWithoutCallback)
{
    Slider slider(form.get(), false, -5, 5);
    Watch(slider);
    EXPECT_EQ(slider.GetValue(), -5);
    slider.SetValue(99);
    EXPECT_EQ(slider.GetValue(), 5);
    slider.SetValue(-99);
    EXPECT_EQ(slider.GetValue(), -5);
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(onChangeCount, 0);
    slider.NotifyValueChanged();
    EXPECT_EQ(changes, (std::vector<int>{-5}));
    EXPECT_EQ(onChangeCount, 1);
}

TEST_F(SliderTest, KeysNeedTheFocusAndAnEnabledSlider)
{
    Slider slider(form.get(), false, 0, 10);
    Place(slider);
    slider.Show();
    Watch(slider);
    slider.KeyDown(XK_Right);
    EXPECT_EQ(slider.GetValue(), 0);
    slider.SetFocus();
    slider.SetEnabledAndPaint(false);
    slider.KeyDown(XK_Right);
    slider.KeyChar(' ');
    slider.MouseDown({TickX(5), 38});
    EXPECT_EQ(slider.GetValue(), 0);
    EXPECT_FALSE(slider.IsDragging());
    EXPECT_TRUE(changes.empty());
}

TEST_F(SliderTest, PressSelectsTheTickAtOrAfterThePointerAndDraggingFollowsIt)
{
    Slider slider(form.get(), false, 0, 10);
    Place(slider);
    slider.SetValue(3);
    slider.Show();
    Watch(slider);
    Point lastOnForm;
    form->SetOnMouseMove([&](GUIElement&, int x, int y) { lastOnForm = {x, y}; });
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, TickX(5) + 1, 38);
                              PressButton(1, true);
                              return true;
                          },
                          [&] { return changes.size() == 1 && slider.IsDragging(); },
                          [&] {
                              MovePointer(*form, TickX(8) - 3, 45);
                              return true;
                          },
                          [&] { return changes.size() == 2; },
                          [&] {
                              // Motion reaches the focused slider even off its box.
                              MovePointer(*form, TickX(9), 150);
                              return true;
                          },
                          [&] { return changes.size() == 3; },
                          [&] {
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return !slider.IsDragging(); },
                          [&] {
                              MovePointer(*form, TickX(2), 38);
                              return true;
                          },
                          [&] { return lastOnForm == Point{TickX(2), 38}; }}));
    EXPECT_EQ(changes, (std::vector<int>{5, 8, 9})) << "after the release motion changes nothing";
}

TEST_F(SliderTest, PressBeforeTheFirstTickSelectsTheMinimumAndPastTheLastChangesNothing)
{
    Slider slider(form.get(), false, 0, 10);
    Place(slider);
    slider.SetValue(4);
    slider.Show();
    Watch(slider);
    slider.MouseDown({TickX(10) + 5, 38});
    EXPECT_EQ(slider.GetValue(), 4);
    slider.MouseDown({22, 38});
    EXPECT_EQ(slider.GetValue(), 0);
    slider.MouseDown({22, 38});
    EXPECT_EQ(changes, (std::vector<int>{0})) << "no report without a change";
    slider.Click({22, 38});
    EXPECT_FALSE(slider.IsDragging());
}

TEST_F(SliderTest, VerticalSliderMatchesThePointerByRow)
{
    Slider slider(form.get(), true, 0, 4);
    slider.SetPosition(20, 20);
    slider.SetSize(40, 100);
    slider.Show();
    // Height 100 over 4 values: step (100 - 35) / 4 = 16 from the top of the track at y + 18.
    ASSERT_EQ(slider.Ticks().size(), 5u);
    EXPECT_EQ(slider.Ticks()[1], (Point{40, 54}));
    EXPECT_EQ(slider.Ticks()[4], (Point{40, 20 + 100 - 17}));
    Watch(slider);
    slider.MouseDown({40, 55});
    EXPECT_EQ(slider.GetValue(), 1);
    slider.MouseDown({40, 57});
    EXPECT_EQ(slider.GetValue(), 2);
    slider.SetFocus();
    slider.KeyDown(XK_Down);
    EXPECT_EQ(slider.GetValue(), 3);
}

TEST_F(SliderTest, PaintDrawsTrackTicksPointerAndLabels)
{
    Slider slider(form.get(), false, 0, 10);
    Place(slider);
    slider.SetLineColor(red);
    slider.SetValue(5);
    slider.Show();
    ASSERT_EQ(slider.Ticks().size(), 11u);
    for (int value = 0; value <= 10; ++value) EXPECT_EQ(slider.Ticks()[static_cast<std::size_t>(value)], (Point{TickX(value), 38}));
    EXPECT_EQ(PixelAt(44, 38), red) << "track";
    EXPECT_EQ(PixelAt(44, 39), highlight);
    EXPECT_EQ(PixelAt(TickX(3), 35), red) << "tick";
    EXPECT_EQ(PixelAt(TickX(3) + 1, 35), highlight);
    EXPECT_EQ(PixelAt(TickX(5), 28), red) << "pointer";
    EXPECT_EQ(PixelAt(TickX(3), 28), background);
    EXPECT_GT(PixelArea(*form, 20, 20, 20, 36).Count(red), 0) << "minimum label";
    EXPECT_GT(PixelArea(*form, 123, 20, 17, 36).Count(red), 0) << "maximum label";

    slider.SetShowLabels(false);
    EXPECT_EQ(PixelArea(*form, 20, 20, 19, 36).Count(red), 0);
    EXPECT_EQ(PixelArea(*form, 123, 20, 17, 36).Count(red), 0);

    slider.SetEnabledAndPaint(false);
    EXPECT_EQ(PixelAt(44, 38), 0x9B9B9B);
    slider.SetEnabledAndPaint(true);
    slider.SetValue(7);
    EXPECT_EQ(PixelAt(TickX(5), 28), background);
    EXPECT_EQ(PixelAt(TickX(7), 28), red);

    slider.SetBackColor(0x00FF00);
    EXPECT_EQ(PixelAt(25, 50), 0x00FF00);
}

TEST_F(SliderTest, FocusFrameIsDashedAroundTheWhole)
{
    Slider slider(form.get(), false, 0, 10);
    Place(slider);
    slider.SetLineColor(red);
    slider.SetShowLabels(false);
    slider.Show();
    EXPECT_EQ(PixelArea(*form, 20, 21, 120, 1).Count(red), 0);
    slider.GotFocus();
    const int onTop = PixelArea(*form, 20, 21, 120, 1).Count(red);
    EXPECT_GT(onTop, 20);
    EXPECT_LT(onTop, 120) << "dashed";
    EXPECT_GT(PixelArea(*form, 139, 21, 1, 35).Count(red), 5) << "right edge";
    slider.LostFocus();
    EXPECT_EQ(PixelArea(*form, 20, 21, 120, 1).Count(red), 0);
}

TEST_F(SliderTest, EmptyRangeIsDrawnEmptyAndIgnoresKeysAndMouse)
{
    Slider flat(form.get(), false, 5, 5), reversed(form.get(), true, 9, 1);
    flat.SetPosition(20, 20);
    reversed.SetPosition(200, 20);
    flat.SetLineColor(red);
    flat.Show();
    reversed.Show();
    EXPECT_TRUE(flat.Ticks().empty());
    EXPECT_EQ(PixelArea(*form, 20, 20, 100, 50).Count(red), 0);
    Watch(flat);
    flat.SetFocus();
    flat.KeyDown(XK_Right);
    flat.KeyDown(XK_Left);
    flat.MouseDown({30, 30});
    EXPECT_EQ(flat.GetValue(), 5);
    reversed.SetFocus();
    reversed.KeyDown(XK_Down);
    reversed.SetValue(4);
    EXPECT_TRUE(changes.empty());
}

TEST_F(SliderTest, HiddenSliderIsErasedAndIgnoresTheMouse)
{
    Slider slider(form.get(), false, 0, 10);
    Place(slider);
    slider.Show();
    slider.Hide();
    EXPECT_FALSE(slider.IsCreated());
    EXPECT_EQ(PixelArea(*form, 20, 20, 120, 36).Count(background), 120 * 36);
    Watch(slider);
    slider.MouseDown({TickX(6), 38});
    EXPECT_EQ(slider.GetValue(), 0);
    slider.Show();
    EXPECT_EQ(slider.Ticks().size(), 11u);
}
