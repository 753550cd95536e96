// The soak run (not part of the tests): a scripted player plays the real game for a given number of
// minutes in a world of its own (see GameSandbox), game after game, with the joystick device a FIFO
// that is fed now and then, the About box and its links opened every few games, and a fake aplay
// that takes a moment to "play" so that sounds overlap. It samples the game process's resident
// memory, open descriptors, children and zombies and the lines of its log at the start, every
// minute and at the end, and fails when the end is not as flat as the start.
//
//   korvanta_soak [minutes]     (10 when not given)

#include <dirent.h>
#include <linux/joystick.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/fault/DeviceWriter.h"
#include "tests/fault/GameSandbox.h"
#include "tests/support/Player.h"
#include "tools/harness/Poll.h"
#include "tools/harness/XServer.h"

// After the rest: Xlib's macros would break other headers.
#include <X11/Xlib.h>

using namespace std::chrono_literals;

namespace {

struct Sample {
    long residentKb = 0;
    int descriptors = 0;
    int children = 0;
    int zombies = 0;
    int logLines = 0;
};

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Sample MeasureOnce(GameSandbox& game)
{
    Sample sample;
    const std::string proc = "/proc/" + std::to_string(game.Pid());
    std::istringstream status(ReadText(proc + "/status"));
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) sample.residentKb = std::atol(line.c_str() + 6);
    if (DIR* fds = opendir((proc + "/fd").c_str())) {
        while (const dirent* entry = readdir(fds))
            if (entry->d_name[0] != '.') ++sample.descriptors;
        closedir(fds);
    }
    if (DIR* all = opendir("/proc")) {
        while (const dirent* entry = readdir(all)) {
            if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
            const std::string stat = ReadText(std::string("/proc/") + entry->d_name + "/stat");
            const std::size_t close = stat.rfind(')');
            if (close == std::string::npos || close + 4 >= stat.size()) continue;
            if (std::atol(stat.c_str() + close + 4) != game.Pid()) continue;
            if (stat[close + 2] == 'Z')
                ++sample.zombies;
            else
                ++sample.children;
        }
        closedir(all);
    }
    const std::string log = game.Log();
    for (const char c : log) sample.logLines += c == '\n';
    return sample;
}

// A sound's child that has just ended is a zombie until the game's SIGCHLD handler reaps it: only
// zombies that stay count.
Sample Measure(GameSandbox& game)
{
    Sample sample = MeasureOnce(game);
    WaitFor([&] { return (sample = MeasureOnce(game)).zombies == 0; }, 2s);
    return sample;
}

int IgnoreVanishedWindows(Display*, XErrorEvent*) { return 0; }

void Report(const char* when, const Sample& sample)
{
    std::printf("%-8s resident %6ld kB  descriptors %3d  children %2d  zombies %2d  log lines %4d\n", when,
                sample.residentKb, sample.descriptors, sample.children, sample.zombies, sample.logLines);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    const int minutes = argc > 1 ? std::atoi(argv[1]) : 10;
    // Windows come and go while the player looks at them; the FIFO may close under a write.
    XSetErrorHandler(IgnoreVanishedWindows);
    signal(SIGPIPE, SIG_IGN);
    const std::string unavailable = GameSandbox::IsolationUnavailable();
    if (!unavailable.empty()) {
        std::fprintf(stderr, "korvanta_soak: %s\n", unavailable.c_str());
        return 2;
    }
    XServer server;
    if (!server.Start()) {
        std::fprintf(stderr, "korvanta_soak: Xvfb did not start\n");
        return 2;
    }
    setenv("DISPLAY", server.Name().c_str(), 1);
    GameSandbox game;
    // A sound that takes a moment, so that the game's sounds overlap and are cut short as in play.
    game.SetFakeAplay("sleep 0.3");
    GameRun run;
    run.display = server.Name();
    run.joystick = true;
    if (!game.Start(run)) return 2;
    DeviceWriter device;
    Player player(std::string(KORVANTA_DATA_DIR) + "/pallini27x27.bin");
    if (!device.Open(game.JoystickDevice(), 20s) || !player.WaitForTitleScreen(20s)) {
        std::fprintf(stderr, "korvanta_soak: the game did not come up\n");
        return 1;
    }

    int games = 0, named = 0;
    Sample start;
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(minutes);
    auto nextReport = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < end && game.Running()) {
        if (!player.StartGame(20s)) break;
        // The centre position and a released button change nothing for the player, but keep the
        // reader and the record at work.
        device.Send(0, JS_EVENT_AXIS, 0);
        device.Send(0, JS_EVENT_BUTTON, 1);
        if (player.CatchOneThenMiss(180s) && player.EnterName("SOAK", 20s)) ++named;
        ++games;
        if (games % 5 == 0) player.VisitAboutAndLinks(20s);
        if (games == 1) {
            start = Measure(game);
            Report("start", start);
        }
        if (std::chrono::steady_clock::now() >= nextReport) {
            Report("running", Measure(game));
            nextReport = std::chrono::steady_clock::now() + 1min;
        }
    }
    const Sample last = Measure(game);
    Report("end", last);
    std::printf("%d games, %d names entered, in %d minutes\n", games, named, minutes);

    const bool running = game.Running();
    const bool quit = running && player.Quit(20s);
    const auto ending = game.Wait(20s);
    const bool orderly = quit && ending && ending->exited && ending->code == 0;
    // Memory may settle a little after the first game; a growth of a tenth or more is a leak. The
    // children are the reader and at most the current sound.
    const bool flat = last.residentKb <= start.residentKb + start.residentKb / 10 &&
                      last.descriptors == start.descriptors && last.children <= 2 && last.zombies == 0 &&
                      last.logLines == start.logLines;
    std::printf("ended %s; %s\n", orderly ? "in order" : "NOT in order", flat ? "flat" : "NOT flat");
    return orderly && flat && games > 1 ? 0 : 1;
}
