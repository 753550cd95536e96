#include <gtest/gtest.h>

#include <string>

#include "toolkit/TextBoxLayout.h"

namespace {

// Cells of 10 x 18 pixels, as a font with "M" 8 pixels wide and an ascent of 13 gives.
TextBoxLayout Box(int width, int height)
{
    TextBoxLayout layout(10, 18);
    layout.SetBoxSize(width, height);
    return layout;
}

}  // namespace

TEST(TextBoxLayout, DefaultBoxHasOneRow)
{
    const TextBoxLayout layout = Box(80, 30);
    EXPECT_EQ(layout.Rows(), 1);
    EXPECT_EQ(layout.Columns(), 7);
    EXPECT_EQ(layout.GridCells(), 7);
    EXPECT_EQ(layout.CellCount(), 8) << "one more for the caret behind the last character";
}

TEST(TextBoxLayout, ABoxTooLowForOneRowIsRaisedToHoldOne)
{
    TextBoxLayout layout(10, 18);
    EXPECT_EQ(layout.RaisedHeight(23), 24);
    EXPECT_EQ(layout.RaisedHeight(5), 24);
    EXPECT_EQ(layout.RaisedHeight(24), 24);
    EXPECT_EQ(layout.RaisedHeight(25), 25);
    layout.SetBoxSize(80, 10);
    EXPECT_EQ(layout.InnerHeight(), 18);
    EXPECT_EQ(layout.Rows(), 1);
    EXPECT_EQ(layout.HeightForSize(20, 14), 24) << "the font's height plus 10, then one row";
    EXPECT_EQ(layout.HeightForSize(20, 30), 40);
    EXPECT_EQ(layout.HeightForSize(60, 14), 60);
}

TEST(TextBoxLayout, CellsLieThreeRightAndThreeDownFromTheCorner)
{
    const TextBoxLayout layout = Box(100, 60);
    EXPECT_EQ(layout.CellLeft(0), 3);
    EXPECT_EQ(layout.CellLeft(2), 23);
    EXPECT_EQ(layout.CellTop(0), 3);
    EXPECT_EQ(layout.CellTop(1), 21);
}

TEST(TextBoxLayout, ABoxWithoutRoomHasNoGridButKeepsTheCaretsCell)
{
    for (int width : {-100, 0, 5, 6, 15}) {
        const TextBoxLayout layout = Box(width, 30);
        EXPECT_EQ(layout.Columns(), 0) << width;
        EXPECT_EQ(layout.GridCells(), 0);
        EXPECT_EQ(layout.CellCount(), 1);
        EXPECT_FALSE(layout.Fits("", 0, 10));
        EXPECT_EQ(layout.CellAt(5, 10), 0);
        EXPECT_EQ(layout.CellAt(50, 10), -1);
    }
}

TEST(TextBoxLayout, AHugeBoxKeepsAtMostSixteenHundredCells)
{
    const TextBoxLayout layout = Box(100000, 100000);
    EXPECT_EQ(layout.GridCells(), TextBoxLayout::maxCells - 1);
    EXPECT_EQ(layout.CellCount(), TextBoxLayout::maxCells);
    EXPECT_EQ(layout.CellAt(99990, 99990), -1);
}

TEST(TextBoxLayout, ZeroSizedCellsAreTakenAsOnePixel)
{
    TextBoxLayout layout(0, -3);
    layout.SetBoxSize(20, 20);
    EXPECT_EQ(layout.CellWidth(), 1);
    EXPECT_EQ(layout.CellHeight(), 1);
    EXPECT_EQ(layout.Columns(), 14);
}

TEST(TextBoxLayout, ClicksFindTheirCell)
{
    const TextBoxLayout layout = Box(100, 60);
    ASSERT_EQ(layout.Columns(), 9);
    ASSERT_EQ(layout.Rows(), 3);
    EXPECT_EQ(layout.CellAt(8, 10), 0);
    EXPECT_EQ(layout.CellAt(25, 10), 2);
    EXPECT_EQ(layout.CellAt(25, 4 + 18 + 1), 9 + 2) << "second row";
    EXPECT_EQ(layout.CellAt(-15, 10), -1);
    EXPECT_EQ(layout.CellAt(5, 4 + 3 * 18), 27) << "the caret's own cell behind the grid";
    EXPECT_EQ(layout.CellAt(20, 4 + 3 * 18), -1);
}

TEST(TextBoxLayout, TextFitsUntilItWouldRunPastTheLastRow)
{
    const TextBoxLayout layout = Box(60, 42);  // 5 columns, 2 rows
    ASSERT_EQ(layout.Columns(), 5);
    ASSERT_EQ(layout.Rows(), 2);
    EXPECT_TRUE(layout.Fits("abc", 3, 100));
    EXPECT_TRUE(layout.Fits("abcdefghi", 9, 100)) << "nine characters and the caret's cell";
    EXPECT_FALSE(layout.Fits("abcdefghij", 10, 100));
    EXPECT_TRUE(layout.Fits("ab\rcd", 5, 100));
    EXPECT_FALSE(layout.Fits("ab\rcd\r", 6, 100)) << "a third row";
    EXPECT_FALSE(layout.Fits("abcd\rabcde", 10, 100));
    EXPECT_TRUE(layout.Fits("a", 1, 1));
    EXPECT_FALSE(layout.Fits("ab", 2, 1)) << "no position past the maximum length";
    EXPECT_TRUE(layout.Fits("", 5, 100)) << "positions past the text count as blanks";
}

TEST(TextBoxLayout, WrappingFollowsTheInnerWidth)
{
    const TextBoxLayout layout = Box(60, 42);
    EXPECT_FALSE(layout.MustWrap(4));
    EXPECT_TRUE(layout.MustWrap(5));
    EXPECT_TRUE(layout.RowFits(1));
    EXPECT_FALSE(layout.RowFits(2));
}

TEST(TextBoxLayout, PlaceBreaksLinesAndStopsBelowTheLastRow)
{
    const TextBoxLayout layout = Box(60, 42);  // 5 columns, 2 rows
    const std::string text = "ab\rcdefghij";
    TextBoxLayout::Placement placement = layout.Place(text.data(), 5, true);
    ASSERT_EQ(placement.slots.size(), 5u);
    EXPECT_FALSE(placement.overflowed);
    EXPECT_TRUE(placement.slots[2].lineBreak);
    EXPECT_EQ(placement.slots[2].column, 2);
    EXPECT_EQ(placement.slots[3].column, 0);
    EXPECT_EQ(placement.slots[3].row, 1);

    placement = layout.Place(text.data(), static_cast<int>(text.size()), true);
    EXPECT_EQ(placement.slots.size(), 8u) << "the second row holds five";
    EXPECT_TRUE(placement.overflowed);

    placement = layout.Place(text.data(), static_cast<int>(text.size()), false);
    EXPECT_EQ(placement.slots.size(), 10u) << "a carriage return kept as a character";
    EXPECT_FALSE(placement.slots[2].lineBreak);
    EXPECT_EQ(placement.slots[5].row, 1);
    EXPECT_TRUE(placement.overflowed);
}

TEST(TextBoxLayout, PlaceEndsWithTheTableOfCellsInAHugeBox)
{
    const TextBoxLayout layout = Box(100000, 100000);
    const std::string text(5000, 'x');
    const TextBoxLayout::Placement placement = layout.Place(text.data(), 5000, true);
    EXPECT_EQ(placement.slots.size(), static_cast<std::size_t>(TextBoxLayout::maxCells - 1));
    EXPECT_FALSE(placement.overflowed) << "the grid goes on; only the table ran out";
}

TEST(TextBoxLayout, PlaceFindsNothingInABoxWithoutRoom)
{
    const TextBoxLayout layout = Box(5, 30);
    const TextBoxLayout::Placement placement = layout.Place("ab", 2, true);
    EXPECT_TRUE(placement.slots.empty());
}
