// gtest comes before Xlib, whose None macro would break it.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <utility>

#include "tests/support/FormFixture.h"
#include "tests/toolkit/PixelArea.h"
#include "toolkit/Registry.h"
#include "toolkit/ScrollBar.h"

namespace {

constexpr Colour black = 0x000000;
constexpr Colour highlight = 0xDDDDDD;

// A horizontal bar at (20, 20), 100 x 21 once painted, over 0 to 100: a track of 58 pixels in two
// pages, thumbs of 29 pixels starting at x = 41 and x = 70.
class ScrollBarTest : public FormFixture {
protected:
    void Watch(ScrollBar& bar)
    {
        bar.SetOnScroll([this](ScrollBar&, std::int64_t tenTimes, int position) { scrolls.emplace_back(tenTimes, position); });
    }
    static void Place(ScrollBar& bar)
    {
        bar.SetPosition(20, 20);
        bar.SetSize(100, 21);
    }
    bool ThumbOn(int page) const { return PixelAt(page == 0 ? 50 : 85, 30) == black; }

    std::vector<std::pair<std::int64_t, int>> scrolls;
};

}  // namespace

TEST_F(ScrollBarTest, HundredPixelsOverHundredValuesMakeTwoPagesOfTwentyNine)
{
    ScrollBar bar(form.get(), 0, 100);
    EXPECT_EQ(bar.GetSize(), (Size{80, 13}));
    Place(bar);
    EXPECT_EQ(bar.TrackLength(), 58);
    EXPECT_EQ(bar.Pages(), 2);
    EXPECT_EQ(bar.ThumbLength(), 29);
    bar.Show();
    EXPECT_EQ(bar.PageStarts(), (std::vector<Point>{{41, 20}, {70, 20}}));
    EXPECT_TRUE(ThumbOn(0));
    EXPECT_FALSE(ThumbOn(1));
    EXPECT_EQ(PixelAt(85, 30), background);

    EXPECT_EQ(PixelAt(60, 20), highlight) << "top edge";
    EXPECT_EQ(PixelAt(20, 30), highlight) << "left edge";
    EXPECT_EQ(PixelAt(120, 30), black) << "right edge, one past the width";
    EXPECT_EQ(PixelAt(60, 41), black) << "bottom edge";
    EXPECT_EQ(PixelAt(33, 30), black) << "left arrow";
    EXPECT_EQ(PixelAt(107, 30), black) << "right arrow";

    bar.SetValue(58);
    EXPECT_FALSE(ThumbOn(0));
    EXPECT_TRUE(ThumbOn(1));
}

TEST_F(ScrollBarTest, KeysMoveByWholePagesAndReportTenTimesThePosition)
{
    ScrollBar bar(form.get(), 0, 100);
    Place(bar);
    bar.Show();
    Watch(bar);
    ASSERT_TRUE(RunSteps({[&] {
                              MovePointer(*form, 300, 250);
                              TypeKey(XK_Tab);
                              return true;
                          },
                          [&] { return FocusElement() == &bar; },
                          [&] {
                              TypeKey(XK_Right);
                              TypeKey(XK_Right);
                              TypeKey(XK_Left);
                              TypeKey(XK_Up);
                              TypeKey(XK_space);
                              TypeKey(XK_Down);
                              TypeKey(XK_Up);
                              return true;
                          },
                          [&] { return scrolls.size() == 4; }}));
    const std::vector<std::pair<std::int64_t, int>> expected{{580, 58}, {0, 0}, {580, 58}, {0, 0}};
    EXPECT_EQ(scrolls, expected) << "no report when the page does not change";
    EXPECT_EQ(bar.GetValue(), 0);
}

TEST_F(ScrollBarTest, ArrowsAndTrackAnswerTheMouseAndDraggingFollowsIt)
{
    ScrollBar bar(form.get(), 0, 100);
    Place(bar);
    bar.Show();
    Watch(bar);
    auto click = [&](int x) {
        MovePointer(*form, x, 30);
        PressButton(1, true);
        PressButton(1, false);
        return true;
    };
    int clicks = 0;
    bar.SetOnClick([&](GUIElement&, std::uint64_t, Point) { ++clicks; });
    bool thumbMoved = false;
    ASSERT_TRUE(RunSteps({[&] { return click(110); },
                          [&] {
                              if (clicks < 1) return false;
                              thumbMoved = ThumbOn(1) && !ThumbOn(0);
                              return click(25);
                          },
                          [&] { return clicks == 2; },
                          [&] { return click(50); },
                          [&] { return clicks == 3; },
                          [&] {
                              MovePointer(*form, 50, 30);
                              PressButton(1, true);
                              return true;
                          },
                          [&] { return bar.IsDragging(); },
                          [&] {
                              MovePointer(*form, 85, 60);
                              return true;
                          },
                          [&] { return scrolls.size() == 3; },
                          [&] {
                              PressButton(1, false);
                              return true;
                          },
                          [&] { return !bar.IsDragging(); }}));
    EXPECT_TRUE(thumbMoved);
    const std::vector<std::pair<std::int64_t, int>> expected{{580, 58}, {0, 0}, {580, 58}};
    EXPECT_EQ(scrolls, expected) << "pressing the page already shown reports nothing";
}

TEST_F(ScrollBarTest, SinglePageHasNoThumbAndKeysNeverMoveIt)
{
    ScrollBar bar(form.get(), 0, 50);
    Place(bar);
    bar.Show();
    Watch(bar);
    EXPECT_EQ(bar.Pages(), 1);
    EXPECT_EQ(PixelArea(*form, 41, 22, 58, 18).Count(background), 58 * 18);
    bar.SetFocus();
    bar.KeyDown(XK_Right);
    bar.KeyDown(XK_Down);
    bar.MouseDown({90, 30});
    EXPECT_EQ(bar.GetValue(), 0);
    EXPECT_TRUE(scrolls.empty());
}

TEST_F(ScrollBarTest, SetValueTakesAnyNumberAndKeysReturnToAPageStart)
{
    ScrollBar bar(form.get(), 0, 100);
    Place(bar);
    bar.Show();
    bar.SetFocus();
    Watch(bar);
    bar.SetValue(30);
    EXPECT_EQ(bar.GetValue(), 30);
    EXPECT_TRUE(scrolls.empty());
    bar.KeyDown(XK_Right);
    EXPECT_EQ(bar.GetValue(), 58);
    bar.SetValue(30);
    bar.KeyDown(XK_Left);
    EXPECT_EQ(bar.GetValue(), 0);

    // Beyond the range the thumb stays on the last page and the keys lead back into the range.
    bar.SetValue(1000);
    EXPECT_TRUE(ThumbOn(1));
    EXPECT_EQ(PixelAt(125, 30), background) << "nothing drawn past the bar";
    bar.KeyDown(XK_Right);
    EXPECT_EQ(bar.GetValue(), 58);
    bar.SetValue(-500);
    EXPECT_TRUE(ThumbOn(0));
    bar.KeyDown(XK_Left);
    EXPECT_EQ(bar.GetValue(), 0);
}

TEST_F(ScrollBarTest, PressBeforeTheFirstPaintIsIgnored)
{
    ScrollBar bar(form.get(), 0, 100);
    Place(bar);
    Watch(bar);
    int downs = 0;
    bar.SetOnMouseDown([&](GUIElement&, std::uint64_t, Point) { ++downs; });
    bar.MouseDown({25, 30});
    bar.MouseDown({85, 30});
    bar.MouseMove(90, 30);
    EXPECT_FALSE(bar.IsDragging());
    EXPECT_EQ(bar.GetValue(), 0);
    EXPECT_TRUE(scrolls.empty());
    EXPECT_EQ(downs, 2) << "the callback is still raised";
}

TEST_F(ScrollBarTest, NoTrackNoRangeOrTooManyPagesLeaveTheBarInert)
{
    ScrollBar unpainted(form.get(), 0, 100);
    unpainted.SetSize(42, 21);
    EXPECT_EQ(unpainted.TrackLength(), 0);
    EXPECT_EQ(unpainted.Pages(), 0);
    unpainted.SetFocus();
    unpainted.KeyDown(XK_Right);
    EXPECT_EQ(unpainted.GetValue(), 0);

    ScrollBar flat(form.get(), 5, 5), fine(form.get(), 0, 100000);
    Place(flat);
    fine.SetPosition(20, 100);
    fine.SetSize(100, 21);
    flat.Show();
    fine.Show();
    Watch(flat);
    Watch(fine);
    for (ScrollBar* bar : {&flat, &fine}) {
        EXPECT_EQ(bar->Pages(), 0);
        EXPECT_TRUE(bar->PageStarts().empty());
        bar->SetFocus();
        bar->KeyDown(XK_Right);
        bar->KeyDown(XK_Left);
        bar->MouseDown({50, bar->GetPosition().y + 10});
        EXPECT_FALSE(bar->IsDragging());
    }
    EXPECT_TRUE(scrolls.empty());
    EXPECT_EQ(PixelArea(*form, 41, 22, 58, 18).Count(background), 58 * 18) << "no thumb";
}

TEST_F(ScrollBarTest, VerticalBarPagesDownward)
{
    ScrollBar bar(form.get(), 0, 100);
    bar.SetVertical(true);
    EXPECT_FALSE(bar.IsHorizontal());
    bar.SetPosition(200, 20);
    bar.SetSize(10, 100);
    bar.Show();
    EXPECT_EQ(bar.GetSize(), (Size{21, 100})) << "at least 21 wide";
    EXPECT_EQ(bar.PageStarts(), (std::vector<Point>{{200, 41}, {200, 70}}));
    EXPECT_EQ(PixelAt(210, 50), black);
    EXPECT_EQ(PixelAt(210, 85), background);
    EXPECT_EQ(PixelAt(210, 30), black) << "up arrow";
    Watch(bar);
    bar.SetFocus();
    bar.KeyDown(XK_Down);
    EXPECT_EQ(bar.GetValue(), 58);
    EXPECT_EQ(PixelAt(210, 85), black);
    bar.MouseDown({210, 25});
    EXPECT_EQ(bar.GetValue(), 0) << "the up arrow";
    bar.MouseDown({210, 110});
    EXPECT_EQ(bar.GetValue(), 58) << "the down arrow";
    bar.MouseDown({210, 45});
    EXPECT_EQ(bar.GetValue(), 0) << "the first page of the track";
    const std::vector<std::pair<std::int64_t, int>> expected{{580, 58}, {0, 0}, {580, 58}, {0, 0}};
    EXPECT_EQ(scrolls, expected);
}

TEST_F(ScrollBarTest, DisabledBarIsGreyAndIgnoresInput)
{
    ScrollBar bar(form.get(), 0, 100);
    Place(bar);
    bar.Show();
    Watch(bar);
    bar.SetFocus();
    bar.SetEnabledAndPaint(false);
    EXPECT_EQ(PixelAt(33, 30), 0x9B9B9B);
    EXPECT_EQ(PixelAt(50, 30), 0x9B9B9B);
    bar.KeyDown(XK_Right);
    bar.KeyChar(' ');
    bar.MouseDown({110, 30});
    EXPECT_EQ(bar.GetValue(), 0);
    EXPECT_TRUE(scrolls.empty());
}

TEST_F(ScrollBarTest, HidingErasesTheFrameAndMovingRepaintsElsewhere)
{
    ScrollBar bar(form.get(), 0, 100);
    Place(bar);
    bar.SetBackColor(0x00FF00);
    bar.Show();
    EXPECT_EQ(PixelAt(85, 30), 0x00FF00);
    bar.SetPosition(20, 150);
    EXPECT_TRUE(bar.IsCreated());
    EXPECT_EQ(PixelArea(*form, 20, 20, 101, 22).Count(background), 101 * 22);
    EXPECT_EQ(PixelAt(85, 160), 0x00FF00);
    EXPECT_EQ(bar.PageStarts().front(), (Point{41, 150}));
    bar.Hide();
    EXPECT_FALSE(bar.IsCreated());
    EXPECT_EQ(PixelArea(*form, 20, 150, 101, 22).Count(background), 101 * 22);
}

TEST_F(ScrollBarTest, TurningTheBarRedrawsItTheOtherWay)
{
    ScrollBar bar(form.get(), 0, 100);
    bar.SetPosition(20, 20);
    bar.SetSize(100, 100);
    bar.Show();
    EXPECT_EQ(bar.PageStarts().back(), (Point{70, 20}));
    bar.SetVertical(true);
    EXPECT_TRUE(bar.IsVertical());
    EXPECT_EQ(bar.PageStarts().back(), (Point{20, 70}));
    bar.SetHorizontal(true);
    EXPECT_FALSE(bar.IsVertical());
    EXPECT_EQ(bar.PageStarts().back(), (Point{70, 20}));
}
