// The PNG writer, checked against libpng's decoder: the pixels must come back exactly, for RGB
// and RGBA, for odd sizes, and through every one of the five row filters.

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <set>

#include "tests/support/TempFolder.h"
#include "tests/tools/PngRead.h"
#include "tools/PngFile.h"

namespace {

// Noise, smooth ramps and flat runs side by side, so that each row filter wins somewhere.
PngImage Mixed(int width, int height, bool alpha, std::uint32_t seed)
{
    const int channels = alpha ? 4 : 3;
    PngImage image{width, height, alpha, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c) {
                seed = seed * 1664525u + 1013904223u;
                unsigned char value = 0;
                switch ((y / 3) % 4) {
                case 0: value = static_cast<unsigned char>(seed >> 24); break;
                case 1: value = static_cast<unsigned char>(x * 7 + c * 40); break;
                case 2: value = static_cast<unsigned char>(y * 11 + c); break;
                default: value = static_cast<unsigned char>(x * 3 + y * 5 + (seed >> 30)); break;
                }
                image.pixels.push_back(value);
            }
    return image;
}

std::vector<unsigned char> ToRgba(const PngImage& image)
{
    if (image.alpha) return image.pixels;
    std::vector<unsigned char> rgba;
    for (std::size_t i = 0; i < image.pixels.size(); i += 3) {
        rgba.insert(rgba.end(), image.pixels.begin() + static_cast<std::ptrdiff_t>(i),
                    image.pixels.begin() + static_cast<std::ptrdiff_t>(i + 3));
        rgba.push_back(255);
    }
    return rgba;
}

std::uint32_t BigEndian(const unsigned char* p) { return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3]; }

// The filter type byte at the start of every row, read by inflating the IDAT chunk.
std::set<int> FiltersUsed(const std::vector<unsigned char>& file, const PngImage& image)
{
    std::set<int> filters;
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const std::uint32_t length = BigEndian(&file[at]);
        if (std::string(reinterpret_cast<const char*>(&file[at + 4]), 4) == "IDAT") {
            const std::size_t stride = static_cast<std::size_t>(image.width) * (image.alpha ? 4 : 3) + 1;
            std::vector<unsigned char> raw(stride * static_cast<std::size_t>(image.height));
            uLongf rawSize = raw.size();
            if (uncompress(raw.data(), &rawSize, &file[at + 8], length) != Z_OK) return {};
            for (std::size_t row = 0; row < rawSize; row += stride) filters.insert(raw[row]);
        }
        at += 12 + length;
    }
    return filters;
}

}  // namespace

TEST(PngFile, PixelsComeBackExactlyThroughLibpng)
{
    for (bool alpha : {false, true})
        for (auto [width, height] : {std::pair{1, 1}, {2, 3}, {17, 9}, {300, 24}}) {
            const PngImage image = Mixed(width, height, alpha, static_cast<std::uint32_t>(width * 31 + height));
            const auto decoded = DecodePngBytes(EncodePng(image));
            ASSERT_TRUE(decoded.has_value()) << width << "x" << height << (alpha ? " RGBA" : " RGB");
            EXPECT_EQ(decoded->width, width);
            EXPECT_EQ(decoded->height, height);
            EXPECT_EQ(decoded->hasAlpha, alpha);
            EXPECT_EQ(decoded->rgba, ToRgba(image)) << width << "x" << height << (alpha ? " RGBA" : " RGB");
        }
}

TEST(PngFile, EveryRowFilterIsExercisedAndDecodes)
{
    // Without this, a wrong Paeth or average predictor could go unnoticed by the test above.
    std::set<int> seen;
    for (bool alpha : {false, true})
        for (std::uint32_t seed : {1u, 2u, 3u}) {
            const PngImage image = Mixed(64, 48, alpha, seed);
            const auto file = EncodePng(image);
            const auto filters = FiltersUsed(file, image);
            seen.insert(filters.begin(), filters.end());
            const auto decoded = DecodePngBytes(file);
            ASSERT_TRUE(decoded.has_value());
            EXPECT_EQ(decoded->rgba, ToRgba(image));
        }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 4}));
}

TEST(PngFile, SamePixelsGiveTheSameBytes)
{
    const PngImage image = Mixed(40, 30, true, 7);
    EXPECT_EQ(EncodePng(image), EncodePng(image));
}

TEST(PngFile, FlatArtworkPacksSmall)
{
    PngImage image{800, 600, false, {}};
    for (int i = 0; i < 800 * 600; ++i) image.pixels.insert(image.pixels.end(), {0xC0, 0x00, 0x00});
    EXPECT_LT(EncodePng(image).size(), 4096u);
}

TEST(PngFile, SizesThatDoNotMatchThePixelsAreRefused)
{
    EXPECT_TRUE(EncodePng(PngImage{0, 0, false, {}}).empty());
    EXPECT_TRUE(EncodePng(PngImage{2, 2, false, std::vector<unsigned char>(11)}).empty());
    EXPECT_TRUE(EncodePng(PngImage{2, 2, true, std::vector<unsigned char>(12)}).empty());
    EXPECT_TRUE(EncodePng(PngImage{70000, 1, false, std::vector<unsigned char>(210000)}).empty());
}

TEST(PngFile, WritingReplacesTheFileAndLeavesNothingHalfWritten)
{
    TempFolder folder;
    const std::string path = folder.Path() + "/shot.png";
    folder.WriteFile("shot.png", "an older file");
    const PngImage image = Mixed(5, 4, false, 9);
    ASSERT_TRUE(WritePng(path, image));
    const auto decoded = DecodePngFile(path);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->rgba, ToRgba(image));
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));

    EXPECT_FALSE(WritePng(folder.Path() + "/missing/shot.png", image));
    EXPECT_FALSE(WritePng(folder.Path() + "/bad.png", PngImage{3, 3, false, {}}));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() + "/bad.png"));
}
