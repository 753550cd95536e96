#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "graphics/BitmapReaders.h"
#include "tests/graphics/BitmapWriter.h"
#include "tests/support/TempFolder.h"
#include "util/Files.h"

namespace {

std::vector<std::uint32_t> Pixels(const RgbImage& image)
{
    std::vector<std::uint32_t> pixels;
    for (int i = 0; i < image.width * image.height; ++i) {
        const unsigned char* p = image.pixels.get() + i * 3;
        pixels.push_back(static_cast<std::uint32_t>(p[0] << 16 | p[1] << 8 | p[2]));
    }
    return pixels;
}

std::vector<std::uint32_t> Flatten(const std::vector<std::vector<std::uint32_t>>& rows)
{
    std::vector<std::uint32_t> all;
    for (const auto& row : rows) all.insert(all.end(), row.begin(), row.end());
    return all;
}

std::vector<std::uint32_t> Colours(const std::vector<std::vector<std::uint32_t>>& indices,
                                   const std::vector<std::uint32_t>& palette)
{
    std::vector<std::uint32_t> colours;
    for (std::uint32_t index : Flatten(indices)) colours.push_back(palette.at(index));
    return colours;
}

const std::vector<std::uint32_t> sixteenColours = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

BitmapSpec TwentyFourBitFiveByThree()
{
    BitmapSpec bitmap;
    bitmap.bitsPerPixel = 24;
    bitmap.width = 5;
    bitmap.height = 3;
    bitmap.rows = {
        {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF},
        {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F},
        {0xA0B0C0, 0x000000, 0x7F7F7F, 0xFEDCBA, 0x102030},
    };
    return bitmap;
}

BitmapSpec EightBitThreeByTwo()
{
    BitmapSpec bitmap;
    bitmap.bitsPerPixel = 8;
    bitmap.width = 3;
    bitmap.height = 2;
    bitmap.palette = {0x000000, 0xFF8000, 0x00FF80, 0x8000FF};
    bitmap.rows = {{1, 2, 3}, {3, 0, 1}};
    return bitmap;
}

BitmapSpec FourBitFiveByTwo()
{
    BitmapSpec bitmap;
    bitmap.bitsPerPixel = 4;
    bitmap.width = 5;
    bitmap.height = 2;
    bitmap.palette = sixteenColours;
    bitmap.rows = {{1, 2, 3, 4, 5}, {15, 14, 13, 12, 11}};
    return bitmap;
}

}  // namespace

TEST(ReadBitmap24, OddWidthSkipsTheRowPaddingAndFlipsTheRows)
{
    TempFolder folder;
    const BitmapSpec bitmap = TwentyFourBitFiveByThree();
    const std::string bytes = BitmapBytes(bitmap);
    ASSERT_EQ(bytes.size(), 54u + 16u * 3u) << "a width of 5 has a stride of 16 bytes";
    folder.WriteFile("odd.bmp", bytes);

    const RgbImage image = ReadBitmap24("odd.bmp");
    ASSERT_TRUE(image);
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(Pixels(image), Flatten(bitmap.rows));
}

TEST(ReadBitmap24, ReadsThePixelsAtTheOffsetAfterALargerHeader)
{
    TempFolder folder;
    BitmapSpec bitmap = TwentyFourBitFiveByThree();
    bitmap.headerExtra = 84;  // a 124-byte info header
    folder.WriteFile("v5.bmp", BitmapBytes(bitmap));
    const RgbImage image = ReadBitmap24("v5.bmp");
    ASSERT_TRUE(image);
    EXPECT_EQ(Pixels(image), Flatten(bitmap.rows));
}

TEST(ReadBitmap8, OddWidthIndexesThePalette)
{
    TempFolder folder;
    const BitmapSpec bitmap = EightBitThreeByTwo();
    folder.WriteFile("eight.bmp", BitmapBytes(bitmap));
    const RgbImage image = ReadBitmap8("eight.bmp");
    ASSERT_TRUE(image);
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(Pixels(image), Colours(bitmap.rows, bitmap.palette));
}

TEST(ReadBitmap8, IndexWithoutAPaletteEntryIsBlack)
{
    TempFolder folder;
    BitmapSpec bitmap = EightBitThreeByTwo();
    bitmap.rows = {{1, 4, 255}, {3, 200, 0}};
    folder.WriteFile("short-palette.bmp", BitmapBytes(bitmap));
    const RgbImage image = ReadBitmap8("short-palette.bmp");
    ASSERT_TRUE(image);
    EXPECT_EQ(Pixels(image), (std::vector<std::uint32_t>{0xFF8000, 0, 0, 0x8000FF, 0, 0}));
}

TEST(ReadBitmap8, PaletteIsCutAt256EntriesWhenTheOffsetLiesFurther)
{
    TempFolder folder;
    BitmapSpec bitmap = EightBitThreeByTwo();
    bitmap.palette.assign(300, 0x112233);
    bitmap.palette[255] = 0xABCDEF;
    bitmap.rows = {{255, 0, 255}, {0, 255, 0}};
    folder.WriteFile("long-palette.bmp", BitmapBytes(bitmap));
    const RgbImage image = ReadBitmap8("long-palette.bmp");
    ASSERT_TRUE(image);
    EXPECT_EQ(Pixels(image), Colours(bitmap.rows, bitmap.palette));
}

TEST(ReadBitmap4, OddWidthIgnoresTheLowNibbleOfTheLastByte)
{
    TempFolder folder;
    const BitmapSpec bitmap = FourBitFiveByTwo();
    std::string bytes = BitmapBytes(bitmap);
    const std::size_t offset = 54 + 16 * 4;
    ASSERT_EQ(bytes.size(), offset + 4 * 2) << "3 data bytes in a 4-byte stride";
    // A non-zero unused nibble in both rows must not show.
    bytes[offset + 2] = static_cast<char>(bytes[offset + 2] | 0x07);
    bytes[offset + 4 + 2] = static_cast<char>(bytes[offset + 4 + 2] | 0x09);
    folder.WriteFile("four.bmp", bytes);

    const RgbImage image = ReadBitmap4("four.bmp");
    ASSERT_TRUE(image);
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(Pixels(image), Colours(bitmap.rows, bitmap.palette));
}

TEST(ReadBitmap4, WritesThePictureAsSourceTextBesideTheBitmap)
{
    TempFolder folder;
    BitmapSpec bitmap;
    bitmap.bitsPerPixel = 4;
    bitmap.width = 3;
    bitmap.height = 2;
    bitmap.palette = sixteenColours;
    bitmap.rows = {{1, 2, 3}, {0xA, 0xB, 0xF}};
    folder.WriteFile("pic.bmp", BitmapBytes(bitmap));

    ASSERT_TRUE(ReadBitmap4("pic.bmp"));

    std::string palette;
    for (std::uint32_t colour : sixteenColours) {
        char hex[32];
        std::snprintf(hex, sizeof hex, "0x%02X,0x%02X,0x%02X,", colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF);
        palette += hex;
    }
    const std::string expected = "int wPIC = 3;\n"
                                 "int hPIC = 2;\n"
                                 "\n"
                                 "char imgPIC[] = {\n" +
                                 palette +
                                 "\n"
                                 "0xAB,0xF0,\n"
                                 "0x12,0x30,\n"
                                 "};\n"
                                 "\n";
    EXPECT_EQ(folder.ReadFile("pic.bmp.c"), expected);
}

TEST(ReadBitmap4, ReadingAgainRewritesTheOneTextFile)
{
    TempFolder folder;
    folder.WriteFile("pic.bmp", BitmapBytes(FourBitFiveByTwo()));
    ASSERT_TRUE(ReadBitmap4("pic.bmp"));
    const std::string first = folder.ReadFile("pic.bmp.c");
    ASSERT_FALSE(first.empty());

    folder.WriteFile("pic.bmp.c", first + std::string(5000, 'x'));
    ASSERT_TRUE(ReadBitmap4("pic.bmp"));
    EXPECT_EQ(folder.ReadFile("pic.bmp.c"), first);
    EXPECT_EQ(ListFiles(folder.Path()).size(), 2u);
}

TEST(ReadBitmap4, NameWithoutADotIsTheWholeFileNameInUpperCase)
{
    TempFolder folder;
    ASSERT_TRUE(MakeFolder("Data"));
    folder.WriteFile("Data/ball", BitmapBytes(FourBitFiveByTwo()));
    ASSERT_TRUE(ReadBitmap4("Data/ball"));
    const std::string text = folder.ReadFile("Data/ball.c");
    EXPECT_EQ(text.rfind("int wBALL = 5;\nint hBALL = 2;\n\nchar imgBALL[] = {\n", 0), 0u) << text;
}

TEST(ReadBitmap4, NameIsCutBeforeTheLastDotOnly)
{
    TempFolder folder;
    ASSERT_TRUE(MakeFolder("Data"));
    folder.WriteFile("Data/my.ball.bmp", BitmapBytes(FourBitFiveByTwo()));
    ASSERT_TRUE(ReadBitmap4("Data/my.ball.bmp"));
    EXPECT_EQ(folder.ReadFile("Data/my.ball.bmp.c").rfind("int wMY.BALL = 5;\n", 0), 0u);
}

TEST(ReadBitmap4, SixteenColourExportIsAPackedPicture)
{
    TempFolder folder;
    folder.WriteFile("pic.bmp", BitmapBytes(FourBitFiveByTwo()));
    ASSERT_TRUE(ReadBitmap4("pic.bmp"));
    const std::string text = folder.ReadFile("pic.bmp.c");
    std::size_t count = 0;
    for (std::size_t at = text.find("0x"); at != std::string::npos; at = text.find("0x", at + 1)) ++count;
    EXPECT_EQ(count, 48u + 3u * 2u);
}

// Hostile files: each must give no image, and the 4-bit reader must write no text for it.

class HostileBitmap : public ::testing::TestWithParam<int> {
protected:
    static BitmapSpec Valid(int bitsPerPixel)
    {
        return bitsPerPixel == 24 ? TwentyFourBitFiveByThree()
               : bitsPerPixel == 8 ? EightBitThreeByTwo()
                                   : FourBitFiveByTwo();
    }

    static RgbImage Read(int bitsPerPixel, const std::string& path)
    {
        return bitsPerPixel == 24 ? ReadBitmap24(path) : bitsPerPixel == 8 ? ReadBitmap8(path) : ReadBitmap4(path);
    }

    void ExpectRefused(const std::string& bytes, const std::string& why)
    {
        folder.WriteFile("bad.bmp", bytes);
        const RgbImage image = Read(GetParam(), "bad.bmp");
        EXPECT_FALSE(image) << why;
        EXPECT_EQ(image.width, 0) << why;
        EXPECT_EQ(image.height, 0) << why;
        EXPECT_FALSE(FileExists("bad.bmp.c")) << why;
        EXPECT_FALSE(FileExists("log.txt")) << why << ": the readers log nothing";
    }

    TempFolder folder;
};

TEST_P(HostileBitmap, ValidFileIsRead)
{
    folder.WriteFile("good.bmp", BitmapBytes(Valid(GetParam())));
    EXPECT_TRUE(Read(GetParam(), "good.bmp"));
}

TEST_P(HostileBitmap, MissingFileFolderAndEmptyFile)
{
    EXPECT_FALSE(Read(GetParam(), "missing.bmp"));
    ASSERT_TRUE(MakeFolder("folder.bmp"));
    EXPECT_FALSE(Read(GetParam(), "folder.bmp"));
    ExpectRefused("", "empty file");
}

TEST_P(HostileBitmap, TruncatedFiles)
{
    const std::string bytes = BitmapBytes(Valid(GetParam()));
    ExpectRefused(bytes.substr(0, 20), "cut inside the header");
    ExpectRefused(bytes.substr(0, 53), "one byte short of the header");
    ExpectRefused(bytes.substr(0, 54), "header only");
    ExpectRefused(bytes.substr(0, bytes.size() - 1), "last byte missing");
    ExpectRefused(bytes.substr(0, bytes.size() / 2 + 30), "half the pixels missing");
}

TEST_P(HostileBitmap, ZeroNegativeAndAbsurdSizes)
{
    const std::string bytes = BitmapBytes(Valid(GetParam()));
    const auto withField = [&](std::size_t at, std::uint32_t value) {
        std::string changed = bytes;
        PutLittleEndian(changed, at, value);
        return changed;
    };
    ExpectRefused(withField(18, 0), "width 0");
    ExpectRefused(withField(22, 0), "height 0");
    ExpectRefused(withField(18, static_cast<std::uint32_t>(-5)), "negative width");
    ExpectRefused(withField(22, static_cast<std::uint32_t>(-3)), "negative (top-down) height");
    ExpectRefused(withField(18, 16385), "width over 16384");
    ExpectRefused(withField(22, 16385), "height over 16384");
    ExpectRefused(withField(18, 0x7FFFFFFF), "huge width");
    ExpectRefused(withField(22, 0x7FFFFFFF), "huge height");
    ExpectRefused(withField(18, 0x80000000), "most negative width");
    ExpectRefused(withField(22, 4000), "more rows than the file holds");
}

TEST_P(HostileBitmap, OffsetOutsideTheFile)
{
    const std::string bytes = BitmapBytes(Valid(GetParam()));
    const auto withOffset = [&](std::uint32_t value) {
        std::string changed = bytes;
        PutLittleEndian(changed, 10, value);
        return changed;
    };
    ExpectRefused(withOffset(static_cast<std::uint32_t>(bytes.size()) + 1), "offset past the end");
    ExpectRefused(withOffset(0xFFFFFFFF), "offset at 4 GB");
    ExpectRefused(withOffset(0x80000000), "offset at 2 GB");
    ExpectRefused(withOffset(static_cast<std::uint32_t>(bytes.size()) - 1), "offset leaves too few pixel bytes");
    ExpectRefused(withOffset(0), "offset inside the header");
    ExpectRefused(withOffset(53), "offset one byte inside the header");
}

TEST_P(HostileBitmap, LargestSideIsAccepted)
{
    BitmapSpec bitmap = Valid(GetParam());
    bitmap.width = maxBitmapSide;
    bitmap.height = 1;
    bitmap.rows = {std::vector<std::uint32_t>(maxBitmapSide, GetParam() == 24 ? 0x010203 : 1)};
    folder.WriteFile("wide.bmp", BitmapBytes(bitmap));
    const RgbImage image = Read(GetParam(), "wide.bmp");
    ASSERT_TRUE(image);
    EXPECT_EQ(image.width, maxBitmapSide);
    EXPECT_EQ(image.height, 1);
}

// Random damage to a valid file, the same on every run: whatever the bytes, the reader either
// refuses the file or gives an image of the size its header states. The sanitizer build catches
// any read or write out of bounds.
TEST_P(HostileBitmap, RandomDamageNeverReachesOutOfBounds)
{
    const std::string valid = BitmapBytes(Valid(GetParam()));
    std::mt19937 random(20240601u + static_cast<unsigned>(GetParam()));
    for (int round = 0; round < 600; ++round) {
        std::string bytes = valid;
        const int damage = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < damage; ++i) {
            // Most damage goes to the header fields the readers use.
            const std::size_t at = random() % 3 != 0 ? 10 + random() % 16 : random() % bytes.size();
            bytes[at] = static_cast<char>(random());
        }
        if (random() % 4 == 0) bytes.resize(random() % (bytes.size() + 1));
        folder.WriteFile("damaged.bmp", bytes);
        const RgbImage image = Read(GetParam(), "damaged.bmp");
        if (!image) continue;
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(static_cast<std::uint32_t>(image.width),
                  static_cast<unsigned char>(bytes[18]) | static_cast<unsigned char>(bytes[19]) << 8 |
                      static_cast<unsigned char>(bytes[20]) << 16 | static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[21])) << 24);
        EXPECT_GT(image.width, 0);
        EXPECT_GT(image.height, 0);
        EXPECT_LE(image.width, maxBitmapSide);
        EXPECT_LE(image.height, maxBitmapSide);
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, HostileBitmap, ::testing::Values(4, 8, 24),
                         [](const ::testing::TestParamInfo<int>& info) { return "Bits" + std::to_string(info.param); });
