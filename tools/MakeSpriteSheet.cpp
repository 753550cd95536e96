// Draws the game's sprite sheet: 14 sprites of 27 x 27 pixels side by side, written as raw RGB
// (378 x 27 pixels, top row first, no header) to the path given on the command line.
// Every sprite is a function of the continuous position inside its cell, sampled 4 x 4 times per
// pixel so that edges come out smooth.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <vector>

namespace {

constexpr int spriteSize = 27;
constexpr int spriteCount = 14;
constexpr int sheetWidth = spriteSize * spriteCount;
constexpr int samplesPerSide = 4;

struct Colour {
    double r = 0, g = 0, b = 0;
};

Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Colour operator*(Colour a, double k) { return {a.r * k, a.g * k, a.b * k}; }
Colour Mix(Colour a, Colour b, double t) { return a * (1 - t) + b * t; }
Colour Rgb(int value)
{
    return {((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0, (value & 0xFF) / 255.0};
}

double Clamp01(double value) { return std::clamp(value, 0.0, 1.0); }

double SmoothStep(double edge0, double edge1, double x)
{
    const double t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

// A fixed pseudo-random value in [0, 1) for an integer position: the stone grain must be the same
// on every run.
double Hash(int x, int y, int salt)
{
    unsigned value = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u +
                     static_cast<unsigned>(salt) * 2246822519u;
    value = (value ^ (value >> 13)) * 1274126177u;
    value ^= value >> 16;
    return (value & 0xFFFFu) / 65536.0;
}

using Shader = std::function<Colour(double x, double y)>;

const Colour wellColour = Rgb(0x141B2E);
const Colour wellLineColour = Rgb(0x1B2540);

// The empty interior: a dark board with a faint seam along the top and left edge of every cell,
// so that the well reads as a grid without competing with the balls.
Colour Well(double x, double y)
{
    if (x < 1 || y < 1) return wellLineColour;
    return wellColour;
}

// A lit sphere seen from the front, light from the upper left.
Colour Sphere(Colour base, double dx, double dy, double radius, double shininess, double gloss)
{
    const double nx = dx / radius, ny = dy / radius;
    const double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
    const double lx = -0.48, ly = -0.58, lz = 0.66;
    const double diffuse = std::max(0.0, nx * lx + ny * ly + nz * lz);
    const double hx = lx, hy = ly, hz = lz + 1;
    const double hLength = std::sqrt(hx * hx + hy * hy + hz * hz);
    const double glint = std::pow(std::max(0.0, (nx * hx + ny * hy + nz * hz) / hLength), shininess);
    // Light bounced up from the board keeps the lower edge from going flat black.
    const double bounce = std::max(0.0, ny) * (1 - nz) * 0.25;
    Colour colour = base * (0.22 + 0.9 * diffuse + bounce);
    return Mix(colour, Rgb(0xFFFFFF), Clamp01(glint * gloss));
}

Colour ShadowOver(Colour under, double x, double y, double cx, double cy, double radius)
{
    const double distance = std::hypot(x - cx, y - cy);
    const double shade = 1 - SmoothStep(radius - 3, radius + 1.5, distance);
    return under * (1 - 0.55 * shade);
}

Shader Ball(int baseColour)
{
    return [base = Rgb(baseColour)](double x, double y) {
        const double cx = 13.5, cy = 13.5, radius = 11.2;
        const double dx = x - cx, dy = y - cy;
        const double distance = std::hypot(dx, dy);
        const Colour board = ShadowOver(Well(x, y), x, y, cx + 1.8, cy + 2.2, radius);
        if (distance > radius) return board;
        return Sphere(base, dx, dy, radius, 40, 0.85);
    };
}

Colour Peg(double x, double y)
{
    const double cx = 13.5, cy = 13.5;
    const double distance = std::hypot(x - cx, y - cy);
    // A steel stud in a dark socket.
    Colour board = Well(x, y);
    if (distance < 8.4) board = Mix(board, Rgb(0x05070D), 1 - SmoothStep(6.6, 8.4, distance));
    const double radius = 6.2;
    if (distance > radius) return board;
    return Sphere(Rgb(0xC8D0DC), x - cx, y - cy, radius, 24, 0.9);
}

// A wicker basket seen slightly from above: an oval opening with a rolled rim over a flared body
// of woven strands, each strand a small lit bump that alternates from row to row.
Colour Catcher(double x, double y)
{
    const Colour board = Well(x, y);
    const Colour light = Rgb(0xEDB673), dark = Rgb(0x6A3812), inside = Rgb(0x3A1E0A);
    const double cx = 13.5, openingY = 8.5, radiusX = 12.6, radiusY = 3.4, rim = 1.7;
    const double top = openingY, bottom = 25.0;

    const double ex = (x - cx) / radiusX, ey = (y - openingY) / radiusY;
    const double ellipse = std::sqrt(ex * ex + ey * ey);
    // How far inside the ellipse's edge, in pixels (roughly).
    const double rimDepth = (1 - ellipse) * radiusY;
    if (ellipse <= 1 && rimDepth < rim) {
        const double roll = std::sin(Clamp01(rimDepth / rim) * std::numbers::pi);
        const double lit = y < openingY ? 0.15 : 0.0;
        return Mix(dark, light, Clamp01(0.35 + 0.6 * roll + lit));
    }
    if (ellipse <= 1) {
        // The inside: darker towards the far wall, with the near wall's shade.
        return Mix(inside, dark, Clamp01(0.3 + 0.5 * (y - openingY + radiusY) / (2 * radiusY)));
    }
    if (y < top || y > bottom + 1.5) return board;
    const double t = (y - top) / (bottom - top);
    const double halfWidth = radiusX - 3.3 * Clamp01(t);
    const double dx = x - cx;
    if (std::abs(dx) > halfWidth) return board;
    if (y > bottom) return Mix(dark * 0.8, board, SmoothStep(bottom, bottom + 1.5, y));

    const double rowHeight = 3.4;
    const double rowPosition = (y - top - radiusY + 0.6) / rowHeight;
    const int row = static_cast<int>(std::floor(rowPosition));
    const double inRow = rowPosition - row;
    const double strandWidth = 4.2;
    // Strands follow the flare so they narrow towards the foot like the basket does.
    const double u = dx * (radiusX / halfWidth) / strandWidth + ((row % 2 + 2) % 2) * 0.5;
    const double inStrand = u - std::floor(u);
    const double bump = std::sin(Clamp01(inRow) * std::numbers::pi) * std::sin(inStrand * std::numbers::pi);
    double brightness = 0.2 + 0.85 * std::sqrt(std::max(0.0, bump));
    const double side = std::abs(dx) / halfWidth;
    brightness *= 1 - 0.5 * side * side * side;
    brightness *= 1 - 0.25 * t;
    // A plain band at the foot.
    if (y > bottom - 2.2) brightness = 0.45 * (1 - 0.4 * side);
    return Mix(dark, light, Clamp01(brightness));
}

// Masonry of three courses per cell, with the joints of each course at a different place so that
// the bricks stagger both within a cell and from one cell to the next.
Colour Masonry(double x, double y)
{
    const double courseHeight = spriteSize / 3.0;
    const int course = std::min(2, static_cast<int>(y / courseHeight));
    const double inCourse = y - course * courseHeight;
    const std::array<double, 3> joints = {4.0, 17.0, 10.5};
    double along = x - joints[course];
    if (along < 0) along += spriteSize;
    const Colour mortar = Rgb(0x2A2830);
    if (inCourse < 1.0 || along < 1.0) return mortar;
    const double shadeOfCourse = 0.92 + 0.16 * Hash(course, 0, 7);
    Colour stone = Rgb(0x8A8C9C) * shadeOfCourse;
    const double grain = Hash(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)), 3) - 0.5;
    stone = stone * (1 + 0.08 * grain);
    // Bevel: each stone lit on its upper and left faces.
    if (inCourse < 2.0 || along < 2.0) stone = Mix(stone, Rgb(0xD6D8E4), 0.45);
    else if (inCourse > courseHeight - 1.6 || along > spriteSize - 1.0) stone = stone * 0.62;
    return stone;
}

// The moulding that lines the well: a bright rounded strip along the edge that faces the inside.
Colour Moulding(Colour under, double across, double width)
{
    if (across < 0 || across > width) return under;
    const double t = across / width;
    const Colour base = Rgb(0xB8BCCB);
    Colour colour = base * (0.55 + 0.55 * std::sin(t * std::numbers::pi));
    colour = Mix(colour, Rgb(0xFFFFFF), Clamp01(0.5 - std::abs(t - 0.35) * 2.2));
    return colour;
}

constexpr double mouldingWidth = 4.0;

Colour LeftWall(double x, double y)
{
    const Colour stone = Masonry(x, y);
    return Moulding(stone, x - (spriteSize - mouldingWidth), mouldingWidth);
}

Colour RightWall(double x, double y) { return LeftWall(spriteSize - x, y); }

Colour Floor(double x, double y) { return Moulding(Masonry(x, y), y, mouldingWidth); }

// Where the wall's moulding meets the floor's: the floor's strip runs on under the wall's end.
Colour BottomLeftCorner(double x, double y)
{
    const Colour stone = Masonry(x, y);
    if (x > spriteSize - mouldingWidth && y < mouldingWidth)
        return Moulding(stone, std::min(x - (spriteSize - mouldingWidth), y), mouldingWidth);
    return stone;
}

Colour BottomRightCorner(double x, double y) { return BottomLeftCorner(spriteSize - x, y); }

// A glossy bevelled tile for the title's block letters.
Shader Block(int baseColour)
{
    return [base = Rgb(baseColour)](double x, double y) {
        const double inset = 1.0, bevel = 3.0;
        if (x < inset || y < inset || x > spriteSize - inset || y > spriteSize - inset) return Well(x, y);
        const double left = x - inset, top = y - inset;
        const double right = spriteSize - inset - x, bottom = spriteSize - inset - y;
        const double nearest = std::min({left, top, right, bottom});
        if (nearest < bevel) {
            if (nearest == top || nearest == left) return Mix(base, Rgb(0xFFFFFF), nearest == top ? 0.6 : 0.4);
            return base * (nearest == bottom ? 0.45 : 0.6);
        }
        // A soft sheen across the face, brightest in the upper part.
        const double face = (y - inset - bevel) / (spriteSize - 2 * (inset + bevel));
        Colour colour = base * (1.05 - 0.25 * face);
        colour = Mix(colour, Rgb(0xFFFFFF), 0.25 * (1 - SmoothStep(0.0, 0.45, face)));
        return colour;
    };
}

unsigned char ToByte(double value) { return static_cast<unsigned char>(std::lround(Clamp01(value) * 255)); }

void Render(std::vector<unsigned char>& sheet, int index, const Shader& shader)
{
    for (int y = 0; y < spriteSize; ++y) {
        for (int x = 0; x < spriteSize; ++x) {
            Colour sum;
            for (int sy = 0; sy < samplesPerSide; ++sy)
                for (int sx = 0; sx < samplesPerSide; ++sx)
                    sum = sum + shader(x + (sx + 0.5) / samplesPerSide, y + (sy + 0.5) / samplesPerSide);
            const Colour colour = sum * (1.0 / (samplesPerSide * samplesPerSide));
            unsigned char* pixel = sheet.data() + (static_cast<std::size_t>(y) * sheetWidth + index * spriteSize + x) * 3;
            pixel[0] = ToByte(colour.r);
            pixel[1] = ToByte(colour.g);
            pixel[2] = ToByte(colour.b);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <sprite sheet path>\n", argv[0]);
        return 2;
    }
    std::vector<unsigned char> sheet(static_cast<std::size_t>(sheetWidth) * spriteSize * 3);
    const std::array<Shader, spriteCount> sprites = {
        Well,
        Ball(0xFFC21A),  // gold
        Ball(0x2FD04F),  // green
        Ball(0x2F6BFF),  // blue
        Ball(0xE040D0),  // magenta, the title screen's fourth ball
        Peg,
        Catcher,
        LeftWall,
        Floor,
        RightWall,
        BottomLeftCorner,
        BottomRightCorner,
        Block(0x22DDFF),  // the lit face of a title letter
        Block(0x0A86C0),  // its shaded side
    };
    for (int index = 0; index < spriteCount; ++index) Render(sheet, index, sprites[static_cast<std::size_t>(index)]);

    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(sheet.data(), 1, sheet.size(), file) == sheet.size();
    if (std::fclose(file) != 0 || !written) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
