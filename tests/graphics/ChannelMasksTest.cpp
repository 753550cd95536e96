#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "graphics/ChannelMasks.h"

// The largest difference in one channel between any colour and what its pixel gives back.
static int RoundTripError(const ChannelMasks& masks, int shift)
{
    int worst = 0;
    for (int value = 0; value < 256; ++value)
        worst = std::max(worst, std::abs((masks.FromPixel(masks.ToPixel(value << shift)) >> shift & 0xFF) - value));
    return worst;
}

// The TrueColor visuals a player meets: 8 bits a channel at depth 24, 5/6/5 at 16, 10 at 30.
TEST(ChannelMasks, EachChannelIsScaledToItsFieldAndBack)
{
    constexpr ChannelMasks depth24, depth16{0xF800, 0x07E0, 0x001F}, depth30{0x3FF00000, 0x000FFC00, 0x000003FF};
    for (std::int32_t colour : {0x000000, 0xFFFFFF, 0xCF3B76, 0x010101})
        EXPECT_EQ(depth24.ToPixel(colour), static_cast<std::uint32_t>(colour)) << "the colour is the pixel";
    EXPECT_EQ(depth16.ToPixel(0xFF0000), 0xF800u);
    EXPECT_EQ(depth16.ToPixel(0x00FF00), 0x07E0u);
    EXPECT_EQ(depth16.ToPixel(0x808080), 0x8410u) << "to the nearest step";
    EXPECT_EQ(depth16.FromPixel(0x001F), 0x0000FF);
    EXPECT_EQ(depth16.FromPixel(0x8410), 0x848284);
    EXPECT_EQ(depth30.ToPixel(0xFF0000), 0x3FF00000u);
    EXPECT_EQ(depth30.ToPixel(0x000080), 0x202u);
    EXPECT_EQ(depth30.FromPixel(0x000FFC00), 0x00FF00);
    EXPECT_EQ(RoundTripError(depth16, 16), 4) << "red keeps 5 bits";
    EXPECT_EQ(RoundTripError(depth16, 8), 2) << "green keeps 6";
    for (int shift : {16, 8, 0}) {
        EXPECT_EQ(RoundTripError(depth24, shift), 0);
        EXPECT_EQ(RoundTripError(depth30, shift), 0);
    }
}
