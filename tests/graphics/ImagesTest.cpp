#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "graphics/Images.h"
#include "tests/support/FormFixture.h"
#include "toolkit/ImageFrame.h"
#include "toolkit/MyImage.h"
#include "util/Files.h"

using ImagesTest = FormFixture;

TEST_F(ImagesTest, ProbeFindsTheExpectedLayoutAndLogsNothing)
{
    ProbePixelFormat(form->Target());
    const PixelFormat& format = CurrentPixelFormat();
    EXPECT_EQ(format.depth, 24);
    EXPECT_EQ(format.bitsPerPixel, 32);
    EXPECT_EQ(format.bitmapPad, 32);
    EXPECT_EQ(format.ixRosso, 2);
    EXPECT_EQ(format.ixVerde, 1);
    EXPECT_EQ(format.ixBlu, 0);
    EXPECT_EQ(format.firstPixel[2], 0xCF);
    EXPECT_EQ(folder->ReadFile("log.txt"), "");
}

TEST_F(ImagesTest, MakeImageWritesLittleEndianWordsOfTheColours)
{
    const unsigned char rgb[] = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF};
    ImagePtr image(MakeImage(form->Target(), rgb, 3, 1));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bytes_per_line, 12);
    std::uint32_t words[3];
    std::memcpy(words, image->data, sizeof words);
    EXPECT_EQ(words[0], 0xFF0000u);
    EXPECT_EQ(words[1], 0x00FF00u);
    EXPECT_EQ(words[2], 0x0000FFu);
    EXPECT_EQ(MakeImage(form->Target(), nullptr, 3, 1), nullptr);
    EXPECT_EQ(MakeImage(form->Target(), rgb, 0, 1), nullptr);
    DestroyImage(nullptr);
}

TEST_F(ImagesTest, PictureWithoutImagePaintsTheEraseColourAndMovesCleanly)
{
    Clear(0x000000);
    form->SetBackColor(0xC00000);
    MyImage blank(form.get(), static_cast<XImage*>(nullptr));
    blank.SetPosition(10, 10);
    blank.SetSize(20, 10);
    blank.Show();
    EXPECT_EQ(PixelAt(10, 10), 0xC00000);
    EXPECT_EQ(PixelAt(28, 18), 0xC00000);
    EXPECT_EQ(PixelAt(29, 19), 0x000000) << "a fill is one pixel short";

    const unsigned char rgb[] = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF};
    ImagePtr image(MakeImage(form->Target(), rgb, 2, 2));
    MyImage picture(form.get(), image.get());
    picture.SetPosition(50, 50);
    picture.SetSize(2, 2);
    picture.SetBorder(false);
    picture.Show();
    EXPECT_EQ(PixelAt(51, 51), 0x0000FF);
    picture.SetPosition(60, 60);
    EXPECT_EQ(PixelAt(50, 50), 0xC00000) << "the old place is erased";
    EXPECT_EQ(PixelAt(51, 51), 0xC00000) << "all of it, though a blank fill is one pixel short";
    EXPECT_EQ(PixelAt(60, 60), 0x0000FF);
    picture.Hide();
    EXPECT_FALSE(picture.IsCreated());
    EXPECT_EQ(PixelAt(60, 60), 0xC00000);
}

TEST_F(ImagesTest, PackedPictureIsBuiltOnTheFirstPaint)
{
    std::vector<unsigned char> block(48 + 1, 0);
    block[3 * 1 + 0] = 0x12;  // colour 1 = 0x123456
    block[3 * 1 + 1] = 0x34;
    block[3 * 1 + 2] = 0x56;
    block[48] = 0x11;
    MyImage picture(form.get(), PackedPicture{2, 1, block.data(), block.size()});
    picture.SetPosition(5, 5);
    picture.Show();
    ASSERT_NE(picture.GetImage(), nullptr);
    EXPECT_EQ(PixelAt(6, 5), 0x123456);
}

class SpriteCellTest : public FormFixture {
protected:
    void SetUp() override
    {
        FormFixture::SetUp();
        // Each sprite of the 3 x 1 test sheet has its column number in the red byte and its
        // row in the green byte, so any pixel tells where on the sheet it came from.
        sheet.resize(sheetWidth * sheetHeight * 3);
        for (int y = 0; y < sheetHeight; ++y)
            for (int x = 0; x < sheetWidth; ++x) {
                unsigned char* pixel = &sheet[(y * sheetWidth + x) * 3];
                pixel[0] = static_cast<unsigned char>(x);
                pixel[1] = static_cast<unsigned char>(y);
                pixel[2] = static_cast<unsigned char>(x / 27 == 1 && (x % 27 < 5) ? 0 : 0x80);
            }
    }

    static constexpr int sheetWidth = 378, sheetHeight = 27;
    std::vector<unsigned char> sheet;
};

TEST_F(SpriteCellTest, CellShowsExactlyItsSpriteOfTheSheet)
{
    ImageFrame cell(form.get(), sheet.data(), 1, sheetWidth, sheetHeight, 0, 0);
    cell.SetSize(27, 27);
    cell.SetPosition(100, 100);
    cell.SetTransparent(false);
    cell.Show();
    cell.SetSprite(9, 0);
    for (int y = 0; y < 27; y += 13)
        for (int x = 0; x < 27; x += 13)
            ASSERT_EQ(PixelAt(100 + x, 100 + y), ((243 + x) & 0xFF) << 16 | y << 8 | 0x80) << x << "," << y;
    EXPECT_EQ(cell.GetSprite(), (std::pair<int, int>{9, 0}));
}

TEST_F(SpriteCellTest, SpriteChangesOnlyRedrawWhenCreatedAndChanged)
{
    Clear(0x000000);
    ImageFrame cell(form.get(), sheet.data(), 1, sheetWidth, sheetHeight, 3, 0);
    cell.SetSize(27, 27);
    cell.SetPosition(10, 10);
    cell.SetSprite(4, 0);
    EXPECT_EQ(PixelAt(10, 10), 0x000000) << "not created: nothing drawn";
    cell.Show();
    EXPECT_EQ(PixelAt(10, 10), 108 << 16 | 0x80);
    Clear(0x000000);
    cell.SetSprite(4, 0);
    EXPECT_EQ(PixelAt(10, 10), 0x000000) << "the sprite already shown is not drawn again";
    cell.SetSprite(14, 0);
    EXPECT_EQ(PixelAt(10, 10), 0x000000) << "a sprite beyond the sheet draws nothing";
    cell.SetSprite(-1, 0);
    EXPECT_EQ(PixelAt(10, 10), 0x000000);
}

TEST_F(SpriteCellTest, TransparentCellShowsTheFormUnderBlackExceptTheLastColumnAndRow)
{
    Clear(0x00FF00);
    form->SetBackColor(0xC00000);
    std::vector<unsigned char> dark(sheet.size(), 0);
    ImageFrame black(form.get(), dark.data(), 1, sheetWidth, sheetHeight, 0, 0);
    black.SetSize(27, 27);
    black.SetPosition(50, 10);
    black.SetTransparent(true);
    black.Show();
    EXPECT_EQ(PixelAt(50, 10), 0xC00000);
    EXPECT_EQ(PixelAt(75, 35), 0xC00000);
    EXPECT_EQ(PixelAt(76, 20), 0x00FF00) << "the erase leaves the last column as it was";
    EXPECT_EQ(PixelAt(60, 36), 0x00FF00) << "and the last row";
}

TEST_F(SpriteCellTest, CellsOnPackedPicturesAndReadyImages)
{
    std::vector<unsigned char> block(48 + 27 * 14, 0x11);
    for (int i = 0; i < 48; ++i) block[i] = 0;
    block[3] = 0xAB;
    const PackedPicture pictures[1] = {{27, 27, block.data(), block.size()}};
    ImageFrame packed(form.get(), pictures, 1, 0, 0);
    packed.SetSize(27, 27);
    packed.SetPosition(100, 100);
    packed.Show();
    EXPECT_EQ(PixelAt(110, 110), 0xAB0000);
    packed.SetSprite(1, 0);
    EXPECT_EQ(PixelAt(110, 110), 0xAB0000) << "no picture 1: nothing drawn, the old one stays";

    const unsigned char rgb[] = {0x10, 0x20, 0x30};
    ImagePtr image(MakeImage(form->Target(), rgb, 1, 1));
    XImage* images[1] = {image.get()};
    ImageFrame ready(form.get(), images, 1, 0, 0);
    ready.SetSize(1, 1);
    ready.SetPosition(200, 200);
    ready.Show();
    EXPECT_EQ(PixelAt(200, 200), 0x102030);
}
