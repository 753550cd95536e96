// The README as a newcomer reads it: every picture it shows is a real screenshot in the
// repository, and the joystick settings it lists are the ones the game writes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>

#include "joystick/JoystickConfig.h"
#include "tests/tools/PngRead.h"

namespace {

std::string Readme()
{
    std::ifstream in(std::string(KORVANTA_SOURCE_DIR) + "/README.md");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> ImagesShown(const std::string& markdown)
{
    std::vector<std::string> images;
    const std::regex image(R"(!\[[^\]]*\]\(([^)\s]+)\))");
    for (auto it = std::sregex_iterator(markdown.begin(), markdown.end(), image); it != std::sregex_iterator(); ++it)
        images.push_back((*it)[1]);
    return images;
}

}  // namespace

TEST(Readme, ShowsTheFourScreenshotsAsRealPngFiles)
{
    const auto images = ImagesShown(Readme());
    const std::set<std::string> shown(images.begin(), images.end());
    for (const char* name : {"title", "playing", "top-ten", "about"})
        EXPECT_EQ(shown.count(std::string("docs/screenshots/") + name + ".png"), 1u) << name;
    for (const std::string& image : images) {
        const auto picture = DecodePngFile(std::string(KORVANTA_SOURCE_DIR) + "/" + image);
        ASSERT_TRUE(picture.has_value()) << image << " is missing or not a PNG file";
        // The game's window, as the screenshot program takes it.
        EXPECT_EQ(picture->width, 800) << image;
        EXPECT_EQ(picture->height, 600) << image;
    }
}

TEST(Readme, ListsEveryJoystickSettingWithTheDefaultTheGameWrites)
{
    const std::string readme = Readme();
    ASSERT_FALSE(readme.empty());
    for (const std::string& line : DefaultJoystickConfigLines())
        EXPECT_NE(readme.find(line), std::string::npos) << line;
}

TEST(Readme, GivesTheTwoSetUpCommandsOnLinesOfTheirOwn)
{
    std::set<std::string> commands;
    std::istringstream lines(Readme());
    for (std::string line; std::getline(lines, line);) {
        const auto first = line.find_first_not_of(' '), last = line.find_last_not_of(' ');
        if (first != std::string::npos) commands.insert(line.substr(first, last - first + 1));
    }
    EXPECT_EQ(commands.count("scripts/run.sh"), 1u);
    EXPECT_EQ(commands.count("scripts/test.sh"), 1u);
}
