#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "graphics/PackedPicture.h"

namespace {

// A block whose palette entry i is the colour 0x10 * i, 0x20 + i, 0xF0 - i, easy to tell apart.
std::vector<unsigned char> Block(const std::vector<unsigned char>& data)
{
    std::vector<unsigned char> block;
    for (int i = 0; i < 16; ++i) {
        block.push_back(static_cast<unsigned char>(0x10 * i));
        block.push_back(static_cast<unsigned char>(0x20 + i));
        block.push_back(static_cast<unsigned char>(0xF0 - i));
    }
    block.insert(block.end(), data.begin(), data.end());
    return block;
}

std::vector<unsigned char> PaletteColour(int index)
{
    return {static_cast<unsigned char>(0x10 * index), static_cast<unsigned char>(0x20 + index),
            static_cast<unsigned char>(0xF0 - index)};
}

std::vector<unsigned char> Colours(std::initializer_list<int> indices)
{
    std::vector<unsigned char> rgb;
    for (int index : indices) {
        const auto colour = PaletteColour(index);
        rgb.insert(rgb.end(), colour.begin(), colour.end());
    }
    return rgb;
}

std::vector<unsigned char> Unpacked(int width, int height, const std::vector<unsigned char>& block)
{
    const auto rgb = UnpackPicture(width, height, block.data(), block.size());
    if (!rgb) return {};
    return std::vector<unsigned char>(rgb.get(), rgb.get() + width * height * 3);
}

}  // namespace

TEST(UnpackPicture, OddWidthIgnoresTheLastLowNibble)
{
    EXPECT_EQ(Unpacked(3, 1, Block({0x12, 0x30})), Colours({1, 2, 3}));
    EXPECT_EQ(Unpacked(3, 1, Block({0x12, 0x3F})), Colours({1, 2, 3}));
}

TEST(UnpackPicture, FirstStoredRowIsTheBottomRow)
{
    EXPECT_EQ(Unpacked(2, 2, Block({0x45, 0x67})), Colours({6, 7, 4, 5}));
}

TEST(UnpackPicture, HighNibbleIsTheLeftPixel)
{
    EXPECT_EQ(Unpacked(4, 1, Block({0xF0, 0x9A})), Colours({15, 0, 9, 10}));
}

TEST(UnpackPicture, OddWidthRowsStartOnAByteEach)
{
    // Two rows of width 3: two bytes a row, the second byte's low nibble unused in both.
    EXPECT_EQ(Unpacked(3, 2, Block({0x12, 0x3E, 0x45, 0x6D})), Colours({4, 5, 6, 1, 2, 3}));
}

TEST(UnpackPicture, SizeOfTheBlock)
{
    EXPECT_EQ(PackedPictureSize(20, 20), 248u);
    EXPECT_EQ(PackedPictureSize(3, 1), 50u);
    EXPECT_EQ(PackedPictureSize(163, 50), 48u + 82u * 50u);
    EXPECT_EQ(PackedPictureSize(200, 50), 48u + 100u * 50u);
}

TEST(UnpackPicture, RefusesABlockTooShortForItsSize)
{
    const std::vector<unsigned char> block = Block(std::vector<unsigned char>(10 * 20, 0x11));
    ASSERT_EQ(block.size(), 248u);
    EXPECT_NE(UnpackPicture(20, 20, block.data(), block.size()), nullptr);
    EXPECT_EQ(UnpackPicture(20, 20, block.data(), block.size() - 1), nullptr);
    EXPECT_EQ(UnpackPicture(20, 21, block.data(), block.size()), nullptr);
    EXPECT_EQ(UnpackPicture(21, 20, block.data(), block.size()), nullptr) << "width 21 needs 11 bytes a row";
    EXPECT_EQ(UnpackPicture(1, 1, block.data(), 48), nullptr) << "palette only";
    EXPECT_EQ(UnpackPicture(1, 1, block.data(), 0), nullptr);
}

TEST(UnpackPicture, LongerBlockUsesOnlyWhatItsSizeNeeds)
{
    EXPECT_EQ(Unpacked(1, 1, Block({0x70, 0xFF, 0xFF})), Colours({7}));
}

TEST(UnpackPicture, RefusesNullBlocksAndImpossibleSizes)
{
    const std::vector<unsigned char> block = Block(std::vector<unsigned char>(1000, 0x22));
    EXPECT_EQ(UnpackPicture(1, 1, nullptr, 1000), nullptr);
    EXPECT_EQ(UnpackPicture(0, 1, block.data(), block.size()), nullptr);
    EXPECT_EQ(UnpackPicture(1, 0, block.data(), block.size()), nullptr);
    EXPECT_EQ(UnpackPicture(-2, 4, block.data(), block.size()), nullptr);
    EXPECT_EQ(UnpackPicture(4, -2, block.data(), block.size()), nullptr);
    EXPECT_EQ(UnpackPicture(maxPackedSide + 1, 1, block.data(), block.size()), nullptr);
    EXPECT_EQ(UnpackPicture(0x7FFFFFFF, 0x7FFFFFFF, block.data(), static_cast<std::size_t>(-1)), nullptr);
}

TEST(UnpackPicture, PackedPictureOverloadUsesItsFields)
{
    const std::vector<unsigned char> block = Block({0x12, 0x30});
    EXPECT_NE(UnpackPicture(PackedPicture{3, 1, block.data(), block.size()}), nullptr);
    EXPECT_EQ(UnpackPicture(PackedPicture{3, 2, block.data(), block.size()}), nullptr);
    EXPECT_EQ(UnpackPicture(PackedPicture{}), nullptr);
}
