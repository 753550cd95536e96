// gtest comes before Xlib, whose None macro would break it.
#include <gtest/gtest.h>

#include "tests/support/FormFixture.h"
#include "tests/toolkit/PixelArea.h"
#include "toolkit/ProgressBar.h"
#include "toolkit/Registry.h"
#include "toolkit/Timer.h"

namespace {

constexpr Colour blue = 0x0000FF;
constexpr Colour grey = 0xAAAAAA;

}  // namespace

using ProgressBarTest = FormFixture;

TEST_F(ProgressBarTest, HalfValueFillsHalfTheInnerWidthInsideASunkenFrame)
{
    ProgressBar bar(form.get(), 0, 100);
    bar.SetPosition(20, 20);
    bar.Show();
    EXPECT_FALSE(bar.IsTabStop());
    EXPECT_EQ(bar.GetSize(), (Size{190, 25}));
    EXPECT_EQ(PixelAt(21, 30), grey) << "value 0 draws no bar";

    bar.SetValue(50);
    EXPECT_EQ(bar.FilledWidth(), 94);
    // A fill of 94 covers 93 columns, from the first inner column on.
    EXPECT_EQ(PixelAt(21, 21), blue);
    EXPECT_EQ(PixelAt(113, 42), blue);
    EXPECT_EQ(PixelAt(114, 30), grey);
    EXPECT_EQ(PixelAt(60, 20), 0x000000) << "top edge";
    EXPECT_EQ(PixelAt(20, 30), 0x000000) << "left edge";
    EXPECT_EQ(PixelAt(209, 30), 0xFFFFFF) << "right edge";
    EXPECT_EQ(PixelAt(60, 44), 0xFFFFFF) << "bottom edge";
    EXPECT_EQ(PixelAt(210, 30), background);
}

TEST_F(ProgressBarTest, ValueAboveTheMaximumShowsAFullBarAndReadsAsTheMaximum)
{
    ProgressBar bar(form.get(), 0, 100);
    bar.SetPosition(20, 20);
    bar.Show();
    bar.SetValue(500);
    EXPECT_EQ(bar.GetValue(), 100);
    EXPECT_EQ(PixelAt(207, 30), blue);
    EXPECT_EQ(PixelAt(208, 30), grey);
    bar.SetValue(-3);
    EXPECT_EQ(bar.GetValue(), 0);
    EXPECT_EQ(PixelAt(21, 30), grey);
}

TEST_F(ProgressBarTest, BarStartsAtTheMinimumAndNeverLeavesItsFrame)
{
    ProgressBar bar(form.get(), 50, 100);
    bar.SetPosition(20, 20);
    bar.Show();
    EXPECT_EQ(bar.GetValue(), 50);
    EXPECT_EQ(PixelAt(21, 30), grey);
    bar.SetValue(75);
    EXPECT_EQ(bar.FilledWidth(), 94);
    bar.SetValue(100);
    EXPECT_EQ(bar.FilledWidth(), 188);
    EXPECT_EQ(PixelAt(209, 30), 0xFFFFFF);
    EXPECT_EQ(PixelAt(215, 30), background);
}

TEST_F(ProgressBarTest, EmptyOrReversedRangeDrawsAnEmptyBar)
{
    ProgressBar empty(form.get(), 10, 10), reversed(form.get(), 10, 0);
    empty.SetPosition(20, 20);
    reversed.SetPosition(20, 60);
    empty.Show();
    reversed.Show();
    empty.SetValue(99);
    reversed.SetValue(5);
    EXPECT_EQ(empty.FilledWidth(), 0);
    EXPECT_EQ(reversed.FilledWidth(), 0);
    EXPECT_EQ(PixelArea(*form, 21, 21, 188, 23).Count(blue), 0);
    EXPECT_EQ(PixelArea(*form, 21, 61, 188, 23).Count(blue), 0);
}

TEST_F(ProgressBarTest, UnborderedBarHasNoFrame)
{
    ProgressBar bar(form.get(), 0, 10);
    bar.SetPosition(20, 20);
    bar.SetBordered(false);
    bar.Show();
    EXPECT_EQ(PixelAt(60, 20), grey);
    bar.SetBordered(true);
    EXPECT_EQ(PixelAt(60, 20), 0x000000);
}

TEST_F(ProgressBarTest, HiddenBarIsErasedWithItsFrameAndStaysHidden)
{
    ProgressBar bar(form.get(), 0, 100);
    bar.SetPosition(20, 20);
    bar.SetValue(100);
    bar.Show();
    bar.Hide();
    EXPECT_FALSE(bar.IsVisible());
    PixelArea area(*form, 20, 20, 190, 25);
    EXPECT_EQ(area.Count(background), 190 * 25);
    bar.SetValue(40);
    form->Paint();
    EXPECT_EQ(PixelArea(*form, 20, 20, 190, 25).Count(background), 190 * 25);
    bar.Show();
    EXPECT_EQ(PixelAt(21, 30), blue);
}

TEST_F(ProgressBarTest, MovingAShownBarErasesTheOldPlace)
{
    ProgressBar bar(form.get(), 0, 100);
    bar.SetPosition(20, 20);
    bar.SetValue(100);
    bar.Show();
    bar.SetPosition(20, 100);
    EXPECT_EQ(PixelAt(30, 30), background);
    EXPECT_EQ(PixelAt(30, 110), blue);
    bar.SetSize(100, 20);
    EXPECT_EQ(PixelAt(150, 110), background);
    EXPECT_EQ(PixelAt(110, 110), blue);
}

TEST_F(ProgressBarTest, ATimerMovesTheBarThroughTheEventLoop)
{
    ProgressBar bar(form.get(), 0, 10);
    bar.SetPosition(20, 20);
    bar.Show();
    Timer ticker(form.get(), 20);
    ticker.SetOnTimer([&](Timer&) { bar.SetValue(bar.GetValue() + 1); });
    ticker.Start();
    Colour farEnd = 0;
    ASSERT_TRUE(RunUntil([&] {
        if (bar.GetValue() < 10) return false;
        farEnd = PixelAt(207, 30);
        return true;
    }));
    EXPECT_EQ(farEnd, blue);
}
