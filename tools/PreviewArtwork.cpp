// Renders the sprite sheet and the built-in pictures into one PPM image for a person to look at:
// the main window's title screen as the game lays it out, a well in play, the sprites and the
// pictures enlarged, and the option boxes with black shown as transparent.
//
//   preview_artwork <sprite sheet> <output.ppm>

#include <cstdio>
#include <string>
#include <vector>

#include "graphics/PackedPicture.h"
#include "graphics/PictureData.h"

namespace {

constexpr int sheetWidth = 378;
constexpr int spriteSize = 27;
constexpr int formColour = 0xC00000;

class Canvas {
public:
    Canvas(int width, int height, int colour) : width(width), height(height), pixels(static_cast<std::size_t>(width * height), colour) {}

    void Set(int x, int y, int colour)
    {
        if (x >= 0 && y >= 0 && x < width && y < height) pixels[static_cast<std::size_t>(y * width + x)] = colour;
    }

    void Fill(int left, int top, int w, int h, int colour)
    {
        for (int y = top; y < top + h; ++y)
            for (int x = left; x < left + w; ++x) Set(x, y, colour);
    }

    // Copies a region of an RGB buffer, each pixel as a scale x scale square; black is skipped
    // when transparentBlack is set, as the drawing context's transparent images do.
    void Blit(const unsigned char* rgb, int rgbWidth, int sourceX, int sourceY, int w, int h, int left, int top,
              int scale = 1, bool transparentBlack = false)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const unsigned char* p = rgb + (static_cast<std::size_t>(sourceY + y) * rgbWidth + sourceX + x) * 3;
                const int colour = p[0] << 16 | p[1] << 8 | p[2];
                if (transparentBlack && colour == 0) continue;
                Fill(left + x * scale, top + y * scale, scale, scale, colour);
            }
    }

    bool WritePpm(const std::string& path) const
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file) return false;
        std::fprintf(file, "P6\n%d %d\n255\n", width, height);
        for (int colour : pixels) {
            const unsigned char rgb[3] = {static_cast<unsigned char>(colour >> 16), static_cast<unsigned char>(colour >> 8),
                                          static_cast<unsigned char>(colour)};
            std::fwrite(rgb, 1, 3, file);
        }
        return std::fclose(file) == 0;
    }

private:
    int width;
    int height;
    std::vector<int> pixels;
};

// The well as the game fills it: walls, floor and corners around an interior of sprite 0.
std::vector<int> EmptyWell()
{
    std::vector<int> cells(12 * 15, 0);
    for (int r = 0; r < 14; ++r) {
        cells[static_cast<std::size_t>(r * 12)] = 7;
        cells[static_cast<std::size_t>(r * 12 + 11)] = 9;
    }
    for (int c = 1; c < 11; ++c) cells[static_cast<std::size_t>(14 * 12 + c)] = 8;
    cells[14 * 12] = 10;
    cells[14 * 12 + 11] = 11;
    return cells;
}

void DrawWell(Canvas& canvas, const std::vector<unsigned char>& sheet, const std::vector<int>& cells, int left, int top)
{
    for (int r = 0; r < 15; ++r)
        for (int c = 0; c < 12; ++c)
            canvas.Blit(sheet.data(), sheetWidth, cells[static_cast<std::size_t>(r * 12 + c)] * spriteSize, 0, spriteSize,
                        spriteSize, left + c * spriteSize, top + r * spriteSize);
}

std::vector<int> TitleScreenWell()
{
    std::vector<int> cells = EmptyWell();
    // K, O and R in a 3 x 5 block font; the letters' right column uses the shaded block.
    const char* const letters[3][5] = {
        {"X.X", "XX.", "X..", "XX.", "X.X"},
        {"XXX", "X.X", "X.X", "X.X", "XXX"},
        {"XX.", "X.X", "XX.", "X.X", "X.X"},
    };
    for (int letter = 0; letter < 3; ++letter)
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 3; ++column)
                if (letters[letter][row][column] == 'X')
                    cells[static_cast<std::size_t>((2 + row) * 12 + 2 + letter * 3 + column)] = column == 2 ? 13 : 12;
    cells[8 * 12 + 8] = 2;
    cells[9 * 12 + 7] = 1;
    cells[9 * 12 + 9] = 3;
    cells[10 * 12 + 8] = 4;
    return cells;
}

std::vector<int> GameWell()
{
    std::vector<int> cells = EmptyWell();
    for (int r = 2; r <= 11; ++r)
        for (int c = 1; c <= 10; ++c)
            if ((c + r) % 4 == 3) cells[static_cast<std::size_t>(r * 12 + c)] = 5;
    cells[0 * 12 + 4] = 1;
    cells[4 * 12 + 6] = 2;
    cells[8 * 12 + 5] = 3;
    cells[12 * 12 + 5] = 1;
    cells[13 * 12 + 6] = 6;
    return cells;
}

void DrawPicture(Canvas& canvas, const PackedPicture& picture, int left, int top, int scale, bool transparentBlack = false)
{
    const auto rgb = UnpackPicture(picture);
    if (rgb) canvas.Blit(rgb.get(), picture.width, 0, 0, picture.width, picture.height, left, top, scale, transparentBlack);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <sprite sheet> <output.ppm>\n", argv[0]);
        return 2;
    }
    std::vector<unsigned char> sheet(static_cast<std::size_t>(sheetWidth) * spriteSize * 3);
    std::FILE* file = std::fopen(argv[1], "rb");
    if (!file || std::fread(sheet.data(), 1, sheet.size(), file) != sheet.size()) {
        std::fprintf(stderr, "cannot read the sprite sheet %s\n", argv[1]);
        if (file) std::fclose(file);
        return 1;
    }
    std::fclose(file);

    Canvas canvas(1400, 1080, 0x303030);
    // The main window with its title screen.
    canvas.Fill(0, 0, 800, 600, formColour);
    DrawPicture(canvas, packedTitlePicture, 28, 45, 1);
    DrawWell(canvas, sheet, TitleScreenWell(), 175, 117);
    canvas.Fill(572, 117, 100, 28, 0xFF0000);
    canvas.Fill(572, 147, 100, 28, 0xFFFDE5);
    canvas.Fill(572, 177, 100, 28, 0xFFFDE5);

    // A well in play.
    canvas.Fill(800, 0, 600, 600, formColour);
    DrawWell(canvas, sheet, GameWell(), 860, 117);
    DrawPicture(canvas, packedAboutPicture, 1210, 45, 1);

    // The sprites enlarged.
    canvas.Blit(sheet.data(), sheetWidth, 0, 0, sheetWidth, spriteSize, 10, 620, 3);

    // The two large pictures enlarged.
    DrawPicture(canvas, packedTitlePicture, 10, 720, 3);
    DrawPicture(canvas, packedAboutPicture, 630, 720, 3);

    // The small pictures, enlarged and at their own size, the option boxes over two backgrounds.
    for (int i = 0; i < 4; ++i) {
        DrawPicture(canvas, packedCheckBoxPictures[i], 10 + i * 70, 890, 3);
        canvas.Fill(300 + i * 70, 890, 60, 60, formColour);
        DrawPicture(canvas, packedOptionBoxPictures[i], 300 + i * 70, 890, 3, true);
        canvas.Fill(590 + i * 70, 890, 60, 60, 0xD6D6CE);
        DrawPicture(canvas, packedOptionBoxPictures[i], 590 + i * 70, 890, 3, true);
        DrawPicture(canvas, packedCheckBoxPictures[i], 10 + i * 30, 1000, 1);
        canvas.Fill(300 + i * 30, 1000, 20, 20, formColour);
        DrawPicture(canvas, packedOptionBoxPictures[i], 300 + i * 30, 1000, 1, true);
    }
    return canvas.WritePpm(argv[2]) ? 0 : 1;
}
