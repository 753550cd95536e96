#include <gtest/gtest.h>

#include "graphics/FontDescription.h"
#include "tests/support/TempFolder.h"
#include "toolkit/DisplayConnection.h"

TEST(FontDescription, PatternFollowsTheStyle)
{
    FontDescription font;
    EXPECT_EQ(font.BuildPattern(), "-*-*-Medium-R-Normal--14-*");
    font.SetPixelSize(20);
    font.SetBold(true);
    EXPECT_EQ(font.BuildPattern(), "-*-*-Bold-R-Normal--20-*");
    font.SetItalic(true);
    EXPECT_EQ(font.BuildPattern(), "-*-*-Bold-R-Italic--20-*");
    EXPECT_EQ(FontDescription("misc-fixed", 13).BuildPattern(), "-misc-fixed-Medium-R-Normal--13-*");
}

TEST(FontDescription, DefaultPatternLoadsOnceAndReportsItsAscent)
{
    TempFolder folder;
    DisplayConnection connection("t");
    FontDescription font;
    EXPECT_EQ(font.Height(), 14) << "before loading, the pixel size";
    const FontHandle* first = font.Get(connection.GetDisplay());
    ASSERT_NE(first, nullptr) << "is xfonts-base installed?";
    EXPECT_EQ(font.Get(connection.GetDisplay()), first);
    EXPECT_EQ(font.Height(), FontAscent(*first));
    EXPECT_GT(font.Height(), 5);
    EXPECT_LE(font.Height(), 15);

    FontDescription copy = font;
    EXPECT_FALSE(copy.IsLoaded()) << "a copy owns no font until it loads its own";
    EXPECT_EQ(folder.ReadFile("log.txt"), "");
}

TEST(FontDescription, AMissingFontIsLoggedOncePerPatternAndRetried)
{
    TempFolder folder;
    DisplayConnection connection("t");
    FontDescription font("nobody-nofont", 14);
    FontDescription same("nobody-nofont", 14);
    FontDescription bigger("nobody-nofont", 15);
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_EQ(font.Get(connection.GetDisplay()), nullptr);
        EXPECT_EQ(same.Get(connection.GetDisplay()), nullptr);
    }
    EXPECT_EQ(folder.ReadFile("log.txt"), "XLoadQueryFont failed\n") << "one line for the pattern";
    EXPECT_EQ(bigger.Get(connection.GetDisplay()), nullptr);
    EXPECT_EQ(folder.ReadFile("log.txt"), "XLoadQueryFont failed\nXLoadQueryFont failed\n")
        << "another pattern has its own line";
    EXPECT_FALSE(font.IsLoaded());
}
