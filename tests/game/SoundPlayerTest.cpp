// A fake aplay first on PATH records each call. While the file "hold" exists it also waits for the
// file "release" (polling, with a deadline of its own), which keeps a sound "playing" for as long
// as a test needs.

#include <gtest/gtest.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "game/SoundPlayer.h"
#include "tests/support/TempFolder.h"
#include "tools/harness/Poll.h"
#include "util/ChildProcesses.h"

using namespace std::chrono_literals;

namespace {

// /proc files are read with read(2): a process that ends while its file is read makes the read
// fail with ESRCH, which the C++ streams turn into an exception.
std::string ReadProcFile(const std::string& path)
{
    std::string text;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return text;
    char buffer[1024];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(got));
    close(fd);
    return text;
}

// Runs over the processes in /proc, other than this one.
void ForEachProcess(const std::function<void(const std::string& pid)>& visit)
{
    DIR* proc = opendir("/proc");
    if (!proc) return;
    const std::string self = std::to_string(getpid());
    while (const dirent* entry = readdir(proc))
        if (entry->d_name[0] >= '0' && entry->d_name[0] <= '9' && entry->d_name != self) visit(entry->d_name);
    closedir(proc);
}

// The children of this process, and those of them that are zombies.
void CountChildren(int& children, int& zombies)
{
    children = zombies = 0;
    ForEachProcess([&](const std::string& pid) {
        const std::string text = ReadProcFile("/proc/" + pid + "/stat");
        // A process that ends while being read leaves a short or empty text.
        const std::size_t close = text.rfind(')');
        if (close == std::string::npos || close + 2 >= text.size()) return;
        std::istringstream fields(text.substr(close + 2));
        char state = 0;
        pid_t parent = 0;
        fields >> state >> parent;
        if (parent != getpid()) return;
        ++children;
        if (state == 'Z') ++zombies;
    });
}

int ZombieChildren()
{
    int children = 0;
    int zombies = 0;
    CountChildren(children, zombies);
    return zombies;
}

// Processes working in the folder: the sounds' children, their shells and the fake players,
// whoever their parent is by now.
int ProcessesIn(const std::string& folder)
{
    int count = 0;
    ForEachProcess([&](const std::string& pid) {
        std::error_code ignored;
        if (std::filesystem::read_symlink("/proc/" + pid + "/cwd", ignored) == folder) ++count;
    });
    return count;
}

// Set when a child ran the test process's exit handlers.
std::string teardownMarker;
pid_t testProcess = 0;

void MarkForeignTeardown()
{
    if (getpid() != testProcess && !teardownMarker.empty()) std::ofstream(teardownMarker) << "ran";
}

class SoundPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string bin = folder.Path() + "/bin";
        std::filesystem::create_directories(bin);
        std::filesystem::create_directories(folder.Path() + "/Data");
        folder.WriteFile("bin/aplay",
                         "#!/bin/sh\n"
                         "dir='" + folder.Path() + "'\n"
                         "printf '%s|%s\\n' \"$#\" \"$*\" >> \"$dir/aplay.log\"\n"
                         "if [ -e \"$dir/hold\" ]; then\n"
                         "  i=0\n"
                         "  while [ ! -e \"$dir/release\" ] && [ $i -lt 2000 ]; do sleep 0.01; i=$((i+1)); done\n"
                         "fi\n"
                         "echo done >> \"$dir/aplay.done\"\n"
                         "[ ! -e \"$dir/fail\" ]\n");
        std::filesystem::permissions(bin + "/aplay", std::filesystem::perms::owner_all);
        folder.WriteFile("Data/beep.wav", "RIFF");
        folder.WriteFile("Data/punteggio.wav", "RIFF");
        const char* path = std::getenv("PATH");
        previousPath = path ? path : "";
        setenv("PATH", (bin + ":" + previousPath).c_str(), 1);
    }

    void TearDown() override
    {
        // Nothing started here may outlive the folder.
        folder.WriteFile("release", "");
        EXPECT_TRUE(WaitFor([&] { return ProcessesIn(folder.Path()) == 0; }, 10s));
        setenv("PATH", previousPath.c_str(), 1);
    }

    std::vector<std::string> Lines(const std::string& name) const
    {
        std::istringstream text(folder.ReadFile(name));
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        return lines;
    }

    std::size_t Count(const std::string& name) const { return Lines(name).size(); }

    bool Played(const std::string& line) const
    {
        const std::vector<std::string> lines = Lines("aplay.log");
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    TempFolder folder;
    std::string previousPath;
};

}  // namespace

TEST_F(SoundPlayerTest, AMissingFileIsLoggedAndNothingPlays)
{
    std::filesystem::remove(folder.Path() + "/Data/punteggio.wav");
    SoundPlayer player;
    player.Play("Data/punteggio.wav");
    player.Play("Data/punteggio.wav");
    EXPECT_EQ(folder.ReadFile("log.txt"), "Data/punteggio.wav non trovato.\nData/punteggio.wav non trovato.\n");
    EXPECT_FALSE(player.Playing());
    EXPECT_EQ(player.Pid(), 0);
    EXPECT_EQ(Count("aplay.log"), 0u);
}

TEST_F(SoundPlayerTest, PlayHandsThePathToAplayAndReturnsAtOnce)
{
    folder.WriteFile("hold", "");
    SoundPlayer player;
    player.Play("Data/punteggio.wav");
    EXPECT_TRUE(player.Playing());
    ASSERT_GT(player.Pid(), 0);
    EXPECT_TRUE(ChildRunning(player.Pid()));
    EXPECT_TRUE(WaitFor([&] { return Played("1|Data/punteggio.wav"); }, 10s));
    EXPECT_EQ(Count("aplay.done"), 0u) << "the sound is still playing while the game goes on";

    folder.WriteFile("release", "");
    const pid_t child = player.Pid();
    EXPECT_TRUE(WaitFor([&] { return !ChildRunning(child); }, 10s));
    EXPECT_EQ(Count("aplay.log"), 1u);
}

TEST_F(SoundPlayerTest, ANewSoundEndsThePreviousChild)
{
    folder.WriteFile("hold", "");
    SoundPlayer player;
    player.Play("Data/beep.wav");
    const pid_t first = player.Pid();
    ASSERT_TRUE(WaitFor([&] { return Played("1|Data/beep.wav"); }, 10s));

    player.Play("Data/punteggio.wav");
    EXPECT_NE(player.Pid(), first);
    EXPECT_TRUE(player.Playing());
    // Its aplay is still held, so only the signal can have ended the first child.
    EXPECT_TRUE(WaitFor([&] { return !ChildRunning(first); }, 10s));
    EXPECT_EQ(Count("aplay.done"), 0u);
    EXPECT_TRUE(ChildRunning(player.Pid()));
    EXPECT_TRUE(WaitFor([&] { return Played("1|Data/punteggio.wav"); }, 10s));
}

TEST_F(SoundPlayerTest, KillEndsTheCurrentSound)
{
    folder.WriteFile("hold", "");
    SoundPlayer player;
    player.Play("Data/beep.wav");
    const pid_t child = player.Pid();
    ASSERT_TRUE(WaitFor([&] { return Played("1|Data/beep.wav"); }, 10s));
    player.Kill();
    EXPECT_FALSE(player.Playing());
    EXPECT_TRUE(WaitFor([&] { return !ChildRunning(child); }, 10s));
    EXPECT_EQ(Count("aplay.done"), 0u);
    player.Kill();
}

TEST_F(SoundPlayerTest, AFinishedSoundIsNeverSignalled)
{
    SoundPlayer player;
    player.Play("Data/beep.wav");
    const pid_t first = player.Pid();
    ASSERT_TRUE(WaitFor([&] { return !ChildRunning(first) && ZombieChildren() == 0; }, 10s));
    EXPECT_TRUE(player.Playing()) << "the player does not learn that its child ended";
    EXPECT_FALSE(SignalChild(first, 0));
    player.Play("Data/beep.wav");
    player.Kill();
}

TEST_F(SoundPlayerTest, ManySoundsLeaveNoZombies)
{
    SoundPlayer player;
    for (int i = 0; i < 20; ++i) {
        player.Play(i % 2 ? "Data/beep.wav" : "Data/punteggio.wav");
        if (i % 5 == 0) Beep();
    }
    // Every child ends (most by the signal of the next Play) and none stays behind as a zombie.
    int children = 0;
    int zombies = 0;
    EXPECT_TRUE(WaitFor([&] {
        CountChildren(children, zombies);
        return children == 0;
    }, 10s)) << children << " children, " << zombies << " of them zombies";
    EXPECT_FALSE(ChildRunning(player.Pid()));
}

TEST_F(SoundPlayerTest, WithoutAProcessToSpareTheSoundPlaysInTheGame)
{
    SoundPlayer player;
    SimulateForkFailure(true);
    player.Play("Data/beep.wav");
    SimulateForkFailure(false);
    EXPECT_EQ(Count("aplay.done"), 1u) << "aplay had finished when Play returned";
    EXPECT_EQ(Lines("aplay.log"), std::vector<std::string>{"1|Data/beep.wav"});
    EXPECT_FALSE(player.Playing());
    EXPECT_EQ(player.Pid(), 0);
}

TEST_F(SoundPlayerTest, ARepeatingSoundPlaysUntilKilled)
{
    SoundPlayer player;
    player.Play("Data/beep.wav", true);
    const pid_t child = player.Pid();
    EXPECT_TRUE(WaitFor([&] { return Count("aplay.done") >= 3; }, 10s));
    EXPECT_TRUE(ChildRunning(child));
    player.Kill();
    EXPECT_TRUE(WaitFor([&] { return !ChildRunning(child); }, 10s));
}

TEST_F(SoundPlayerTest, ARepeatingSoundStopsWhenAplayFails)
{
    folder.WriteFile("fail", "");
    SoundPlayer player;
    player.Play("Data/beep.wav", true);
    const pid_t child = player.Pid();
    EXPECT_TRUE(WaitFor([&] { return !ChildRunning(child); }, 10s));
    EXPECT_EQ(Count("aplay.log"), 1u);
}

TEST_F(SoundPlayerTest, PathsReachAplayAsOneArgument)
{
    const std::vector<std::string> names = {"Data/my sound.wav", "Data/x;touch pwned.wav", "Data/it's $(touch pwned).wav"};
    SoundPlayer player;
    for (const std::string& name : names) {
        folder.WriteFile(name, "RIFF");
        player.Play(name);
        EXPECT_TRUE(WaitFor([&] { return Played("1|" + name); }, 10s)) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path() + "/pwned"));
}

TEST_F(SoundPlayerTest, TheChildLeavesWithoutTheGamesTeardown)
{
    teardownMarker = folder.Path() + "/teardown-ran";
    testProcess = getpid();
    static const bool registered = std::atexit(MarkForeignTeardown) == 0;
    ASSERT_TRUE(registered);
    SoundPlayer player;
    player.Play("Data/beep.wav");
    const pid_t child = player.Pid();
    ASSERT_TRUE(WaitFor([&] { return !ChildRunning(child); }, 10s));
    EXPECT_FALSE(std::filesystem::exists(teardownMarker));
    teardownMarker.clear();
}

TEST_F(SoundPlayerTest, BeepPlaysTheBeepWithoutWaiting)
{
    folder.WriteFile("hold", "");
    Beep();
    EXPECT_TRUE(WaitFor([&] { return Played("1|Data/beep.wav"); }, 10s));
    EXPECT_EQ(Count("aplay.done"), 0u);
}

TEST_F(SoundPlayerTest, BeepWithoutItsFileIsSilent)
{
    std::filesystem::remove(folder.Path() + "/Data/beep.wav");
    Beep();
    EXPECT_FALSE(std::filesystem::exists(folder.Path() + "/log.txt"));
    EXPECT_EQ(Count("aplay.log"), 0u);
    EXPECT_EQ(ZombieChildren(), 0);
}
