// The screenshot program, run as scripts/screenshots.sh runs it: it must play the real game to
// the end and leave four pictures that show what their names promise.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/support/TempFolder.h"
#include "tests/tools/PngRead.h"

namespace {

constexpr int cell = 27, sheetWidth = 378;

class Screenshots : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new TempFolder;
        const std::string command = std::string(KORVANTA_SCREENSHOTS) + " " + KORVANTA_BINARY + " " + KORVANTA_DATA_DIR +
                                    " " + folder->Path() + "/shots > " + folder->Path() + "/output.txt 2>&1";
        status = std::system(command.c_str());
        std::ifstream in(KORVANTA_DATA_DIR "/pallini27x27.bin", std::ios::binary);
        sheet.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void TearDownTestSuite()
    {
        delete folder;
        folder = nullptr;
    }

    static DecodedPng Shot(const std::string& name)
    {
        auto shot = DecodePngFile(folder->Path() + "/shots/" + name);
        EXPECT_TRUE(shot.has_value()) << name << "; the program said: " << folder->ReadFile("output.txt");
        return shot.value_or(DecodedPng{});
    }

    // Whether the well cell (column, row) shows the sprite, pixel for pixel.
    static bool CellShows(const DecodedPng& shot, int column, int row, int sprite)
    {
        if (shot.width < 800 || sheet.size() < static_cast<std::size_t>(sheetWidth * cell * 3)) return false;
        const int left = (column + 1) * cell + 148, top = (row + 1) * cell + 90;
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < cell; ++x) {
                const unsigned char* rgb = &sheet[static_cast<std::size_t>((y * sheetWidth + sprite * cell + x) * 3)];
                if (shot.Colour(left + x, top + y) != static_cast<unsigned>(rgb[0] << 16 | rgb[1] << 8 | rgb[2])) return false;
            }
        return true;
    }

    static int Count(const DecodedPng& shot, int left, int top, int width, int height, unsigned colour)
    {
        int count = 0;
        for (int y = top; y < top + height && y < shot.height; ++y)
            for (int x = left; x < left + width && x < shot.width; ++x) count += shot.Colour(x, y) == colour;
        return count;
    }

    static inline TempFolder* folder = nullptr;
    static inline int status = -1;
    static inline std::vector<unsigned char> sheet;
};

constexpr unsigned white = 0xFFFFFF, dialogGrey = 0xAAAAAA;

}  // namespace

TEST_F(Screenshots, TheProgramPlaysToTheEndAndWritesFourWindowSizedPictures)
{
    ASSERT_EQ(status, 0) << folder->ReadFile("output.txt");
    for (const char* name : {"title.png", "playing.png", "top-ten.png", "about.png"}) {
        const DecodedPng shot = Shot(name);
        EXPECT_EQ(shot.width, 800) << name;
        EXPECT_EQ(shot.height, 600) << name;
    }
}

TEST_F(Screenshots, TheTitleShowsTheFourBallsAndATopTenLine)
{
    const DecodedPng title = Shot("title.png");
    EXPECT_TRUE(CellShows(title, 8, 10, 4));
    EXPECT_TRUE(CellShows(title, 7, 9, 1));
    EXPECT_GT(Count(title, 10, 17, 780, 18, white), 50) << "the banner's letters";
}

TEST_F(Screenshots, PlayingShowsThePegsAndTheCatcher)
{
    const DecodedPng playing = Shot("playing.png");
    int pegs = 0, catchers = 0;
    for (int row = 0; row < 14; ++row)
        for (int column = 1; column <= 10; ++column) {
            pegs += CellShows(playing, column, row, 5);
            catchers += row == 13 && CellShows(playing, column, row, 6);
        }
    EXPECT_EQ(pegs, 25);
    EXPECT_EQ(catchers, 1);
}

TEST_F(Screenshots, TheDialogsAreOverTheMainWindow)
{
    // The name dialog (250 x 115) and the About box (600 x 210) sit centred over the window;
    // their grey fills the middle, where the title screen has none.
    const DecodedPng topTen = Shot("top-ten.png"), about = Shot("about.png"), title = Shot("title.png");
    EXPECT_GT(Count(topTen, 280, 247, 240, 10, dialogGrey), 240 * 10 * 9 / 10);
    EXPECT_GT(Count(about, 105, 200, 180, 15, dialogGrey), 180 * 15 * 9 / 10);
    EXPECT_EQ(Count(title, 105, 200, 590, 200, dialogGrey), 0);
}
