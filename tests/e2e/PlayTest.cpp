// A whole game played from outside like a person: the real program in a fresh folder, a fake
// aplay that writes down the sounds asked for, real input through XTest, and the screen read
// back against the sprite sheet.

#include <gtest/gtest.h>

#include <X11/keysym.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "tests/e2e/GameProcess.h"
#include "tests/support/Player.h"
#include "tests/support/TempFolder.h"
#include "tools/harness/Poll.h"
#include "tools/harness/XServer.h"

using namespace std::chrono_literals;

namespace {

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
    const std::string path = folder.Path() + "/bin:" + std::getenv("PATH");
    GameProcess game(folder.Path(), {{"DISPLAY", SharedXServer().Name()}, {"PATH", path}});
    Player player(std::string(KORVANTA_DATA_DIR) + "/pallini27x27.bin");
    PlayerView& screen = player.View();
    ASSERT_TRUE(player.Connected());
    const Window main = player.WaitForTitleScreen(60s);
    ASSERT_NE(main, 0u) << "the title screen";
    ASSERT_TRUE(player.StartGame(60s)) << "START shows the pegs and the catcher";
    EXPECT_EQ(player.CatcherAt(), 1) << "the catcher starts at the left wall";

    // The catcher follows the keys.
    screen.Key(XK_Right, true);
    ASSERT_TRUE(WaitFor([&] { return player.CatcherAt() >= 3; }, 60s));
    screen.Key(XK_Right, false);

    ASSERT_TRUE(player.CatchOneThenMiss(180s)) << "a catch and then a miss";
    EXPECT_NE(SoundsPlayed().find("Data/punteggio.wav"), std::string::npos) << "the catch is heard";
    EXPECT_NE(SoundsPlayed().find("Data/beep.wav"), std::string::npos) << "balls hit pegs on the way";

    // The name dialog takes the keys: ANNA and Return.
    ASSERT_TRUE(player.EnterName("ANNA", 60s));
    const std::string scoreFile = "Data/Korvanta/Score/Classifica.txt";
    ASSERT_TRUE(WaitFor([&] { return !folder.ReadFile(scoreFile).empty(); }, 60s));
    EXPECT_TRUE(std::regex_match(folder.ReadFile(scoreFile), std::regex("000000[0-9][1-9] ANNA {9}Level 1\n")))
        << folder.ReadFile(scoreFile);

    // EXIT asks; YES ends the program.
    screen.Click(main, WellLayout::buttonCentreX, WellLayout::ButtonCentreY(WellLayout::exitTop));
    const Window box = screen.WaitForWindow("Exit", 60s);
    ASSERT_NE(box, 0u);
    const auto boxPlace = screen.Geometry(box), mainPlace = screen.Geometry(main);
    EXPECT_EQ(boxPlace[2], 250);
    EXPECT_EQ(boxPlace[3], 150);
    EXPECT_EQ(boxPlace[0] - mainPlace[0], 275 + 1) << "centred over the main window";
    screen.Click(box, 130 + 55, 110 + 14);
    const auto status = game.Wait(60s);
    ASSERT_TRUE(status.has_value()) << "YES ends the program";
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(ProcessesIn(folder.Path()), 0) << "no joystick reader or sound left running";
    EXPECT_NE(access("/dev/shm/mem_shared_hardJoy", F_OK), 0);
    EXPECT_EQ(folder.ReadFile("log.txt"), "Could not open joystick. Use the cursor keys to move.\n");
}
