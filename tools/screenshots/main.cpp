// Takes the README's screenshots from the real game: starts a private Xvfb, runs the game in a
// scratch folder, plays it through XTest like a person (catches two balls, misses one, enters a
// name) and writes what the screen shows as PNG files:
//
//   title.png     the title screen of a fresh start, with the top ten in the banner
//   playing.png   a game in play
//   top-ten.png   the "Top Ten" dialog with a name typed in
//   about.png     the About box
//
//   korvanta-screenshots <game binary> <Data folder> <output folder>
//
// The sounds go to a silent stand-in for aplay, so nothing is heard while it plays.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "graphics/ChannelMasks.h"
#include "tools/PngFile.h"
#include "tools/harness/PlayerView.h"
#include "tools/harness/Poll.h"
#include "tools/harness/XServer.h"

using namespace std::chrono_literals;

namespace {

// Where the main form puts its buttons; the well's cells are read through PlayerView.
constexpr int buttonX = WellLayout::buttonCentreX;
constexpr int startY = WellLayout::ButtonCentreY(WellLayout::startTop), infoY = WellLayout::ButtonCentreY(WellLayout::infoTop);

struct Area {
    int x = 0, y = 0, width = 0, height = 0;
};

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvanta-shots-XXXXXX").string();
        if (mkdtemp(pattern.data())) path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path; }

private:
    std::string path;
};

// The game in its folder, on the given display, with the silent aplay first on PATH.
class GameRun {
public:
    GameRun(const std::string& binary, const std::string& folder, const std::string& display)
    {
        const std::string path = folder + "/bin:" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin");
        pid = fork();
        if (pid != 0) return;
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) dup2(quiet, STDOUT_FILENO);
        if (chdir(folder.c_str()) != 0) _exit(126);
        setenv("DISPLAY", display.c_str(), 1);
        setenv("PATH", path.c_str(), 1);
        execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ~GameRun()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    bool Ended(std::chrono::milliseconds deadline)
    {
        return WaitFor(
            [this] {
                if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == pid) pid = -1;
                return pid <= 0;
            },
            deadline);
    }

private:
    pid_t pid = -1;
};

class Screen {
public:
    Screen() : display(XOpenDisplay(nullptr)) {}
    ~Screen()
    {
        if (display) XCloseDisplay(display);
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    bool Connected() const { return display != nullptr; }

    // What the screen shows in the area, dialogs over the main window included: the root
    // window's contents are the frame buffer, since Xvfb has no compositing.
    PngImage Capture(const Area& area)
    {
        PngImage shot{area.width, area.height, false, {}};
        XImage* image = XGetImage(display, DefaultRootWindow(display), area.x, area.y, static_cast<unsigned>(area.width),
                                  static_cast<unsigned>(area.height), AllPlanes, ZPixmap);
        if (!image) return shot;
        shot.pixels.reserve(static_cast<std::size_t>(area.width * area.height) * 3);
        const ChannelMasks masks = ChannelMasks::Of(*image);
        for (int y = 0; y < area.height; ++y)
            for (int x = 0; x < area.width; ++x) {
                const auto colour = static_cast<std::uint32_t>(masks.FromPixel(static_cast<std::uint32_t>(XGetPixel(image, x, y))));
                for (int shift : {16, 8, 0}) shot.pixels.push_back(static_cast<unsigned char>(colour >> shift));
            }
        XDestroyImage(image);
        return shot;
    }

    // Waits until two looks a moment apart agree, so that no picture is taken halfway through
    // a repaint.
    std::optional<PngImage> SteadyCapture(const Area& area, std::chrono::milliseconds deadline)
    {
        PngImage last = Capture(area);
        std::optional<PngImage> steady;
        WaitFor(
            [&] {
                std::this_thread::sleep_for(150ms);
                PngImage now = Capture(area);
                if (!now.pixels.empty() && now.pixels == last.pixels) steady = std::move(now);
                else last = std::move(now);
                return steady.has_value();
            },
            deadline);
        return steady;
    }

private:
    Display* display = nullptr;
};

class Shooter {
public:
    Shooter(std::string game, std::string data, std::string output)
        : game(std::move(game)), data(std::move(data)), output(std::move(output)) {}

    // Returns the step that failed, or the empty text.
    std::string Run()
    {
        if (!server.Start(24, 1024, 768)) return "starting Xvfb";
        setenv("DISPLAY", server.Name().c_str(), 1);
        if (folder.Path().empty()) return "making a scratch folder";
        std::error_code error;
        std::filesystem::copy(data, folder.Path() + "/Data", std::filesystem::copy_options::recursive, error);
        std::filesystem::create_directories(folder.Path() + "/bin", error);
        std::ofstream(folder.Path() + "/bin/aplay") << "#!/bin/sh\necho \"$@\" >> \"" << folder.Path() << "/aplay.log\"\n";
        std::filesystem::permissions(folder.Path() + "/bin/aplay", std::filesystem::perms::owner_all, error);
        std::filesystem::create_directories(output, error);
        if (error) return "preparing the folders";

        if (auto failed = PlayAGame(); !failed.empty()) return failed;
        return ShowTitleAndAbout();
    }

private:
    std::string PlayAGame()
    {
        GameRun run(game, folder.Path(), server.Name());
        PlayerView player(data + "/pallini27x27.bin");
        Screen screen;
        if (!player.Connected() || !screen.Connected()) return "connecting to Xvfb";
        const Window main = player.WaitForMainWindow(30s);
        if (!main) return "waiting for the main window";
        const auto place = player.Geometry(main);
        const Area area{place[0], place[1], place[2], place[3]};
        if (!WaitFor([&] { return player.ReadWell(main).IsTitleScreen(); }, 20s)) return "waiting for the title screen";

        player.Click(main, buttonX, startY);
        if (!WaitFor(
                [&] {
                    return player.ReadWell(main).ShowsAGame();
                },
                20s))
            return "starting a game";
        player.MovePointer(main, 400, 300);

        // Follow the lowest ball; after two catches, photograph the catcher waiting under a ball
        // halfway down, then steer away from the next one so that the game ends.
        bool photographed = false;
        Window nameDialog = 0;
        const bool over = WaitFor(
            [&] {
                if ((nameDialog = player.FindWindow("Top Ten")) != 0) return true;
                const ShownWell well = player.ReadWell(main);
                const int catcher = well.CatcherColumn();
                const auto lowest = well.LowestBall();
                if (catcher < 0 || !lowest) {
                    player.Hold(0);
                    return false;
                }
                if (!photographed && Catches() >= 2 && catcher == lowest->column && lowest->row >= 6 && lowest->row <= 9) {
                    player.Hold(0);
                    auto shot = screen.SteadyCapture(area, 2s);
                    photographed = shot && WritePng(output + "/playing.png", *shot);
                    return false;
                }
                const int target = !photographed ? lowest->column : (lowest->column <= 5 ? Well::lastColumn : Well::firstColumn);
                player.Hold(catcher < target ? XK_Right : catcher > target ? XK_Left : 0);
                return false;
            },
            180s);
        player.Hold(0);
        if (!photographed) return "photographing a game in play";
        if (!over) return "waiting for the game to end";

        // The name goes in letter by letter; the picture is taken once the box shows it. The dialog
        // takes the keyboard when it first paints, so the letters wait for its OK button.
        auto okShown = [&] {
            const auto pixels = player.Pixels(nameDialog, 85 + 6, 80 + 4, 68, 20);
            return std::adjacent_find(pixels.begin(), pixels.end(), std::not_equal_to<>()) != pixels.end();
        };
        if (!WaitFor(okShown, 20s)) return "waiting for the Top Ten dialog";
        player.MovePointer(nameDialog, 125, 55);
        const auto dialogPlace = player.Geometry(nameDialog);
        const Area nameBox{dialogPlace[0] + 62, dialogPlace[1] + 45, 125, 20};
        const PngImage empty = screen.Capture(nameBox);
        for (unsigned long key : {XK_a, XK_n, XK_n, XK_a}) player.Type(key, true);
        if (!WaitFor([&] { return screen.Capture(nameBox).pixels != empty.pixels; }, 10s)) return "typing a name";
        auto named = screen.SteadyCapture(area, 10s);
        if (!named || !WritePng(output + "/top-ten.png", *named)) return "photographing the Top Ten dialog";
        player.Type(XK_Return);
        const std::string scores = folder.Path() + "/Data/Korvanta/Score/Classifica.txt";
        if (!WaitFor([&] { return !ReadText(scores).empty(); }, 10s)) return "recording the score";

        if (!player.QuitGame(10s) || !run.Ended(20s)) return "quitting the game";
        return {};
    }

    // A fresh start reads the top ten that the game above wrote, and the banner shows it.
    std::string ShowTitleAndAbout()
    {
        GameRun run(game, folder.Path(), server.Name());
        PlayerView player(data + "/pallini27x27.bin");
        Screen screen;
        if (!player.Connected() || !screen.Connected()) return "connecting to Xvfb";
        const Window main = player.WaitForMainWindow(30s);
        if (!main) return "waiting for the main window after the restart";
        const auto place = player.Geometry(main);
        const Area area{place[0], place[1], place[2], place[3]};
        if (!WaitFor([&] { return player.ReadWell(main).IsTitleScreen(); }, 20s)) return "waiting for the title screen";
        // The banner changes every five seconds; its white letters show that it is on a line.
        const Area banner{place[0] + 10, place[1] + 17, 780, 18};
        auto bannerShowsALine = [&] {
            const PngImage shot = screen.Capture(banner);
            for (std::size_t i = 0; i + 2 < shot.pixels.size(); i += 3)
                if (shot.pixels[i] == 0xFF && shot.pixels[i + 1] == 0xFF && shot.pixels[i + 2] == 0xFF) return true;
            return false;
        };
        if (!WaitFor(bannerShowsALine, 20s)) return "waiting for the top ten in the banner";
        auto title = screen.SteadyCapture(area, 3s);
        if (!title || !WritePng(output + "/title.png", *title)) return "photographing the title screen";

        player.Click(main, buttonX, infoY);
        Window about = 0;
        if (!WaitFor([&] { return (about = player.FindWindow("Info...")) != 0; }, 10s)) return "opening the About box";
        auto info = screen.SteadyCapture(area, 10s);
        if (!info || !WritePng(output + "/about.png", *info)) return "photographing the About box";
        player.MovePointer(about, 300, 100);
        player.Type(XK_Escape);
        if (!WaitFor([&] { return player.FindWindow("Info...") == 0; }, 10s)) return "closing the About box";

        if (!player.QuitGame(10s) || !run.Ended(20s)) return "quitting the game";
        return {};
    }

    int Catches() const
    {
        const std::string sounds = ReadText(folder.Path() + "/aplay.log");
        int count = 0;
        for (std::size_t at = sounds.find("punteggio.wav"); at != std::string::npos; at = sounds.find("punteggio.wav", at + 1)) ++count;
        return count;
    }

    std::string game;
    std::string data;
    std::string output;
    XServer server;
    ScratchFolder folder;
};

// Windows come and go while the program looks for them by name: one that closed between the
// listing of the windows and the question about it is expected here, not a reason to stop, as
// Xlib's default handler would.
int ReportXErrors(Display* display, XErrorEvent* error)
{
    if (error->error_code == BadWindow || error->error_code == BadDrawable || error->error_code == BadMatch) return 0;
    char text[256] = "";
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "korvanta-screenshots: X error: %s\n", text);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    XSetErrorHandler(ReportXErrors);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <game binary> <Data folder> <output folder>\n", argv[0]);
        return 2;
    }
    // The game is started from inside its scratch folder, so relative paths would miss.
    auto absolute = [](const char* path) { return std::filesystem::absolute(path).lexically_normal().string(); };
    Shooter shooter(absolute(argv[1]), absolute(argv[2]), absolute(argv[3]));
    const std::string failed = shooter.Run();
    if (!failed.empty()) {
        std::fprintf(stderr, "korvanta-screenshots: failed while %s\n", failed.c_str());
        return 1;
    }
    std::printf("Wrote title.png, playing.png, top-ten.png and about.png to %s\n", argv[3]);
    return 0;
}
