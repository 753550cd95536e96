// Makes the desktop icons from the game's own artwork: the emblem at the left of the title
// picture (three balls over a basket), cut out of its red background and resampled to each size
// of the hicolor theme.
//
//   make_icons <folder> <size>...   writes <folder>/hicolor/<size>x<size>/apps/korvanta.png
//
// The resampling works in whole numbers, so every run writes the same bytes.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "graphics/PackedPicture.h"
#include "graphics/PictureData.h"
#include "tools/PngFile.h"

namespace {

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

class Picture {
public:
    explicit Picture(const PackedPicture& packed)
        : width(packed.width), height(packed.height), rgb(UnpackPicture(packed)) {}

    bool Valid() const { return rgb != nullptr; }
    int Width() const { return width; }
    int Height() const { return height; }
    std::uint32_t Colour(int x, int y) const
    {
        const unsigned char* p = rgb.get() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
        return static_cast<std::uint32_t>(p[0] << 16 | p[1] << 8 | p[2]);
    }

private:
    int width;
    int height;
    std::unique_ptr<unsigned char[]> rgb;
};

bool ColumnIsBackground(const Picture& picture, int x, std::uint32_t background)
{
    for (int y = 0; y < picture.Height(); ++y)
        if (picture.Colour(x, y) != background) return false;
    return true;
}

// The emblem is the first group of columns from the left that are not all background; the
// word-mark starts after a gap.
Box FindEmblem(const Picture& picture, std::uint32_t background)
{
    Box box;
    int x = 0;
    while (x < picture.Width() && ColumnIsBackground(picture, x, background)) ++x;
    box.left = x;
    while (x < picture.Width() && !ColumnIsBackground(picture, x, background)) ++x;
    box.right = x;
    box.top = picture.Height();
    for (int y = 0; y < picture.Height(); ++y)
        for (int column = box.left; column < box.right; ++column)
            if (picture.Colour(column, y) != background) {
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box;
}

// A square RGBA tile with the emblem centred in it and the background made transparent, with a
// pixel of room on every side so that the resampled edges do not touch the icon's border.
PngImage EmblemTile(const Picture& picture, const Box& box, std::uint32_t background)
{
    const int width = box.right - box.left, height = box.bottom - box.top;
    const int side = std::max(width, height) + 2;
    PngImage tile{side, side, true, std::vector<unsigned char>(static_cast<std::size_t>(side * side) * 4, 0)};
    const int offsetX = (side - width) / 2, offsetY = (side - height) / 2;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t colour = picture.Colour(box.left + x, box.top + y);
            if (colour == background) continue;
            unsigned char* p = &tile.pixels[(static_cast<std::size_t>(y + offsetY) * static_cast<std::size_t>(side) + static_cast<std::size_t>(x + offsetX)) * 4];
            p[0] = static_cast<unsigned char>(colour >> 16);
            p[1] = static_cast<unsigned char>(colour >> 8);
            p[2] = static_cast<unsigned char>(colour);
            p[3] = 255;
        }
    return tile;
}

// Area averaging: every output pixel takes the source pixels it covers, each weighted by the
// area of the overlap. Distances are counted in units of 1 / (size * side) of the tile, so the
// overlaps are whole numbers. Colours are weighted by their opacity, so the transparent
// surroundings do not darken the edges.
PngImage Resample(const PngImage& tile, int size)
{
    const int side = tile.width;
    PngImage icon{size, size, true, std::vector<unsigned char>(static_cast<std::size_t>(size * size) * 4, 0)};
    auto overlap = [](std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1) {
        return std::max<std::int64_t>(0, std::min(a1, b1) - std::max(a0, b0));
    };
    for (int oy = 0; oy < size; ++oy)
        for (int ox = 0; ox < size; ++ox) {
            // Output pixel o covers [o * side, (o + 1) * side); source pixel s covers [s * size, (s + 1) * size).
            std::int64_t sums[4] = {0, 0, 0, 0};
            const int firstX = ox * side / size, lastX = std::min(side - 1, ((ox + 1) * side - 1) / size);
            const int firstY = oy * side / size, lastY = std::min(side - 1, ((oy + 1) * side - 1) / size);
            for (int sy = firstY; sy <= lastY; ++sy) {
                const std::int64_t wy = overlap(std::int64_t{oy} * side, std::int64_t{oy + 1} * side, std::int64_t{sy} * size,
                                                std::int64_t{sy + 1} * size);
                for (int sx = firstX; sx <= lastX; ++sx) {
                    const std::int64_t wx = overlap(std::int64_t{ox} * side, std::int64_t{ox + 1} * side, std::int64_t{sx} * size,
                                                    std::int64_t{sx + 1} * size);
                    const unsigned char* p = &tile.pixels[(static_cast<std::size_t>(sy) * static_cast<std::size_t>(side) + static_cast<std::size_t>(sx)) * 4];
                    const std::int64_t weight = wx * wy * p[3];
                    for (int channel = 0; channel < 3; ++channel) sums[channel] += weight * p[channel];
                    sums[3] += weight;
                }
            }
            unsigned char* out = &icon.pixels[(static_cast<std::size_t>(oy) * static_cast<std::size_t>(size) + static_cast<std::size_t>(ox)) * 4];
            if (sums[3] == 0) continue;
            const std::int64_t area = std::int64_t{side} * side;
            for (int channel = 0; channel < 3; ++channel)
                out[channel] = static_cast<unsigned char>((sums[channel] + sums[3] / 2) / sums[3]);
            out[3] = static_cast<unsigned char>((sums[3] + area / 2) / area);
        }
    return icon;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i) {
        char* end = nullptr;
        const long size = std::strtol(argv[i], &end, 10);
        if (*end != '\0' || size < 1 || size > 1024) {
            sizes.clear();
            break;
        }
        sizes.push_back(static_cast<int>(size));
    }
    if (argc < 3 || sizes.empty()) {
        std::fprintf(stderr, "usage: %s <folder> <size>...  (sizes 1 to 1024)\n", argv[0]);
        return 2;
    }
    const Picture title(packedTitlePicture);
    if (!title.Valid()) {
        std::fprintf(stderr, "the title picture does not unpack\n");
        return 1;
    }
    const std::uint32_t background = title.Colour(0, 0);
    const Box emblem = FindEmblem(title, background);
    if (emblem.right <= emblem.left || emblem.bottom <= emblem.top) {
        std::fprintf(stderr, "no emblem found in the title picture\n");
        return 1;
    }
    const PngImage tile = EmblemTile(title, emblem, background);
    for (int size : sizes) {
        const std::string folder = std::string(argv[1]) + "/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error || !WritePng(folder + "/korvanta.png", Resample(tile, size))) {
            std::fprintf(stderr, "cannot write %s/korvanta.png\n", folder.c_str());
            return 1;
        }
    }
    return 0;
}
