// The desktop icons: made from the title picture's emblem, square, transparent around it, and
// the same bytes on every run, so the installed icons are exactly what the generator makes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "graphics/PackedPicture.h"
#include "graphics/PictureData.h"
#include "tests/support/TempFolder.h"
#include "tests/tools/PngRead.h"

namespace {

std::vector<int> IconSizes()
{
    std::istringstream words(KORVANTA_ICON_SIZES);
    std::vector<int> sizes;
    for (int size = 0; words >> size;) sizes.push_back(size);
    return sizes;
}

std::string IconPath(const std::string& folder, int size)
{
    return folder + "/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/korvanta.png";
}

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int MakeIcons(const std::string& arguments)
{
    return std::system((std::string(KORVANTA_MAKE_ICONS) + " " + arguments + " >/dev/null 2>&1").c_str());
}

}  // namespace

TEST(Icons, TheGeneratorWritesTheBuildsIconsByteForByte)
{
    TempFolder folder;
    std::string sizes;
    for (int size : IconSizes()) sizes += " " + std::to_string(size);
    ASSERT_EQ(MakeIcons(folder.Path() + "/first" + sizes), 0);
    ASSERT_EQ(MakeIcons(folder.Path() + "/second" + sizes), 0);
    ASSERT_FALSE(IconSizes().empty());
    for (int size : IconSizes()) {
        const std::string made = Bytes(IconPath(folder.Path() + "/first", size));
        ASSERT_FALSE(made.empty()) << size;
        EXPECT_EQ(made, Bytes(IconPath(folder.Path() + "/second", size))) << size;
        EXPECT_EQ(made, Bytes(IconPath(KORVANTA_ICON_FOLDER, size))) << size;
    }
}

TEST(Icons, EachIsASquareWithTheEmblemOnATransparentGround)
{
    for (int size : IconSizes()) {
        const auto icon = DecodePngFile(IconPath(KORVANTA_ICON_FOLDER, size));
        ASSERT_TRUE(icon.has_value()) << size;
        EXPECT_EQ(icon->width, size);
        EXPECT_EQ(icon->height, size);
        ASSERT_TRUE(icon->hasAlpha) << size;
        for (auto [x, y] : {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}, {size - 1, size - 1}})
            EXPECT_EQ(icon->At(x, y)[3], 0) << size << ": corner " << x << "," << y;
        int opaque = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) opaque += icon->At(x, y)[3] == 255;
        // The emblem fills most of the square but is not a solid block.
        EXPECT_GT(opaque, size * size / 3) << size;
        EXPECT_LT(opaque, size * size * 9 / 10) << size;
    }
}

TEST(Icons, TheLargeIconIsPaintedInTheTitlePicturesColours)
{
    const auto title = UnpackPicture(packedTitlePicture);
    ASSERT_TRUE(title);
    std::set<unsigned> palette;
    for (int i = 0; i < packedTitlePicture.width * packedTitlePicture.height; ++i)
        palette.insert(static_cast<unsigned>(title[i * 3] << 16 | title[i * 3 + 1] << 8 | title[i * 3 + 2]));
    const unsigned background = static_cast<unsigned>(title[0] << 16 | title[1] << 8 | title[2]);

    const auto icon = DecodePngFile(IconPath(KORVANTA_ICON_FOLDER, 256));
    ASSERT_TRUE(icon.has_value());
    int opaque = 0, fromPalette = 0;
    std::set<unsigned> used;
    for (int y = 0; y < icon->height; ++y)
        for (int x = 0; x < icon->width; ++x) {
            if (icon->At(x, y)[3] != 255) continue;
            ++opaque;
            if (palette.count(icon->Colour(x, y))) {
                ++fromPalette;
                used.insert(icon->Colour(x, y));
            }
        }
    // Enlarging keeps the inside of every source pixel; only the seams between them are blends.
    EXPECT_GT(fromPalette, opaque * 8 / 10);
    EXPECT_GE(used.size(), 6u) << "balls, highlights, outline and basket";
    EXPECT_EQ(used.count(background), 0u) << "the red ground is cut away";
}

TEST(Icons, TheGeneratorRefusesMissingOrBadSizes)
{
    TempFolder folder;
    EXPECT_NE(MakeIcons(folder.Path()), 0);
    EXPECT_NE(MakeIcons(folder.Path() + " 0"), 0);
    EXPECT_NE(MakeIcons(folder.Path() + " 32x32"), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() + "/hicolor"));
}
