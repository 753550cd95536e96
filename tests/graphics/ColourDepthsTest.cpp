#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/DrawContext.h"
#include "graphics/Images.h"
#include "tests/support/FormFixture.h"
#include "tools/harness/XServer.h"

// The form of FormFixture on a server of its own, 16 or 30 bits deep.
class ColourDepthsTest : public FormFixture, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.Start(GetParam(), 640, 480));
        setenv("DISPLAY", server.Name().c_str(), 1);
        FormFixture::SetUp();
    }
    void TearDown() override
    {
        FormFixture::TearDown();
        setenv("DISPLAY", sharedDisplay.c_str(), 1);
    }

    // Each channel read back as drawn, as far as the visual holds it (5 bits of red at depth 16).
    bool Near(Colour drawn, Colour read) const
    {
        const int slack = GetParam() == 16 ? 4 : 0;
        for (int shift : {16, 8, 0})
            if (std::abs((drawn >> shift & 0xFF) - (read >> shift & 0xFF)) > slack) return false;
        return true;
    }

    const std::string sharedDisplay = std::getenv("DISPLAY");
    XServer server;
};

TEST_P(ColourDepthsTest, FillsPicturesAndReadBackKeepTheColours)
{
    DrawContext context(form->Target());
    EXPECT_TRUE(Near(background, context.GetPixel(200, 200))) << "the window's own background";
    context.FillRectangle(10, 10, 20, 20, 0, 0, 0xFF0000);
    XImage* raw = XGetImage(display, form->GetWindow(), 15, 15, 1, 1, AllPlanes, ZPixmap);
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(XGetPixel(raw, 0, 0), GetParam() == 16 ? 0xF800ul : 0x3FF00000ul) << "red in the red field";
    XDestroyImage(raw);
    context.FillRectangle(40, 10, 20, 20, 0, 0, 0x3366CC);
    EXPECT_TRUE(Near(0x3366CC, context.GetPixel(45, 15)));

    const unsigned char rgb[] = {0xCF, 0x3B, 0x76, 0, 0, 0, 0x12, 0x34, 0x56};
    ImagePtr picture(MakeImage(form->Target(), rgb, 3, 1));
    context.PutImage(100, 100, 0, 0, picture.get());
    EXPECT_TRUE(Near(0xCF3B76, context.GetPixel(100, 100)));
    context.PutImageTransparent(44, 15, 0, 0, picture.get(), 0);
    EXPECT_TRUE(Near(0x3366CC, context.GetPixel(45, 15))) << "black shows what is under it";
    EXPECT_TRUE(Near(0x123456, context.GetPixel(46, 15)));
    EXPECT_EQ(folder->ReadFile("log.txt"), "") << "no depth line, no layout warning";
}

INSTANTIATE_TEST_SUITE_P(SixteenAndThirtyBits, ColourDepthsTest, ::testing::Values(16, 30));
