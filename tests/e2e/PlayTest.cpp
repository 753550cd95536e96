// A whole game played from outside like a person: the real program in a fresh folder, a fake
// aplay that writes down the sounds asked for, real input through XTest, and the screen read
// back against the sprite sheet.

#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <regex>
#include <thread>

#include "tests/e2e/GameProcess.h"
#include "tests/e2e/PlayerView.h"
#include "tests/support/TempFolder.h"
#include "tests/support/XServer.h"

using namespace std::chrono_literals;

namespace {

constexpr int catcherSprite = 6, pegSprite = 5;

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(20ms);
    }
    return condition();
}

int CatcherColumn(const std::array<int, 180>& well)
{
    for (int column = 1; column <= 10; ++column)
        if (well[static_cast<std::size_t>(column + 12 * 13)] == catcherSprite) return column;
    return -1;
}

// The column of the ball nearest the catcher's row, or -1.
int LowestBallColumn(const std::array<int, 180>& well)
{
    for (int row = 12; row >= 0; --row)
        for (int column = 1; column <= 10; ++column) {
            const int sprite = well[static_cast<std::size_t>(column + 12 * row)];
            if (sprite >= 1 && sprite <= 3) return column;
        }
    return -1;
}

// Processes other than the test whose working folder is the given one: the game and any child
// it left behind.
int ProcessesIn(const std::string& folder)
{
    int count = 0;
    DIR* proc = opendir("/proc");
    while (dirent* entry = proc ? readdir(proc) : nullptr) {
        if (!std::isdigit(static_cast<unsigned char>(entry->d_name[0])) || std::atoi(entry->d_name) == getpid()) continue;
        std::error_code error;
        const auto cwd = std::filesystem::read_symlink(std::string("/proc/") + entry->d_name + "/cwd", error);
        if (!error && cwd == folder) ++count;
    }
    if (proc) closedir(proc);
    return count;
}

class Play : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::copy(KORVANTA_DATA_DIR, folder.Path() + "/Data", std::filesystem::copy_options::recursive);
        std::filesystem::create_directory(folder.Path() + "/bin");
        folder.WriteFile("bin/aplay", "#!/bin/sh\necho \"$@\" >> \"" + folder.Path() + "/aplay.log\"\n");
        std::filesystem::permissions(folder.Path() + "/bin/aplay", std::filesystem::perms::owner_all);
    }

    std::string SoundsPlayed() const { return folder.ReadFile("aplay.log"); }

    TempFolder folder;
};

}  // namespace

TEST_F(Play, StartCatchMissNameAndExit)
{
    PlayerView screen(std::string(KORVANTA_DATA_DIR) + "/pallini27x27.bin");
    ASSERT_TRUE(screen.Connected());
    const std::string path = folder.Path() + "/bin:" + std::getenv("PATH");
    GameProcess game(folder.Path(), {{"DISPLAY", SharedXServer().Name()}, {"PATH", path}});

    Window main = 0;
    ASSERT_TRUE(WaitFor([&] { return (main = screen.FindWindow("Korvanta - ")) != 0; }, 20s));
    ASSERT_TRUE(WaitFor([&] { return screen.ReadWell(main)[8 + 12 * 10] == 4; }, 20s)) << "the title screen";

    screen.Click(main, 572 + 50, 117 + 14);
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto well = screen.ReadWell(main);
            return std::count(well.begin(), well.end(), pegSprite) == 25 && CatcherColumn(well) == 1;
        },
        20s))
        << "START shows the pegs and the catcher";

    // The catcher follows the keys.
    screen.MovePointer(main, 400, 300);
    screen.Key(XK_Right, true);
    ASSERT_TRUE(WaitFor([&] { return CatcherColumn(screen.ReadWell(main)) >= 3; }, 10s));
    screen.Key(XK_Right, false);

    // Follow the lowest ball until one is caught, then steer away until one is missed.
    bool caught = false;
    unsigned long held = 0;
    auto hold = [&](unsigned long key) {
        if (held == key) return;
        if (held) screen.Key(held, false);
        if (key) screen.Key(key, true);
        held = key;
    };
    Window nameDialog = 0;
    ASSERT_TRUE(WaitFor(
        [&] {
            if ((nameDialog = screen.FindWindow("Top Ten")) != 0) return true;
            caught = caught || SoundsPlayed().find("Data/punteggio.wav") != std::string::npos;
            const auto well = screen.ReadWell(main);
            const int catcher = CatcherColumn(well), ball = LowestBallColumn(well);
            if (catcher < 0 || ball < 0) {
                hold(0);
                return false;
            }
            const int target = caught ? (ball <= 5 ? 10 : 1) : ball;
            hold(catcher < target ? XK_Right : catcher > target ? XK_Left : 0);
            return false;
        },
        90s))
        << "a catch and then a miss";
    hold(0);
    EXPECT_TRUE(caught);
    EXPECT_NE(SoundsPlayed().find("Data/beep.wav"), std::string::npos) << "balls hit pegs on the way";

    // The name dialog takes the keys: ANNA and Return.
    screen.MovePointer(nameDialog, 125, 55);
    for (unsigned long key : {XK_a, XK_n, XK_n, XK_a}) screen.Type(key, true);
    screen.Type(XK_Return);
    const std::string scoreFile = "Data/Korvanta/Score/Classifica.txt";
    ASSERT_TRUE(WaitFor([&] { return !folder.ReadFile(scoreFile).empty(); }, 10s));
    EXPECT_TRUE(std::regex_match(folder.ReadFile(scoreFile), std::regex("000000[0-9][1-9] ANNA {9}Level 1\n")))
        << folder.ReadFile(scoreFile);
    EXPECT_TRUE(WaitFor([&] { return screen.FindWindow("Top Ten") == 0; }, 10s));

    // EXIT asks; YES ends the program.
    screen.Click(main, 572 + 50, 177 + 14);
    Window box = 0;
    ASSERT_TRUE(WaitFor([&] { return (box = screen.FindWindow("Exit")) != 0; }, 10s));
    const auto boxPlace = screen.Geometry(box), mainPlace = screen.Geometry(main);
    EXPECT_EQ(boxPlace[2], 250);
    EXPECT_EQ(boxPlace[3], 150);
    EXPECT_EQ(boxPlace[0] - mainPlace[0], 275 + 1) << "centred over the main window";
    screen.Click(box, 130 + 55, 110 + 14);
    const auto status = game.Wait(20s);
    ASSERT_TRUE(status.has_value()) << "YES ends the program";
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(ProcessesIn(folder.Path()), 0) << "no joystick reader or sound left running";
    EXPECT_NE(access("/dev/shm/mem_shared_hardJoy", F_OK), 0);
    EXPECT_EQ(folder.ReadFile("log.txt"), "Could not open joystick. Use the cursor keys to move.\n");
}
