// Draws the built-in 16-colour pictures (the title, the About emblem, the check box and option box
// states) and writes them as graphics/PictureData.h and graphics/PictureData.cpp in the packed form
// that UnpackPicture decodes.
//
//   make_pictures <folder>          writes both files into the folder
//   make_pictures --check <folder>  exits with 1 when the files there differ from what it would write
//
// Everything is drawn with whole palette indices and decided per pixel centre, so the output is the
// same byte for byte on every run and every build.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr std::size_t paletteEntries = 16;

struct Point {
    double x = 0, y = 0;
};

class IndexedPicture {
public:
    IndexedPicture(int width, int height, std::vector<int> colours, int background)
        : width(width), height(height), colours(std::move(colours)),
          pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background)
    {
    }

    int Width() const { return width; }
    int Height() const { return height; }

    void Set(int x, int y, int index)
    {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] = index;
    }

    int Get(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }

    // Calls paint(x, y, centre) for every pixel; paint answers the index to set, or -1 to leave it.
    template <typename Painter>
    void Paint(Painter paint)
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int index = paint(x, y, Point{x + 0.5, y + 0.5});
                if (index >= 0) Set(x, y, index);
            }
    }

    // 48 palette bytes, then the rows bottom row first, two pixels a byte, high nibble left.
    std::vector<unsigned char> Packed() const
    {
        std::vector<unsigned char> block;
        for (std::size_t i = 0; i < paletteEntries; ++i) {
            const int colour = i < colours.size() ? colours[i] : colours.front();
            block.push_back(static_cast<unsigned char>(colour >> 16));
            block.push_back(static_cast<unsigned char>(colour >> 8));
            block.push_back(static_cast<unsigned char>(colour));
        }
        for (int y = height - 1; y >= 0; --y)
            for (int x = 0; x < width; x += 2) {
                const int left = Get(x, y);
                const int right = x + 1 < width ? Get(x + 1, y) : 0;
                block.push_back(static_cast<unsigned char>(left << 4 | right));
            }
        return block;
    }

private:
    int width;
    int height;
    std::vector<int> colours;
    std::vector<int> pixels;
};

double DistanceToSegment(Point p, Point a, Point b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double DistanceToPolyline(Point p, const std::vector<Point>& line)
{
    double nearest = 1e9;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) nearest = std::min(nearest, DistanceToSegment(p, line[i], line[i + 1]));
    if (line.size() == 1) nearest = std::hypot(p.x - line[0].x, p.y - line[0].y);
    return nearest;
}

// An arc of an ellipse as a polyline; angles in degrees, 0 pointing right, 90 down.
std::vector<Point> Arc(Point centre, double radiusX, double radiusY, double from, double to)
{
    std::vector<Point> line;
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
        const double angle = (from + (to - from) * i / steps) * std::numbers::pi / 180;
        line.push_back({centre.x + radiusX * std::cos(angle), centre.y + radiusY * std::sin(angle)});
    }
    return line;
}

std::vector<Point> Joined(std::vector<Point> first, const std::vector<Point>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// Letter skeletons in a unit box (0,0 top left, 1,1 bottom right), each a list of polylines.
using Glyph = std::vector<std::vector<Point>>;

Glyph GlyphFor(char letter)
{
    switch (letter) {
    case 'K':
        return {{{0, 0}, {0, 1}}, {{1, 0}, {0, 0.58}}, {{0.3, 0.4}, {1, 1}}};
    case 'O':
        return {Joined(Joined(Arc({0.5, 0.3}, 0.5, 0.3, 180, 360), Arc({0.5, 0.7}, 0.5, 0.3, 0, 180)),
                       {{0, 0.3}})};
    case 'R':
        return {{{0, 1}, {0, 0}},
                Joined(Joined({{0, 0}, {0.55, 0}}, Arc({0.55, 0.26}, 0.45, 0.26, 270, 450)), {{0, 0.52}}),
                {{0.45, 0.52}, {1, 1}}};
    case 'V':
        return {{{0, 0}, {0.5, 1}, {1, 0}}};
    case 'A':
        return {{{0, 1}, {0.5, 0}, {1, 1}}, {{0.22, 0.64}, {0.78, 0.64}}};
    case 'N':
        return {{{0, 1}, {0, 0}, {1, 1}, {1, 0}}};
    case 'T':
        return {{{0, 0}, {1, 0}}, {{0.5, 0}, {0.5, 1}}};
    default:
        return {};
    }
}

struct LetterStyle {
    double width = 15;
    double height = 26;
    double gap = 3;
    double stroke = 4.2;
    int face = 0;
    int lowerFace = 0;  // the lower part of each letter, for a two-tone arcade look
    int shadow = 0;
    int shadowOffset = 2;
};

// True when the pixel centre p lies on the glyph drawn in the box at (left, top).
bool OnGlyph(const Glyph& glyph, Point p, double left, double top, const LetterStyle& style)
{
    // The skeleton is inset by half a stroke so that the strokes stay inside the letter box.
    const double half = style.stroke / 2;
    const double spanX = style.width - style.stroke, spanY = style.height - style.stroke;
    for (const auto& line : glyph) {
        std::vector<Point> placed;
        for (const Point& q : line) placed.push_back({left + half + q.x * spanX, top + half + q.y * spanY});
        if (DistanceToPolyline(p, placed) <= half) return true;
    }
    return false;
}

void DrawWord(IndexedPicture& picture, const std::string& word, double left, double top, const LetterStyle& style)
{
    std::vector<Glyph> glyphs;
    for (char letter : word) glyphs.push_back(GlyphFor(letter));
    const auto covered = [&](Point p) {
        for (std::size_t i = 0; i < glyphs.size(); ++i)
            if (OnGlyph(glyphs[i], p, left + static_cast<double>(i) * (style.width + style.gap), top, style)) return true;
        return false;
    };
    picture.Paint([&](int, int, Point p) {
        return covered({p.x - style.shadowOffset, p.y - style.shadowOffset}) ? style.shadow : -1;
    });
    picture.Paint([&](int, int, Point p) {
        if (!covered(p)) return -1;
        return p.y - top > style.height * 0.56 ? style.lowerFace : style.face;
    });
}

struct BallStyle {
    int outline = 0;
    int highlight = 0;
};

void DrawBall(IndexedPicture& picture, Point centre, double radius, int colour, const BallStyle& style)
{
    picture.Paint([&](int, int, Point p) {
        const double distance = std::hypot(p.x - centre.x, p.y - centre.y);
        if (distance > radius) return -1;
        if (distance > radius - 1.1) return style.outline;
        const double glint = std::hypot(p.x - (centre.x - radius * 0.38), p.y - (centre.y - radius * 0.38));
        if (glint < radius * 0.26) return style.highlight;
        return colour;
    });
}

struct BasketStyle {
    int body = 0;
    int weave = 0;
    int outline = 0;
};

// A flared wicker basket: rim across the top, then woven bands with staggered stakes.
void DrawBasket(IndexedPicture& picture, double left, double right, double top, double bottom, const BasketStyle& style)
{
    const double centre = (left + right) / 2;
    const double topHalf = (right - left) / 2, bottomHalf = topHalf * 0.72;
    const double rimHeight = 4;
    picture.Paint([&](int, int, Point p) {
        if (p.y < top || p.y > bottom) return -1;
        const double t = (p.y - top) / (bottom - top);
        const double half = topHalf + (bottomHalf - topHalf) * t;
        const double dx = std::abs(p.x - centre);
        if (p.y < top + rimHeight) {
            if (dx > topHalf) return -1;
            const bool edge = p.y < top + 1 || p.y > top + rimHeight - 1 || dx > topHalf - 1;
            return edge ? style.outline : style.body;
        }
        if (dx > half) return -1;
        if (dx > half - 1 || p.y > bottom - 1) return style.outline;
        const int band = static_cast<int>(std::floor((p.y - top - rimHeight) / 4));
        const double inBand = std::fmod(p.y - top - rimHeight, 4.0);
        if (inBand < 1) return style.weave;
        const double stake = std::fmod(p.x - left + (band % 2) * 3.0 + 60.0, 6.0);
        return stake < 1 ? style.weave : style.body;
    });
}

struct EmblemStyle {
    double scale = 1;
    std::array<int, 3> balls{};
    BallStyle ball;
    BasketStyle basket;
};

// Three balls heaped over a basket; the layout is drawn for a 46 x 40 box and scaled.
void DrawEmblem(IndexedPicture& picture, Point origin, const EmblemStyle& style)
{
    const auto at = [&](double x, double y) { return Point{origin.x + x * style.scale, origin.y + y * style.scale}; };
    const double radius = 7.5 * style.scale;
    DrawBasket(picture, at(2, 0).x, at(44, 0).x, at(0, 24).y, at(0, 40).y, style.basket);
    DrawBall(picture, at(13, 18.5), radius, style.balls[0], style.ball);
    DrawBall(picture, at(33, 18.5), radius, style.balls[2], style.ball);
    DrawBall(picture, at(23, 7.5), radius, style.balls[1], style.ball);
}

// Title palette.
enum TitleColour {
    titleBackground, titleCyan, titleDeepCyan, titleShadow, titleWhite,
    titleGold, titleGreen, titleBlue, titleWicker, titleWickerDark,
};

IndexedPicture TitlePicture()
{
    IndexedPicture picture(200, 50,
                           {0xC00000, 0x22E4FF, 0x0A9AC8, 0x500000, 0xFFFFFF, 0xFFC21A, 0x2FD04F, 0x2F6BFF,
                            0xE2A65A, 0x6A3410},
                           titleBackground);
    EmblemStyle emblem;
    emblem.balls = {titleGold, titleGreen, titleBlue};
    emblem.ball = {titleShadow, titleWhite};
    emblem.basket = {titleWicker, titleWickerDark, titleWickerDark};
    DrawEmblem(picture, {3, 5}, emblem);

    LetterStyle letters;
    letters.face = titleCyan;
    letters.lowerFace = titleDeepCyan;
    letters.shadow = titleShadow;
    DrawWord(picture, "KORVANTA", 55, 9, letters);

    // The mark: three small squares in the balls' colours.
    const std::array<int, 3> mark = {titleGold, titleGreen, titleBlue};
    for (int i = 0; i < 3; ++i)
        for (int y = 42; y < 47; ++y)
            for (int x = 0; x < 5; ++x) picture.Set(179 + i * 6 + x, y, mark[static_cast<std::size_t>(i)]);
    return picture;
}

enum AboutColour { aboutBackground, aboutCyan, aboutShadow, aboutWhite, aboutGold, aboutGreen, aboutBlue };

IndexedPicture AboutPicture()
{
    IndexedPicture picture(163, 50, {0xC00000, 0x22E4FF, 0x500000, 0xFFFFFF, 0xFFC21A, 0x2FD04F, 0x2F6BFF},
                           aboutBackground);
    EmblemStyle emblem;
    emblem.scale = 0.85;
    emblem.balls = {aboutGold, aboutGreen, aboutBlue};
    emblem.ball = {aboutShadow, aboutWhite};
    emblem.basket = {aboutGold, aboutShadow, aboutShadow};
    DrawEmblem(picture, {2, 8}, emblem);

    LetterStyle letters;
    letters.width = 12;
    letters.height = 22;
    letters.gap = 2;
    letters.stroke = 3.6;
    letters.face = aboutCyan;
    letters.lowerFace = aboutCyan;
    letters.shadow = aboutShadow;
    DrawWord(picture, "KORVANTA", 46, 13, letters);
    return picture;
}

// The small pictures share one set of greys.
enum SmallColour { black, darkGrey, grey, midGrey, lightGrey, white, nearBlack };
const std::vector<int> smallPalette = {0x000000, 0x424242, 0x848484, 0x9B9B9B, 0xD6D6CE, 0xFFFFFF, 0x010101};

IndexedPicture CheckBoxPicture(bool greyInside, bool ticked)
{
    IndexedPicture picture(20, 20, smallPalette, greyInside ? lightGrey : white);
    // A sunken frame: shade above and to the left, light below and to the right.
    for (int i = 0; i < 20; ++i) {
        picture.Set(i, 0, grey);
        picture.Set(0, i, grey);
        picture.Set(i, 19, white);
        picture.Set(19, i, white);
    }
    for (int i = 1; i < 19; ++i) {
        picture.Set(i, 1, darkGrey);
        picture.Set(1, i, darkGrey);
        picture.Set(i, 18, lightGrey);
        picture.Set(18, i, lightGrey);
    }
    picture.Set(19, 0, white);
    picture.Set(0, 19, white);
    picture.Set(18, 1, lightGrey);
    picture.Set(1, 18, lightGrey);
    if (ticked) {
        const std::vector<Point> tick = {{5.2, 9.8}, {8.4, 13.2}, {14.8, 6.2}};
        const int ink = greyInside ? grey : black;
        picture.Paint([&](int, int, Point p) { return DistanceToPolyline(p, tick) <= 1.45 ? ink : -1; });
    }
    return picture;
}

IndexedPicture OptionBoxPicture(bool greyInside, bool chosen)
{
    IndexedPicture picture(20, 20, smallPalette, black);
    const Point centre = {10, 10};
    picture.Paint([&](int, int, Point p) {
        const double dx = p.x - centre.x, dy = p.y - centre.y;
        const double distance = std::hypot(dx, dy);
        // Positive towards the upper left, where a sunken ring is in shade.
        const double towardsLight = -(dx + dy) / std::numbers::sqrt2;
        if (distance > 9.9) return -1;
        if (distance > 8.8) {
            if (std::abs(towardsLight) < 1.2) return static_cast<int>(midGrey);
            return towardsLight > 0 ? static_cast<int>(grey) : static_cast<int>(white);
        }
        if (distance > 7.6) return towardsLight > 0 ? static_cast<int>(darkGrey) : static_cast<int>(lightGrey);
        if (chosen && distance <= 3.3) return greyInside ? static_cast<int>(grey) : static_cast<int>(nearBlack);
        return greyInside ? static_cast<int>(lightGrey) : static_cast<int>(white);
    });
    return picture;
}

struct NamedPicture {
    std::string name;
    IndexedPicture picture;
};

std::string ByteList(const std::vector<unsigned char>& bytes)
{
    std::string text;
    char hex[8];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % 16 == 0) text += "    ";
        std::snprintf(hex, sizeof hex, "0x%02X,", bytes[i]);
        text += hex;
        text += (i % 16 == 15 || i + 1 == bytes.size()) ? "\n" : " ";
    }
    return text;
}

const char* const generatedNote =
    "// Written by tools/MakePictures.cpp (build target regenerate-pictures); not edited by hand.\n";

std::string HeaderText()
{
    return std::string(generatedNote) +
           "// The built-in pictures in packed 16-colour form: the title, the About emblem, and the\n"
           "// check box and option box states (grey with mark, white with mark, grey empty, white empty).\n"
           "#pragma once\n"
           "\n"
           "#include \"graphics/PackedPicture.h\"\n"
           "\n"
           "extern const PackedPicture packedTitlePicture;\n"
           "extern const PackedPicture packedAboutPicture;\n"
           "extern const PackedPicture packedCheckBoxPictures[4];\n"
           "extern const PackedPicture packedOptionBoxPictures[4];\n";
}

std::string SourceText(const std::vector<NamedPicture>& pictures)
{
    std::string text = std::string(generatedNote) + "#include \"graphics/PictureData.h\"\n\nnamespace {\n";
    for (const NamedPicture& named : pictures)
        text += "\nconst unsigned char " + named.name + "[] = {\n" + ByteList(named.picture.Packed()) + "};\n";
    text += "\n}  // namespace\n\n";
    const auto entry = [&](std::size_t i) {
        const IndexedPicture& picture = pictures[i].picture;
        return "{" + std::to_string(picture.Width()) + ", " + std::to_string(picture.Height()) + ", " +
               pictures[i].name + ", sizeof " + pictures[i].name + "}";
    };
    text += "const PackedPicture packedTitlePicture = " + entry(0) + ";\n";
    text += "const PackedPicture packedAboutPicture = " + entry(1) + ";\n";
    text += "const PackedPicture packedCheckBoxPictures[4] = {\n";
    for (std::size_t i = 2; i < 6; ++i) text += "    " + entry(i) + ",\n";
    text += "};\n";
    text += "const PackedPicture packedOptionBoxPictures[4] = {\n";
    for (std::size_t i = 6; i < 10; ++i) text += "    " + entry(i) + ",\n";
    text += "};\n";
    return text;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool check = argc == 3 && std::string(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::fprintf(stderr, "usage: %s [--check] <folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[argc - 1];

    std::vector<NamedPicture> pictures = {
        {"titleData", TitlePicture()},
        {"aboutData", AboutPicture()},
        {"checkBoxGreyTicked", CheckBoxPicture(true, true)},
        {"checkBoxWhiteTicked", CheckBoxPicture(false, true)},
        {"checkBoxGreyEmpty", CheckBoxPicture(true, false)},
        {"checkBoxWhiteEmpty", CheckBoxPicture(false, false)},
        {"optionBoxGreyChosen", OptionBoxPicture(true, true)},
        {"optionBoxWhiteChosen", OptionBoxPicture(false, true)},
        {"optionBoxGreyEmpty", OptionBoxPicture(true, false)},
        {"optionBoxWhiteEmpty", OptionBoxPicture(false, false)},
    };
    const std::string header = HeaderText();
    const std::string source = SourceText(pictures);
    const std::string headerPath = folder + "/PictureData.h";
    const std::string sourcePath = folder + "/PictureData.cpp";

    if (check) {
        bool same = true;
        if (ReadText(headerPath) != header) {
            std::fprintf(stderr, "%s is not what tools/MakePictures.cpp writes\n", headerPath.c_str());
            same = false;
        }
        if (ReadText(sourcePath) != source) {
            std::fprintf(stderr, "%s is not what tools/MakePictures.cpp writes\n", sourcePath.c_str());
            same = false;
        }
        return same ? 0 : 1;
    }
    return WriteText(headerPath, header) && WriteText(sourcePath, source) ? 0 : 1;
}
