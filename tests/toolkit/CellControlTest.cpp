#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "graphics/Images.h"
#include "tests/toolkit/WidgetFixture.h"
#include "toolkit/CellControl.h"

namespace {

constexpr Colour white = 0xFFFFFF;
constexpr Colour black = 0x000000;

// Counts its paints, to show which changes draw.
class CountingCell : public CellControl {
public:
    using CellControl::CellControl;
    void Paint() override
    {
        ++paints;
        CellControl::Paint();
    }
    int paints = 0;
};

class CellTest : public WidgetFixture {
protected:
    // A 120 x 40 cell at (30, 30).
    std::unique_ptr<CountingCell> MakeCell(GUIElement* parent, const std::string& text, Colour back)
    {
        auto made = std::make_unique<CountingCell>(parent);
        made->SetPosition(30, 30);
        made->SetSize(120, 40);
        made->SetBackColor(back);
        made->SetText(text);
        return made;
    }
};

}  // namespace

TEST_F(CellTest, CentredTextOnItsBackground)
{
    auto cell = MakeCell(form.get(), "Score", 0x00C000);
    cell->Show();
    EXPECT_EQ(PixelAt(31, 31), 0x00C000);
    const PixelBounds text = BoundsOf(30, 30, 120, 40, black);
    ASSERT_FALSE(text.Empty());
    EXPECT_NEAR((text.left + text.right) / 2.0, 89.5, 2.0);
    EXPECT_GT(text.top, 35) << "a single line is centred down the box";
    EXPECT_LT(text.bottom, 64);
}

TEST_F(CellTest, AlignmentMovesTheText)
{
    auto cell = MakeCell(form.get(), "Score", 0x00C000);
    cell->SetTextAlign(0);
    cell->Show();
    EXPECT_LE(BoundsOf(30, 30, 120, 40, black).left, 32);
    cell->SetTextAlign(1);
    EXPECT_GE(BoundsOf(30, 30, 120, 40, black).right, 145);
    EXPECT_GT(BoundsOf(30, 30, 120, 40, black).left, 100);
}

TEST_F(CellTest, CellWithoutColourOnAFormWithoutColourIsGrey)
{
    TestForm& plain = AddForm(200, 120, noColour);
    auto cell = std::make_unique<CellControl>(&plain);
    cell->SetPosition(10, 10);
    cell->SetSize(100, 30);
    cell->SetText("x");
    cell->Show();
    EXPECT_EQ(PixelAt(plain, 12, 12), defaultBackColour);
    EXPECT_EQ(PixelAt(plain, 107, 37), defaultBackColour);
}

TEST_F(CellTest, SameTextTwicePaintsOnceAndMarksTheCellModified)
{
    auto cell = MakeCell(form.get(), "a", 0x00C000);
    cell->Show();
    EXPECT_FALSE(cell->IsModified()) << "creation clears the mark";
    const int afterShow = cell->paints;
    cell->SetText("b");
    cell->SetText("b");
    EXPECT_EQ(cell->paints, afterShow + 1);
    EXPECT_TRUE(cell->IsModified());
    cell->ClearModified();
    cell->SetTextColor(0x000000);
    cell->SetBordered(false);
    cell->SetShowMarker(false);
    cell->SetTextAlign(2);
    EXPECT_EQ(cell->paints, afterShow + 1) << "unchanged values draw nothing";
    EXPECT_FALSE(cell->IsModified());
    cell->SetTextColor(0x123456);
    EXPECT_EQ(cell->paints, afterShow + 2);
    EXPECT_TRUE(cell->IsModified());
}

TEST_F(CellTest, NothingIsDrawnBeforeCreation)
{
    auto cell = MakeCell(form.get(), "a", 0x00C000);
    cell->SetText("b");
    cell->SetBordered(true);
    EXPECT_EQ(PixelAt(31, 31), background);
    EXPECT_TRUE(cell->IsModified());
}

TEST_F(CellTest, BorderedCellOnWhiteHasABlackFrameAllRound)
{
    auto cell = MakeCell(form.get(), "", white);
    cell->SetBordered(true);
    cell->Show();
    EXPECT_TRUE(AllColour(30, 30, 120, 1, black)) << "top";
    EXPECT_TRUE(AllColour(30, 30, 1, 40, black)) << "left";
    EXPECT_TRUE(AllColour(149, 30, 1, 40, black)) << "right";
    EXPECT_TRUE(AllColour(30, 69, 120, 1, black)) << "bottom";
    EXPECT_EQ(PixelAt(31, 31), white);
}

TEST_F(CellTest, BorderedCellIsSunkenOnOtherColours)
{
    auto cell = MakeCell(form.get(), "", 0xB7B7B7);
    cell->SetBordered(true);
    cell->Show();
    EXPECT_TRUE(AllColour(30, 30, 119, 1, black));
    EXPECT_TRUE(AllColour(30, 30, 1, 39, black));
    EXPECT_TRUE(AllColour(149, 31, 1, 38, white));
    EXPECT_TRUE(AllColour(31, 69, 119, 1, white));
    EXPECT_EQ(PixelAt(31, 31), 0xB7B7B7);
}

TEST_F(CellTest, HideLeavesTheFormsColourExactlyWhereTheCellWas)
{
    Clear(0x112233);
    auto cell = MakeCell(form.get(), "gone", 0x00C000);
    cell->Show();
    cell->Hide();
    EXPECT_FALSE(cell->IsCreated());
    EXPECT_TRUE(AllColour(30, 30, 120, 40, background));
    EXPECT_TRUE(AllColour(150, 30, 1, 41, 0x112233)) << "not a column more";
    EXPECT_TRUE(AllColour(30, 70, 121, 1, 0x112233)) << "not a row more";
    cell->Show();
    EXPECT_EQ(PixelAt(31, 31), 0x00C000);
}

TEST_F(CellTest, HighlightUsesItsOwnColours)
{
    auto cell = MakeCell(form.get(), "High", 0x00C000);
    cell->SetTextColor(0x0000FF);
    cell->Show();
    cell->SetHighlighted(true);
    EXPECT_EQ(PixelAt(31, 31), 0xFFFF00);
    EXPECT_GT(CountColour(30, 30, 120, 40, black), 0);
    EXPECT_EQ(CountColour(30, 30, 120, 40, 0x0000FF), 0);
    cell->SetHighlightBackColor(0xFF00FF);
    cell->SetHighlightTextColor(0xFF0000);
    EXPECT_EQ(PixelAt(31, 31), 0xFF00FF);
    EXPECT_GT(CountColour(30, 30, 120, 40, 0xFF0000), 0);
    cell->SetHighlighted(false);
    EXPECT_EQ(PixelAt(31, 31), 0x00C000);
    EXPECT_GT(CountColour(30, 30, 120, 40, 0x0000FF), 0);
}

TEST_F(CellTest, MarkerIsAStarInTheBottomRightCorner)
{
    auto cell = MakeCell(form.get(), "", 0x00C000);
    cell->SetTextColor(0xFF0000);
    cell->Show();
    EXPECT_EQ(CountColour(30, 30, 120, 40, 0xFF0000), 0);
    cell->SetShowMarker(true);
    const PixelBounds star = BoundsOf(30, 30, 120, 40, 0xFF0000);
    ASSERT_FALSE(star.Empty());
    EXPECT_GT(star.left, 120) << "in the right part of the cell";
    EXPECT_GT(star.top, 40) << "in the lower part of the cell";
}

TEST_F(CellTest, ImageIsPlacedByItsAlignment)
{
    std::vector<unsigned char> blue(8 * 6 * 3, 0);
    for (std::size_t i = 2; i < blue.size(); i += 3) blue[i] = 0xFF;
    ImagePtr picture(MakeImage(form->Target(), blue.data(), 8, 6));
    ASSERT_TRUE(picture);
    auto cell = MakeCell(form.get(), "", 0x00C000);
    cell->Show();
    cell->SetImage(picture.get(), 8, 6, 1);
    PixelBounds bounds = BoundsOf(30, 30, 120, 40, 0x0000FF);
    EXPECT_EQ(bounds.left, 30 + 120 - 8 - 3);
    EXPECT_EQ(bounds.top, 30 + (40 - 6) / 2);
    EXPECT_EQ(bounds.count, 48);
    cell->SetImage(picture.get(), 8, 6, 2);
    EXPECT_EQ(BoundsOf(30, 30, 120, 40, 0x0000FF).left, 30 + (120 - 8) / 2);
    cell->SetImage(picture.get(), 8, 6, 0);
    EXPECT_EQ(BoundsOf(30, 30, 120, 40, 0x0000FF).left, 33);
}

TEST_F(CellTest, ApplyBackColorRestoresTheColourOfCreation)
{
    auto cell = MakeCell(form.get(), "", 0x00C000);
    cell->ApplyBackColor();
    EXPECT_EQ(PixelAt(31, 31), background) << "nothing before creation";
    cell->Show();
    cell->SetBackColor(0xC00000);
    EXPECT_EQ(PixelAt(31, 31), 0xC00000);
    cell->ClearModified();
    cell->ApplyBackColor();
    EXPECT_EQ(cell->GetBackColor(), 0x00C000);
    EXPECT_EQ(PixelAt(31, 31), 0x00C000);
    EXPECT_TRUE(cell->IsModified());
    const int paints = cell->paints;
    cell->ApplyBackColor();
    EXPECT_EQ(cell->paints, paints) << "already applied";
}

TEST_F(CellTest, LongTextWrapsOntoFurtherLines)
{
    auto cell = MakeCell(form.get(), "one two three four five six", 0x00C000);
    cell->SetSize(120, 60);
    cell->Show();
    const PixelBounds text = BoundsOf(30, 30, 120, 60, black);
    ASSERT_FALSE(text.Empty());
    EXPECT_GT(text.bottom - text.top, 20) << "more than one line";
    EXPECT_LE(text.right, 150);
}
