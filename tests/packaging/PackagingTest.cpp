// The installed game as a player and a packager meet it: cmake --install into a staging folder
// (DESTDIR), the desktop entry and the manual page checked by the tools distributions use, and
// the installed launcher run for real, with a fresh XDG_DATA_HOME, under the test's Xvfb.

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "joystick/JoystickConfig.h"
#include "tests/support/TempFolder.h"
#include "tools/harness/PlayerView.h"
#include "tools/harness/Poll.h"
#include "tools/harness/XServer.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

const std::string bindir = KORVANTA_BINDIR, libexecdir = KORVANTA_LIBEXECDIR, datadir = KORVANTA_DATADIR,
                  mandir = KORVANTA_MANDIR;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs a shell command line; gives its exit status, its standard output and its standard error.
struct Result {
    int status = -1;
    std::string out, err;
};
Result Shell(const std::string& command, const fs::path& scratch)
{
    const fs::path out = scratch / ".out", err = scratch / ".err";
    const int raw = std::system((command + " >" + Quote(out) + " 2>" + Quote(err)).c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(out), ReadAll(err)};
}

bool OnPath(const std::string& program)
{
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// The installed launcher as a process of its own, with the environment of a player's session.
class Launch {
public:
    Launch(const fs::path& launcher, const std::map<std::string, std::string>& variables,
           const std::vector<std::string>& arguments = {})
    {
        pid = fork();
        if (pid != 0) return;
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) {
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
        }
        for (const auto& [name, value] : variables) {
            if (value.empty()) unsetenv(name.c_str());
            else setenv(name.c_str(), value.c_str(), 1);
        }
        std::vector<char*> argv{const_cast<char*>(launcher.c_str())};
        for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(launcher.c_str(), argv.data());
        _exit(127);
    }
    ~Launch()
    {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    Launch(const Launch&) = delete;
    Launch& operator=(const Launch&) = delete;

    pid_t Pid() const { return pid; }
    std::optional<int> Wait(std::chrono::milliseconds deadline) { return WaitForExit(pid, deadline); }

private:
    pid_t pid = -1;
};

// The game's windows may close between the listing of the windows and a question about one;
// Xlib's default handler would end the whole test binary for that.
int IgnoreVanishedWindows(Display*, XErrorEvent* error)
{
    if (error->error_code != BadWindow && error->error_code != BadDrawable && error->error_code != BadMatch)
        ADD_FAILURE() << "X error " << static_cast<int>(error->error_code);
    return 0;
}

class Installed : public ::testing::Test {
protected:
    void SetUp() override
    {
        XSetErrorHandler(IgnoreVanishedWindows);
        stage = fs::path(scratch.Path()) / "stage";
        prefix = stage / "usr";
        WriteAll(fs::path(scratch.Path()) / "bin/aplay", "#!/bin/sh\nexit 0\n");
        fs::permissions(fs::path(scratch.Path()) / "bin/aplay", fs::perms::owner_all);
    }

    // The packager's command: DESTDIR=<stage> cmake --install <build> --prefix /usr
    Result Install(const std::string& installPrefix = "/usr", bool staged = true)
    {
        const std::string destdir = staged ? "DESTDIR=" + Quote(stage.string()) + " " : "env -u DESTDIR ";
        return Shell(destdir + Quote(KORVANTA_CMAKE) + " --install " + Quote(KORVANTA_BUILD_DIR) + " --prefix " +
                         Quote(installPrefix),
                     scratch.Path());
    }

    fs::path Launcher() const { return prefix / bindir / "korvanta"; }
    fs::path Game() const { return prefix / libexecdir / "korvanta/korvanta"; }
    fs::path Assets() const { return prefix / datadir / "korvanta/Data"; }

    // A player's session: a home of its own, a data home that does not exist yet, a silent aplay.
    std::map<std::string, std::string> Session(const std::string& display) const
    {
        return {{"HOME", scratch.Path() + "/home"},
                {"XDG_DATA_HOME", scratch.Path() + "/data"},
                {"DISPLAY", display},
                {"PATH", scratch.Path() + "/bin:" + std::getenv("PATH")}};
    }
    fs::path PlayerFolder() const { return fs::path(scratch.Path()) / "data/korvanta"; }

    TempFolder scratch;
    fs::path stage, prefix;
};

std::set<std::string> FilesUnder(const fs::path& root)
{
    std::set<std::string> files;
    if (!fs::exists(root)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (!entry.is_directory()) files.insert(fs::relative(entry.path(), root).string());
    return files;
}

std::vector<int> IconSizes()
{
    std::istringstream words(KORVANTA_ICON_SIZES);
    std::vector<int> sizes;
    for (int size = 0; words >> size;) sizes.push_back(size);
    return sizes;
}

// Whether the banner at the top of the main window shows a line: its letters are white.
bool BannerShowsALine(Window window)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    bool found = false;
    if (XImage* image = XGetImage(display, window, 10, 17, 780, 18, AllPlanes, ZPixmap)) {
        for (int y = 0; y < 18 && !found; ++y)
            for (int x = 0; x < 780 && !found; ++x) found = (XGetPixel(image, x, y) & 0xFFFFFF) == 0xFFFFFF;
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return found;
}

}  // namespace

TEST_F(Installed, EveryPartLandsUnderThePrefixAndNothingElse)
{
    const Result install = Install();
    ASSERT_EQ(install.status, 0) << install.out << install.err;

    std::set<std::string> expected = {
        "usr/" + bindir + "/korvanta",
        "usr/" + libexecdir + "/korvanta/korvanta",
        "usr/" + datadir + "/korvanta/Data/pallini27x27.bin",
        "usr/" + datadir + "/korvanta/Data/beep.wav",
        "usr/" + datadir + "/korvanta/Data/punteggio.wav",
        "usr/" + datadir + "/applications/korvanta.desktop",
        "usr/" + mandir + "/man6/korvanta.6",
        "usr/" + datadir + "/metainfo/org.korvanta.Korvanta.metainfo.xml",
    };
    for (int size : IconSizes())
        expected.insert("usr/" + datadir + "/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) +
                        "/apps/korvanta.png");
    EXPECT_EQ(FilesUnder(stage), expected);

    EXPECT_EQ(access(Launcher().c_str(), X_OK), 0);
    EXPECT_EQ(access(Game().c_str(), X_OK), 0);
    EXPECT_EQ(ReadAll(Game()).substr(0, 4), "\x7F" "ELF");
    for (const char* asset : {"pallini27x27.bin", "beep.wav", "punteggio.wav"})
        EXPECT_EQ(ReadAll(Assets() / asset), ReadAll(fs::path(KORVANTA_BUILD_DIR) / "Data" / asset)) << asset;
    for (int size : IconSizes()) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        EXPECT_EQ(ReadAll(prefix / datadir / "icons/hicolor" / name / "apps/korvanta.png").substr(1, 3), "PNG") << name;
    }
}

TEST_F(Installed, TheDesktopEntryValidatesAndNamesTheInstalledLauncherAndIcon)
{
    ASSERT_EQ(Install().status, 0);
    const fs::path entry = prefix / datadir / "applications/korvanta.desktop";
    std::map<std::string, std::string> keys;
    std::istringstream lines(ReadAll(entry));
    for (std::string line; std::getline(lines, line);)
        if (const auto equals = line.find('='); equals != std::string::npos) keys[line.substr(0, equals)] = line.substr(equals + 1);
    EXPECT_EQ(keys["Type"], "Application");
    EXPECT_EQ(keys["Exec"], Launcher().filename().string());
    EXPECT_TRUE(fs::exists(prefix / datadir / "icons/hicolor/48x48/apps" / (keys["Icon"] + ".png"))) << keys["Icon"];
    EXPECT_EQ(keys["Categories"], "Game;ArcadeGame;");
    EXPECT_EQ(keys["Terminal"], "false");

    if (!OnPath("desktop-file-validate")) GTEST_SKIP() << "desktop-file-validate is not installed (desktop-file-utils)";
    const Result check = Shell("desktop-file-validate " + Quote(entry.string()), scratch.Path());
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out + check.err, "") << "no errors, warnings or hints";
}

TEST_F(Installed, TheManualPageRendersWithoutWarningsAndCoversTheGame)
{
    ASSERT_EQ(Install().status, 0);
    const fs::path page = prefix / mandir / "man6/korvanta.6";
    if (!OnPath("man")) GTEST_SKIP() << "man is not installed (man-db)";
    const Result shown = Shell("LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l " + Quote(page.string()), scratch.Path());
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.err, "") << "groff's warnings";
    for (const char* heading : {"NAME", "SYNOPSIS", "DESCRIPTION", "HOW TO PLAY", "KEYS AND BUTTONS", "JOYSTICK", "FILES",
                                "ENVIRONMENT", "EXIT STATUS"})
        EXPECT_NE(shown.out.find(std::string("\n") + heading + "\n"), std::string::npos) << heading;
    for (const std::string& line : DefaultJoystickConfigLines())
        EXPECT_NE(shown.out.find(line), std::string::npos) << "the default " << line;
    for (const char* file : {"log.txt", "joystick.cfg", "Data/Korvanta/Score/Classifica.txt", "Data/pallini27x27.bin"})
        EXPECT_NE(shown.out.find(file), std::string::npos) << file;
    EXPECT_NE(shown.out.find("00000012 ANNA         Level 3"), std::string::npos) << "an example line of the top ten";
    std::istringstream lines(shown.out);
    for (std::string line; std::getline(lines, line);) {
        std::size_t columns = 0;
        for (unsigned char c : line) columns += (c & 0xC0) != 0x80;
        EXPECT_LE(columns, 80u) << line;
    }
}

TEST_F(Installed, TheLauncherRunsTheGameInAFreshPlayerFolder)
{
    ASSERT_EQ(Install().status, 0);
    ASSERT_FALSE(fs::exists(scratch.Path() + "/data"));
    Launch game(Launcher(), Session(SharedXServer().Name()));
    PlayerView screen((Assets() / "pallini27x27.bin").string());
    ASSERT_TRUE(screen.Connected());
    const Window main = screen.WaitForMainWindow(60s);
    ASSERT_NE(main, 0u) << "the game's window";

    // The launcher has become the game itself, working in the player's folder.
    std::error_code error;
    EXPECT_EQ(fs::read_symlink("/proc/" + std::to_string(game.Pid()) + "/cwd", error), PlayerFolder());
    EXPECT_EQ(fs::read_symlink("/proc/" + std::to_string(game.Pid()) + "/exe", error), fs::canonical(Game()));
    for (const char* asset : {"pallini27x27.bin", "beep.wav", "punteggio.wav"})
        EXPECT_EQ(ReadAll(PlayerFolder() / "Data" / asset), ReadAll(Assets() / asset)) << asset;
    EXPECT_TRUE(WaitFor([&] { return fs::exists(PlayerFolder() / "joystick.cfg"); }, 60s)) << "the game's settings file";
    EXPECT_TRUE(WaitFor([&] { return screen.ReadWell(main).IsTitleScreen(); }, 60s)) << "the title screen, drawn from the copied sprites";

    ASSERT_TRUE(screen.QuitGame(60s));
    EXPECT_EQ(game.Wait(60s), std::optional<int>(0));
}

TEST_F(Installed, TheTopTenAndTheSettingsSurviveAReinstallWhileTheAssetsAreRefreshed)
{
    ASSERT_EQ(Install().status, 0);
    {
        Launch first(Launcher(), Session(SharedXServer().Name()));
        PlayerView screen((Assets() / "pallini27x27.bin").string());
        ASSERT_NE(screen.WaitForMainWindow(60s), 0u);
        ASSERT_TRUE(screen.QuitGame(60s));
        ASSERT_EQ(first.Wait(60s), std::optional<int>(0));
    }
    const std::string scores = "00000042 ZOE          Level 4\n00000007 ANNA         Level 1\n";
    const fs::path scoreFile = PlayerFolder() / "Data/Korvanta/Score/Classifica.txt";
    WriteAll(scoreFile, scores);
    std::string settings = ReadAll(PlayerFolder() / "joystick.cfg");
    ASSERT_NE(settings.find("JoystickEnable= 1"), std::string::npos);
    settings.replace(settings.find("JoystickEnable= 1"), 17, "JoystickEnable= 0");
    WriteAll(PlayerFolder() / "joystick.cfg", settings);
    // An older game's sprite sheet, which the next start must replace.
    WriteAll(PlayerFolder() / "Data/pallini27x27.bin", "an older sprite sheet");

    const Result again = Install();
    ASSERT_EQ(again.status, 0) << again.err;
    Launch second(Launcher(), Session(SharedXServer().Name()));
    PlayerView screen((Assets() / "pallini27x27.bin").string());
    const Window main = screen.WaitForMainWindow(60s);
    ASSERT_NE(main, 0u);
    EXPECT_EQ(ReadAll(PlayerFolder() / "Data/pallini27x27.bin"), ReadAll(Assets() / "pallini27x27.bin"));
    EXPECT_TRUE(WaitFor([&] { return screen.ReadWell(main).IsTitleScreen(); }, 60s)) << "the refreshed sprites on screen";
    EXPECT_TRUE(WaitFor([&] { return BannerShowsALine(main); }, 60s)) << "the banner shows the kept top ten";
    ASSERT_TRUE(screen.QuitGame(60s));
    EXPECT_EQ(second.Wait(60s), std::optional<int>(0));
    EXPECT_EQ(ReadAll(scoreFile), scores);
    EXPECT_EQ(ReadAll(PlayerFolder() / "joystick.cfg"), settings);
}

TEST_F(Installed, WithoutAnAbsoluteXdgDataHomeThePlayerFolderIsUnderHome)
{
    ASSERT_EQ(Install().status, 0);
    for (const std::string dataHome : {"", "relative/data"}) {
        auto session = Session("");
        session["XDG_DATA_HOME"] = dataHome;
        Launch game(Launcher(), session);
        // No display: the game stops at once, but only after the launcher made the folder.
        EXPECT_EQ(game.Wait(60s), std::optional<int>(1)) << "'" << dataHome << "'";
        const fs::path folder = fs::path(scratch.Path()) / "home/.local/share/korvanta";
        EXPECT_EQ(ReadAll(folder / "log.txt"), "XOpenDisplay(0) failed.\n") << "'" << dataHome << "'";
        EXPECT_TRUE(fs::exists(folder / "Data/pallini27x27.bin"));
        EXPECT_FALSE(fs::exists(scratch.Path() + "/relative"));
        fs::remove_all(scratch.Path() + "/home");
    }
}

TEST_F(Installed, TheLauncherTakesNoArguments)
{
    ASSERT_EQ(Install().status, 0);
    Launch game(Launcher(), Session(""), {"--help"});
    EXPECT_EQ(game.Wait(60s), std::optional<int>(2));
    EXPECT_FALSE(fs::exists(PlayerFolder()));
}

TEST_F(Installed, UnderTheHomePrefixTheAssetsAlreadyLieInThePlayerFolder)
{
    // Installed with the prefix ~/.local, share/korvanta is the player's folder itself.
    const fs::path home = fs::path(scratch.Path()) / "home";
    ASSERT_EQ(Install((home / ".local").string(), false).status, 0);
    auto session = Session("");
    session["XDG_DATA_HOME"] = "";
    Launch game(home / ".local" / bindir / "korvanta", session);
    EXPECT_EQ(game.Wait(60s), std::optional<int>(1)) << "the game ran and found no display";
    EXPECT_EQ(ReadAll(home / ".local/share/korvanta/log.txt"), "XOpenDisplay(0) failed.\n");
    EXPECT_EQ(ReadAll(home / ".local/share/korvanta/Data/pallini27x27.bin"),
              ReadAll(fs::path(KORVANTA_BUILD_DIR) / "Data/pallini27x27.bin"));
}

TEST_F(Installed, UninstallRemovesTheGameButKeepsThePlayersTopTen)
{
    const fs::path home = fs::path(scratch.Path()) / "home";
    ASSERT_EQ(Install((home / ".local").string(), false).status, 0);
    const fs::path scoreFile = home / ".local/share/korvanta/Data/Korvanta/Score/Classifica.txt";
    WriteAll(scoreFile, "00000042 ZOE          Level 4\n");
    const std::string build = fs::relative(KORVANTA_BUILD_DIR, KORVANTA_SOURCE_DIR).string();
    const Result removed = Shell("env -u DESTDIR KORVANTA_BUILD=" + Quote(build) + " " +
                                     Quote(std::string(KORVANTA_SOURCE_DIR) + "/scripts/uninstall.sh") + " " +
                                     Quote((home / ".local").string()),
                                 scratch.Path());
    ASSERT_EQ(removed.status, 0) << removed.out << removed.err;
    EXPECT_EQ(FilesUnder(home / ".local"), (std::set<std::string>{"share/korvanta/Data/Korvanta/Score/Classifica.txt"}));
    EXPECT_FALSE(fs::exists(home / ".local/libexec/korvanta"));

    // A staged install goes away whole.
    ASSERT_EQ(Install().status, 0);
    const Result staged = Shell("DESTDIR=" + Quote(stage.string()) + " KORVANTA_BUILD=" + Quote(build) + " " +
                                    Quote(std::string(KORVANTA_SOURCE_DIR) + "/scripts/uninstall.sh") + " /usr",
                                scratch.Path());
    ASSERT_EQ(staged.status, 0) << staged.out << staged.err;
    EXPECT_EQ(FilesUnder(stage), std::set<std::string>{});
}

// The Debian package, built the way scripts/package.sh builds it, holds the installed tree, with
// the command in /usr/games as Debian keeps games, and passes the checks Debian runs on packages.
TEST_F(Installed, TheDebianPackageHoldsTheInstalledTreeAndPassesLintianAndAppStream)
{
    for (const char* tool : {"dpkg-buildpackage", "dh", "lintian", "appstreamcli"})
        if (!OnPath(tool))
            GTEST_SKIP() << tool << " is not installed (packages dpkg-dev, debhelper, lintian, appstream): "
                         << "scripts/install-deps.sh installs them";
    const fs::path source = KORVANTA_SOURCE_DIR;
    // What a build in the tree itself would leave: debhelper's state in debian/, its build folder
    // and the package files beside the tree.
    const auto leftovers = [&] {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(source / "debian")) names.insert(entry.path().string());
        for (const fs::path& folder : {source, source.parent_path()})
            for (const auto& entry : fs::directory_iterator(folder))
                if (const std::string name = entry.path().filename().string(); name.starts_with("obj-") || name.starts_with("korvanta_"))
                    names.insert(entry.path().string());
        return names;
    };
    const std::set<std::string> before = leftovers();

    const fs::path dist = fs::path(scratch.Path()) / "dist";
    const Result built = Shell("KORVANTA_DIST=" + Quote(dist.string()) + " " + Quote((source / "scripts/package.sh").string()) +
                                   " </dev/null",
                               scratch.Path());
    ASSERT_EQ(built.status, 0) << built.out.substr(built.out.size() > 4000 ? built.out.size() - 4000 : 0) << built.err;
    EXPECT_EQ(leftovers(), before) << "the build left files in or beside the source tree";
    std::string last = built.out.substr(0, built.out.find_last_not_of('\n') + 1);
    last = last.substr(last.find_last_of('\n') + 1);
    const std::string arch = Shell("dpkg --print-architecture", scratch.Path()).out;
    const fs::path deb = dist / ("korvanta_1.0.0-1_" + arch.substr(0, arch.find('\n')) + ".deb");
    ASSERT_EQ(last, deb.string()) << "the package's path, as the last line";
    ASSERT_TRUE(fs::is_regular_file(deb));

    // The files: what cmake --install puts under /usr, the manual compressed, plus Debian's two
    // documents; programs executable, everything owned by root.
    ASSERT_EQ(Install().status, 0);
    std::set<std::string> expected;
    for (std::string file : FilesUnder(stage)) {
        if (file == "usr/" + bindir + "/korvanta") file = "usr/games/korvanta";
        if (file.starts_with("usr/" + mandir + "/")) file += ".gz";
        expected.insert("./" + file);
    }
    expected.insert({"./usr/share/doc/korvanta/copyright", "./usr/share/doc/korvanta/changelog.Debian.gz"});
    const Result listing = Shell("dpkg-deb -c " + Quote(deb.string()), scratch.Path());
    ASSERT_EQ(listing.status, 0) << listing.err;
    std::set<std::string> files;
    std::istringstream lines(listing.out);
    for (std::string mode, owner, size, day, time, path; lines >> mode >> owner >> size >> day >> time && std::getline(lines, path);) {
        path = path.substr(path.find_first_not_of(' '));
        EXPECT_EQ(owner, "root/root") << path;
        if (mode[0] == 'd') continue;
        files.insert(path);
        const bool program = path == "./usr/games/korvanta" || path == "./usr/" + libexecdir + "/korvanta/korvanta";
        EXPECT_EQ(mode, program ? "-rwxr-xr-x" : "-rw-r--r--") << path;
    }
    EXPECT_EQ(files, expected);

    const auto field = [&](const std::string& name) {
        std::string value = Shell("dpkg-deb -f " + Quote(deb.string()) + " " + name, scratch.Path()).out;
        return value.substr(0, value.find_last_not_of('\n') + 1);
    };
    EXPECT_EQ(field("Package"), "korvanta");
    EXPECT_EQ(field("Version"), "1.0.0-1");
    EXPECT_EQ(field("Section"), "non-free/games");
    EXPECT_EQ(field("Priority"), "optional");
    EXPECT_EQ(field("Recommends"), "alsa-utils");
    EXPECT_EQ(field("Homepage"), "https://www.korvanta.org");
    // Computed from the program's libraries, not written by hand (the C++ runtime is linked in).
    const std::string depends = field("Depends");
    std::set<std::string> needed;
    std::istringstream alternatives(depends);
    for (std::string entry; std::getline(alternatives, entry, ',');) {
        std::istringstream words(entry);
        std::string name;
        words >> name;
        needed.insert(name);
    }
    for (const char* library : {"libc6", "libx11-6"}) EXPECT_EQ(needed.count(library), 1u) << depends;

    // No error from lintian, and every warning it gives is one the README explains.
    const Result lint = Shell("lintian --tag-display-limit 0 " + Quote(deb.string()), scratch.Path());
    EXPECT_EQ(lint.status, 0) << lint.out << lint.err;
    const std::string readme = ReadAll(source / "README.md");
    std::istringstream findings(lint.out);
    for (std::string line; std::getline(findings, line);) {
        EXPECT_FALSE(line.starts_with("E:")) << line;
        if (line.starts_with("W:")) {
            std::istringstream words(line);
            std::string severity, package, tag;
            words >> severity >> package >> tag;
            EXPECT_NE(readme.find("`" + tag + "`"), std::string::npos) << "a warning the README does not explain: " << line;
        }
    }

    // The AppStream metadata validates, also against the desktop entry it launches (which must be
    // in the package), and shows the README's four screenshots.
    const fs::path unpacked = fs::path(scratch.Path()) / "unpacked";
    ASSERT_EQ(Shell("dpkg-deb -x " + Quote(deb.string()) + " " + Quote(unpacked.string()), scratch.Path()).status, 0);
    // From /usr/games the packaged command still finds the game and its data: with no display the
    // game starts in a new player folder, logs that and stops.
    Launch game(unpacked / "usr/games/korvanta", Session(""));
    EXPECT_EQ(game.Wait(20s), std::optional<int>(1));
    EXPECT_EQ(ReadAll(PlayerFolder() / "log.txt"), "XOpenDisplay(0) failed.\n");

    const fs::path metainfo = unpacked / "usr/share/metainfo/org.korvanta.Korvanta.metainfo.xml";
    const Result valid = Shell("appstreamcli validate --no-net " + Quote(metainfo.string()), scratch.Path());
    EXPECT_EQ(valid.status, 0) << valid.out << valid.err;
    const Result tree = Shell("appstreamcli validate-tree --no-net " + Quote(unpacked.string()), scratch.Path());
    EXPECT_EQ(tree.status, 0) << tree.out << tree.err;
    const std::string metadata = ReadAll(metainfo);
    int screenshots = 0;
    for (const auto& shot : fs::directory_iterator(source / "docs/screenshots")) {
        ++screenshots;
        EXPECT_NE(metadata.find(">https://www.korvanta.org/screenshots/" + shot.path().filename().string() + "</image>"),
                  std::string::npos)
            << shot.path().filename();
    }
    EXPECT_EQ(screenshots, 4);
}
