// The generated artwork and sounds: the sprite sheet and the WAVE files as the build writes them
// into its Data folder, and the built-in pictures compiled into the program.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "graphics/PackedPicture.h"
#include "graphics/PictureData.h"

namespace {

const std::string dataFolder = KORVANTA_DATA_DIR;

std::vector<unsigned char> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

constexpr int sheetWidth = 378;
constexpr int spriteSize = 27;

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
    auto operator<=>(const Rgb&) const = default;
};

class SpriteSheet : public ::testing::Test {
protected:
    void SetUp() override { sheet = ReadBytes(dataFolder + "/pallini27x27.bin"); }

    Rgb At(int sprite, int x, int y) const
    {
        const unsigned char* p = sheet.data() + (static_cast<std::size_t>(y) * sheetWidth + sprite * spriteSize + x) * 3;
        return {p[0], p[1], p[2]};
    }

    // The mean colour of the sprite's central 9 x 9 pixels.
    Rgb Centre(int sprite) const
    {
        int r = 0, g = 0, b = 0;
        for (int y = 9; y < 18; ++y)
            for (int x = 9; x < 18; ++x) {
                const Rgb p = At(sprite, x, y);
                r += p.r;
                g += p.g;
                b += p.b;
            }
        return {r / 81, g / 81, b / 81};
    }

    std::vector<unsigned char> sheet;
};

int Distance(Rgb a, Rgb b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

}  // namespace

TEST_F(SpriteSheet, HasExactlyFourteenSpritesOfRawRgb)
{
    EXPECT_EQ(sheet.size(), 30618u);
    EXPECT_EQ(sheet.size(), static_cast<std::size_t>(sheetWidth) * spriteSize * 3);
}

TEST_F(SpriteSheet, EverySpriteIsDifferent)
{
    ASSERT_EQ(sheet.size(), 30618u);
    for (int a = 0; a < 14; ++a)
        for (int b = a + 1; b < 14; ++b) {
            int differing = 0;
            for (int y = 0; y < spriteSize; ++y)
                for (int x = 0; x < spriteSize; ++x) differing += At(a, x, y) == At(b, x, y) ? 0 : 1;
            EXPECT_GT(differing, 40) << "sprites " << a << " and " << b;
        }
}

TEST_F(SpriteSheet, TheBallsHaveClearlyDifferentColours)
{
    ASSERT_EQ(sheet.size(), 30618u);
    const Rgb well = Centre(0);
    for (int a = 1; a <= 4; ++a) {
        EXPECT_GT(Distance(Centre(a), well), 200) << "ball " << a << " against the empty well";
        for (int b = a + 1; b <= 4; ++b) EXPECT_GT(Distance(Centre(a), Centre(b)), 150) << "balls " << a << " and " << b;
    }
}

TEST_F(SpriteSheet, BallsPegAndCatcherStandOnTheEmptyWell)
{
    ASSERT_EQ(sheet.size(), 30618u);
    // Their cells sit among empty cells: the corner away from the shadows must match sprite 0.
    for (int sprite = 1; sprite <= 6; ++sprite)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) EXPECT_EQ(At(sprite, x, y), At(0, x, y)) << "sprite " << sprite;
}

TEST_F(SpriteSheet, WallsAndFloorJoinTheirNeighbours)
{
    ASSERT_EQ(sheet.size(), 30618u);
    // Left and right walls mirror each other, and so do the bottom corners.
    for (int y = 0; y < spriteSize; ++y)
        for (int x = 0; x < spriteSize; ++x) {
            EXPECT_EQ(At(7, x, y), At(9, spriteSize - 1 - x, y));
            EXPECT_EQ(At(10, x, y), At(11, spriteSize - 1 - x, y));
        }
}

namespace {

struct NamedPicture {
    const char* name;
    const PackedPicture* picture;
    int width;
    int height;
};

std::vector<NamedPicture> AllPictures()
{
    std::vector<NamedPicture> all = {{"title", &packedTitlePicture, 200, 50}, {"about", &packedAboutPicture, 163, 50}};
    for (int i = 0; i < 4; ++i) {
        all.push_back({"check box", &packedCheckBoxPictures[i], 20, 20});
        all.push_back({"option box", &packedOptionBoxPictures[i], 20, 20});
    }
    return all;
}

std::map<Rgb, int> ColourCounts(const PackedPicture& picture)
{
    std::map<Rgb, int> counts;
    const auto rgb = UnpackPicture(picture);
    if (!rgb) return counts;
    for (int i = 0; i < picture.width * picture.height; ++i)
        ++counts[{rgb[static_cast<std::size_t>(i) * 3], rgb[static_cast<std::size_t>(i) * 3 + 1],
                  rgb[static_cast<std::size_t>(i) * 3 + 2]}];
    return counts;
}

Rgb PixelOf(const PackedPicture& picture, int x, int y)
{
    const auto rgb = UnpackPicture(picture);
    const unsigned char* p = rgb.get() + (static_cast<std::size_t>(y) * picture.width + x) * 3;
    return {p[0], p[1], p[2]};
}

std::set<Rgb> Palette(const PackedPicture& picture)
{
    std::set<Rgb> palette;
    for (int i = 0; i < 16; ++i) palette.insert({picture.data[i * 3], picture.data[i * 3 + 1], picture.data[i * 3 + 2]});
    return palette;
}

}  // namespace

TEST(BuiltInPictures, HaveTheirSizesAndDecode)
{
    for (const NamedPicture& named : AllPictures()) {
        EXPECT_EQ(named.picture->width, named.width) << named.name;
        EXPECT_EQ(named.picture->height, named.height) << named.name;
        EXPECT_EQ(named.picture->size, 48u + static_cast<std::size_t>((named.width + 1) / 2 * named.height)) << named.name;
        EXPECT_NE(UnpackPicture(*named.picture), nullptr) << named.name;
    }
}

TEST(BuiltInPictures, TitleHasTenColoursOnTheFormsRed)
{
    const auto counts = ColourCounts(packedTitlePicture);
    EXPECT_EQ(counts.size(), 10u);
    const Rgb formRed{0xC0, 0x00, 0x00};
    ASSERT_TRUE(counts.contains(formRed));
    for (const auto& [colour, count] : counts) EXPECT_LE(count, counts.at(formRed)) << "the background is the most common";
    int cyan = 0;
    for (const auto& [colour, count] : counts)
        if (colour.r < 0x60 && colour.g > 0xC0 && colour.b > 0xC0) cyan += count;
    EXPECT_GT(cyan, 500) << "the name is written in cyan";
    EXPECT_EQ(PixelOf(packedTitlePicture, 0, 0), formRed);
    EXPECT_EQ(PixelOf(packedTitlePicture, 199, 0), formRed);
}

TEST(BuiltInPictures, AboutHasSevenColoursOnTheFormsRed)
{
    const auto counts = ColourCounts(packedAboutPicture);
    EXPECT_EQ(counts.size(), 7u);
    EXPECT_TRUE(counts.contains(Rgb{0xC0, 0x00, 0x00}));
    EXPECT_EQ(PixelOf(packedAboutPicture, 0, 0), (Rgb{0xC0, 0x00, 0x00}));
}

TEST(BuiltInPictures, SmallPicturesUseTheControlGreys)
{
    const std::vector<Rgb> greys = {{0x42, 0x42, 0x42}, {0x84, 0x84, 0x84}, {0x9B, 0x9B, 0x9B}, {0xD6, 0xD6, 0xCE},
                                    {0xFF, 0xFF, 0xFF}};
    for (int i = 0; i < 4; ++i)
        for (const PackedPicture* picture : {&packedCheckBoxPictures[i], &packedOptionBoxPictures[i]}) {
            const std::set<Rgb> palette = Palette(*picture);
            for (const Rgb& grey : greys) EXPECT_TRUE(palette.contains(grey)) << "picture " << i;
        }
}

TEST(BuiltInPictures, CheckBoxesHaveTheirInsidesAndTicks)
{
    const Rgb black{0, 0, 0}, white{0xFF, 0xFF, 0xFF}, grey{0xD6, 0xD6, 0xCE};
    const Rgb insides[4] = {grey, white, grey, white};
    for (int i = 0; i < 4; ++i) {
        const auto counts = ColourCounts(packedCheckBoxPictures[i]);
        // The corner of the inside, clear of any tick.
        EXPECT_EQ(PixelOf(packedCheckBoxPictures[i], 3, 3), insides[i]) << "picture " << i + 1;
        EXPECT_EQ(counts.contains(black), i == 1) << "only the white ticked box has black: its tick";
        EXPECT_NE(PixelOf(packedCheckBoxPictures[i], 0, 0), black) << "no black background";
    }
    EXPECT_GT(ColourCounts(packedCheckBoxPictures[0]).at({0x84, 0x84, 0x84}), ColourCounts(packedCheckBoxPictures[2]).at({0x84, 0x84, 0x84}))
        << "the grey box's tick is dark grey";
}

TEST(BuiltInPictures, OptionBoxesStandOnPureBlackWithAVisibleDot)
{
    const Rgb black{0, 0, 0}, nearBlack{1, 1, 1}, white{0xFF, 0xFF, 0xFF}, grey{0xD6, 0xD6, 0xCE};
    const Rgb insides[4] = {grey, white, grey, white};
    for (int i = 0; i < 4; ++i) {
        const PackedPicture& picture = packedOptionBoxPictures[i];
        for (const auto& [x, y] : {std::pair{0, 0}, {19, 0}, {0, 19}, {19, 19}})
            EXPECT_EQ(PixelOf(picture, x, y), black) << "picture " << i + 1 << " corner";
        EXPECT_EQ(PixelOf(picture, 6, 10), insides[i]) << "picture " << i + 1;
        // Black is the transparent colour: nothing inside the ring may use it.
        for (int y = 4; y < 16; ++y)
            for (int x = 4; x < 16; ++x) EXPECT_NE(PixelOf(picture, x, y), black) << x << "," << y;
    }
    EXPECT_EQ(PixelOf(packedOptionBoxPictures[1], 10, 10), nearBlack);
    EXPECT_EQ(PixelOf(packedOptionBoxPictures[0], 10, 10), (Rgb{0x84, 0x84, 0x84}));
    EXPECT_EQ(PixelOf(packedOptionBoxPictures[2], 10, 10), grey);
    EXPECT_EQ(PixelOf(packedOptionBoxPictures[3], 10, 10), white);
}

namespace {

std::uint32_t Little(const std::vector<unsigned char>& bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

struct Wave {
    bool valid = false;
    std::string problem;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::uint32_t dataBytes = 0;
    int peak = 0;

    double Seconds() const { return static_cast<double>(dataBytes) / (sampleRate * channels * bitsPerSample / 8); }
};

// Walks the RIFF chunks as a player would: the format chunk must come before the data.
Wave ParseWave(const std::vector<unsigned char>& bytes)
{
    Wave wave;
    const auto tag = [&](std::size_t at) { return std::string(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at) + 4); };
    if (bytes.size() < 12 || tag(0) != "RIFF" || tag(8) != "WAVE") return wave.problem = "no RIFF WAVE header", wave;
    if (Little(bytes, 4, 4) != bytes.size() - 8) return wave.problem = "RIFF size is not the file size", wave;
    bool haveFormat = false;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id = tag(at);
        const std::uint32_t size = Little(bytes, at + 4, 4);
        if (size > bytes.size() - at - 8) return wave.problem = "chunk " + id + " runs past the end", wave;
        if (id == "fmt ") {
            if (size < 16 || Little(bytes, at + 8, 2) != 1) return wave.problem = "not PCM", wave;
            wave.channels = static_cast<int>(Little(bytes, at + 10, 2));
            wave.sampleRate = static_cast<int>(Little(bytes, at + 12, 4));
            const std::uint32_t byteRate = Little(bytes, at + 16, 4);
            const std::uint32_t blockAlign = Little(bytes, at + 20, 2);
            wave.bitsPerSample = static_cast<int>(Little(bytes, at + 22, 2));
            if (wave.channels < 1 || wave.channels > 2 || (wave.bitsPerSample != 8 && wave.bitsPerSample != 16) ||
                wave.sampleRate < 8000 || wave.sampleRate > 48000)
                return wave.problem = "unusual format", wave;
            if (blockAlign != static_cast<std::uint32_t>(wave.channels * wave.bitsPerSample / 8) ||
                byteRate != blockAlign * static_cast<std::uint32_t>(wave.sampleRate))
                return wave.problem = "inconsistent format fields", wave;
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) return wave.problem = "data before format", wave;
            wave.dataBytes = size;
            if (wave.bitsPerSample == 16)
                for (std::size_t i = 0; i + 1 < size; i += 2)
                    wave.peak = std::max(wave.peak, std::abs(static_cast<int>(static_cast<std::int16_t>(Little(bytes, at + 8 + i, 2)))));
            wave.valid = size > 0 && size % static_cast<std::uint32_t>(wave.channels * wave.bitsPerSample / 8) == 0;
            if (!wave.valid) wave.problem = "empty or partial data";
            return wave;
        }
        at += 8 + size + (size & 1);
    }
    wave.problem = "no data chunk";
    return wave;
}

}  // namespace

TEST(Sounds, BeepIsAShortSoftPcmWave)
{
    const std::vector<unsigned char> bytes = ReadBytes(dataFolder + "/beep.wav");
    const Wave wave = ParseWave(bytes);
    ASSERT_TRUE(wave.valid) << wave.problem;
    EXPECT_LT(wave.Seconds(), 1.0);
    EXPECT_GT(wave.Seconds(), 0.03);
    EXPECT_LT(bytes.size(), 16000u);
    EXPECT_GT(wave.peak, 3000) << "audible";
    EXPECT_LT(wave.peak, 16384) << "soft: under half of full scale";
}

TEST(Sounds, ScoreChimeIsAShortPcmWave)
{
    const std::vector<unsigned char> bytes = ReadBytes(dataFolder + "/punteggio.wav");
    const Wave wave = ParseWave(bytes);
    ASSERT_TRUE(wave.valid) << wave.problem;
    EXPECT_LT(wave.Seconds(), 1.0);
    EXPECT_GT(wave.Seconds(), 0.1);
    EXPECT_LT(bytes.size(), 16000u);
    EXPECT_GT(wave.peak, 6000);
    EXPECT_LT(wave.peak, 32767) << "no clipping";
}

TEST(Sounds, ParserRejectsBrokenFiles)
{
    std::vector<unsigned char> bytes = ReadBytes(dataFolder + "/beep.wav");
    ASSERT_TRUE(ParseWave(bytes).valid);
    std::vector<unsigned char> cut(bytes.begin(), bytes.end() - 10);
    EXPECT_FALSE(ParseWave(cut).valid);
    std::vector<unsigned char> notPcm = bytes;
    notPcm[20] = 3;
    EXPECT_FALSE(ParseWave(notPcm).valid);
}
