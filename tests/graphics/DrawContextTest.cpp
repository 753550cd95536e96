#include <gtest/gtest.h>

#include "graphics/DrawContext.h"
#include "graphics/Images.h"
#include "tests/graphics/BitmapWriter.h"
#include "tests/support/FormFixture.h"

namespace {

constexpr Colour red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF, white = 0xFFFFFF, black = 0x000000;

}  // namespace

class DrawContextTest : public FormFixture {
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        Clear(black);
    }

    // The extent of the pixels of one colour inside a search box: left, top, right, bottom.
    std::array<int, 4> Extent(Colour colour, int x0, int y0, int x1, int y1)
    {
        std::array<int, 4> box{1 << 20, 1 << 20, -1, -1};
        XImage* image = XGetImage(display, form->GetWindow(), x0, y0, static_cast<unsigned>(x1 - x0 + 1),
                                  static_cast<unsigned>(y1 - y0 + 1), AllPlanes, ZPixmap);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                if (static_cast<Colour>(XGetPixel(image, x - x0, y - y0) & 0xFFFFFF) == colour)
                    box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
        XDestroyImage(image);
        return box;
    }
};

TEST_F(DrawContextTest, OutlineCoversTheBoxAndFillLeavesOnePixelLess)
{
    DrawContext context(form->Target());
    context.DrawRectangle(10, 10, 5, 5, 1, red);
    EXPECT_EQ(Extent(red, 0, 0, 30, 30), (std::array<int, 4>{10, 10, 14, 14}));
    EXPECT_EQ(PixelAt(12, 12), black) << "an outline only";
    context.FillRectangle(40, 10, 5, 5, 0, 0, green);
    EXPECT_EQ(Extent(green, 30, 0, 60, 30), (std::array<int, 4>{40, 10, 43, 13}));
    context.FillRectangle(70, 10, 6, 6, 1, white, blue);
    EXPECT_EQ(Extent(white, 60, 0, 90, 30), (std::array<int, 4>{70, 10, 74, 14})) << "the border outlines the fill";
}

TEST_F(DrawContextTest, MinusOneKeepsTheColourAndLinesComeBackSolid)
{
    DrawContext context(form->Target());
    context.FillRectangle(10, 10, 5, 5, 0, 0, red);
    context.FillRectangle(20, 10, 5, 5, 0, 0, noColour);
    EXPECT_EQ(PixelAt(21, 11), red);

    context.DrawRectangle(30, 30, 20, 20, 3, green);
    context.DrawLine(60, 30, 60, 60, DrawContext::onOffDash, white);
    context.DrawLine(70, 30, 70, 60, DrawContext::solid, blue);
    for (int y = 30; y <= 60; ++y) ASSERT_EQ(PixelAt(70, y), blue) << "solid after a dashed line, row " << y;
    EXPECT_EQ(PixelAt(69, 45), black) << "and one pixel wide after a thick outline";
    EXPECT_EQ(PixelAt(71, 45), black);
    int gaps = 0;
    for (int y = 31; y < 60; ++y) gaps += PixelAt(60, y) == black;
    EXPECT_GT(gaps, 0) << "the first line was dashed";
}

TEST_F(DrawContextTest, PolygonsEllipsesPointsAndPixels)
{
    DrawContext context(form->Target());
    const XPoint triangle[] = {{100, 100}, {140, 100}, {100, 140}};
    context.FillPolygon(triangle, 3, 1, white, red);
    EXPECT_EQ(PixelAt(105, 105), red);
    EXPECT_EQ(PixelAt(135, 135), black);
    context.FillEllipse(200, 100, 40, 40, 1, white, green);
    EXPECT_EQ(PixelAt(220, 120), green);
    EXPECT_EQ(PixelAt(201, 101), black) << "corners of the box stay outside the ellipse";
    context.DrawPoint(5, 5, blue);
    EXPECT_EQ(context.GetPixel(5, 5) & 0xFFFFFF, blue);
    EXPECT_EQ(context.GetPixel(-5, 5000), 0) << "outside the window reads nothing rather than failing";
}

TEST_F(DrawContextTest, TextIsCentredWhenItFitsOnOneLine)
{
    DrawContext context(form->Target());
    context.DrawText(50, 50, 100, 28, "Hi", white, red, 2);
    const auto box = Extent(white, 50, 50, 149, 77);
    ASSERT_GE(box[2], 0);
    const int textWidth = context.TextWidth("Hi");
    EXPECT_NEAR((box[0] + box[2]) / 2.0, 50 + 50, 2.0) << "centred horizontally";
    EXPECT_NEAR((box[1] + box[3]) / 2.0, 50 + 14, 4.0) << "and vertically";
    EXPECT_LE(box[2] - box[0] + 1, textWidth);
    EXPECT_EQ(PixelAt(50, 50), red) << "the background fills the box";
    EXPECT_EQ(PixelAt(148, 77), red);
    EXPECT_EQ(PixelAt(150, 50), black);
}

TEST_F(DrawContextTest, NewlinesAndWrappingStartAtTheTopLeftAligned)
{
    DrawContext context(form->Target());
    // Two lines 15 pixels apart, the first at the top of the box.
    context.DrawText(10, 10, 0, 40, "A\nB", white, noColour, 0);
    const auto first = Extent(white, 10, 10, 40, 24);
    const auto second = Extent(white, 10, 25, 40, 39);
    ASSERT_GE(first[2], 0);
    ASSERT_GE(second[2], 0);
    EXPECT_EQ(second[3] - first[3], 15);

    // Wider than its first word, narrower than both: the words go on two lines, left-aligned.
    const int wordWidth = context.TextWidth("Hello");
    context.DrawText(100, 100, wordWidth + 8, 40, "Hello world", green, noColour, 2);
    const auto top = Extent(green, 100, 100, 100 + wordWidth + 8, 114);
    const auto bottom = Extent(green, 100, 115, 100 + wordWidth + 8, 139);
    EXPECT_LE(top[0], 101) << "wrapped text is left-aligned even when centring was asked";
    EXPECT_LE(bottom[0], 101);
    EXPECT_GE(bottom[2], 0) << "the second word is on the second line";

    context.DrawText(200, 200, 100, 9, "nothing", blue, noColour, 0);
    EXPECT_EQ(Extent(blue, 195, 195, 310, 215)[2], -1) << "a box under 10 pixels draws nothing";
}

TEST_F(DrawContextTest, ImagesPutWholeOrFromARegion)
{
    DrawContext context(form->Target());
    unsigned char rgb[2 * 2 * 3] = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    ImagePtr image(MakeImage(form->Target(), rgb, 2, 2));
    ASSERT_NE(image, nullptr);
    context.PutImage(10, 10, 0, 0, image.get());
    EXPECT_EQ(PixelAt(10, 10), red);
    EXPECT_EQ(PixelAt(11, 10), green);
    EXPECT_EQ(PixelAt(10, 11), blue);
    EXPECT_EQ(PixelAt(11, 11), white);
    context.PutImageRegion(20, 20, 1, 1, image.get(), 1, 1);
    EXPECT_EQ(PixelAt(20, 20), white);
    context.PutImageRegion(30, 30, 5, 5, image.get(), 7, 7);
    EXPECT_EQ(PixelAt(30, 30), black) << "a region outside the image draws nothing";
}

TEST_F(DrawContextTest, TransparentImagesKeepTheBackgroundUnderBlack)
{
    DrawContext context(form->Target());
    context.FillRectangle(0, 0, 60, 60, 0, 0, green);
    unsigned char rgb[2 * 1 * 3] = {0, 0, 0, 0xFF, 0, 0};
    ImagePtr image(MakeImage(form->Target(), rgb, 2, 1));
    context.PutImageTransparent(10, 10, 2, 1, image.get(), 0);
    EXPECT_EQ(PixelAt(10, 10), green);
    EXPECT_EQ(PixelAt(11, 10), red);

    unsigned char sheet[4 * 1 * 3] = {0xFF, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0};
    ImagePtr sheetImage(MakeImage(form->Target(), sheet, 4, 1));
    context.PutImageRegionTransparent(20, 20, 2, 1, sheetImage.get(), 2, 0, 0);
    EXPECT_EQ(PixelAt(20, 20), blue);
    EXPECT_EQ(PixelAt(21, 20), green);
    EXPECT_EQ(XGetPixel(sheetImage.get(), 3, 0), 0u) << "the source is never changed";
}

TEST_F(DrawContextTest, BitmapFilesAreDrawnAtTheirOwnSize)
{
    BitmapSpec spec;
    spec.bitsPerPixel = 24;
    spec.width = 3;
    spec.height = 1;
    spec.rows = {{red, green, blue}};
    folder->WriteFile("pic.bmp", BitmapBytes(spec));
    DrawContext context(form->Target());
    context.DrawBitmapFile(10, 10, 3, 1, 24, "pic.bmp");
    EXPECT_EQ(PixelAt(10, 10), red);
    EXPECT_EQ(PixelAt(12, 10), blue);
    context.DrawBitmapFile(20, 20, 3, 1, 24, "missing.bmp");
    context.DrawBitmapFile(20, 20, 3, 1, 16, "pic.bmp");
    EXPECT_EQ(PixelAt(20, 20), black);
}

TEST_F(DrawContextTest, FormWithoutWindowDrawsNothingAndDoesNotFail)
{
    TestForm windowless(connection.get());
    DrawContext context(windowless.Target());
    EXPECT_FALSE(context.IsUsable());
    EXPECT_GT(context.CharWidth(), 0) << "text is measured without a window";
    context.FillRectangle(0, 0, 10, 10, 1, 0, 0);
    context.DrawText(0, 0, 10, 20, "x", 0, 0, 0);
    EXPECT_EQ(context.GetPixel(0, 0), 0);
    EXPECT_EQ(folder->ReadFile("log.txt"), "");
}
