// The benchmark. Under a private Xvfb it measures, in one run: the game idle on its title screen
// side by side with the floor client and a bare sleep loop, so that all three see the same machine;
// a toolkit form with no timer; the time from exec to the title screen fully painted; the game in
// play under a scripted player; its peak memory; and the X traffic of each ball step. It prints
// one table, writes it as Markdown and exits with 1 when a budget is missed. bench/run.sh builds
// and runs it.
//
//   korvanta-bench --game BIN --floor BIN --idle-form BIN --data DIR --output FILE [--quick] [--commit TEXT]

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/select.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <numeric>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/PaintWatch.h"
#include "bench/ProcessStats.h"
#include "bench/Programs.h"
#include "bench/Report.h"
#include "tools/harness/PlayerView.h"
#include "tools/harness/Poll.h"
#include "tools/harness/XServer.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using namespace std::chrono_literals;

struct Options {
    std::string game, floor, idleForm, data, output, commit;
    bool quick = false;
};

// How long each part runs. CPU and wake-ups are taken in windows and the median window counts, so
// that a burst of another process on the machine moves one window, not the verdict.
struct Plan {
    int starts;
    milliseconds idleWindow;
    int idleWindows;
    milliseconds noTimer;
    milliseconds playWindow;
    int playWindows;
    milliseconds quiet;  // how long the well stays unpainted before start-up counts as finished
};

constexpr Plan fullPlan{7, 5000ms, 6, 10000ms, 5000ms, 8, 500ms};
constexpr Plan quickPlan{5, 2000ms, 3, 3000ms, 3000ms, 3, 300ms};

constexpr double idleRatioBudget = 1.5;
constexpr double idleCpuBudget = 0.5;     // percent of one core
constexpr double idleWakeUpBudget = 110;  // per second
constexpr double playCpuBudget = 2.0;     // percent of one core
constexpr double startupBudgetMs = 150;
constexpr double residentBudgetMb = 25;  // 10^6 bytes

constexpr int catcherSprite = 6, pegSprite = 5, catcherRow = 13;
constexpr int startX = 572 + 50, startY = 117 + 14;

const char* const gameTitle = "Korvanta - ";
const char* const floorTitle = "Korvanta floor client";
const char* const idleFormTitle = "Korvanta idle form";

double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Mean(const std::vector<double>& values)
{
    return values.empty() ? 0 : std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

std::string List(const std::vector<double>& values, int decimals)
{
    std::string text;
    for (double value : values) text += (text.empty() ? "" : ", ") + Fixed(value, decimals);
    return text;
}

using Well = std::array<int, 180>;

int At(const Well& well, int column, int row) { return well[static_cast<std::size_t>(column + 12 * row)]; }

// Walls, floor, the four title balls, and nothing but word-mark blocks elsewhere.
bool IsTitleScreen(const Well& well)
{
    for (int row = 0; row < 15; ++row) {
        for (int column = 0; column < 12; ++column) {
            const int sprite = At(well, column, row);
            int expected = -1;
            if (row == 14)
                expected = column == 0 ? 10 : column == 11 ? 11 : 8;
            else if (column == 0 || column == 11)
                expected = column == 0 ? 7 : 9;
            else if (column == 8 && row == 8)
                expected = 2;
            else if (column == 7 && row == 9)
                expected = 1;
            else if (column == 9 && row == 9)
                expected = 3;
            else if (column == 8 && row == 10)
                expected = 4;
            if (expected >= 0 && sprite != expected) return false;
            if (expected < 0 && sprite != 0 && !((sprite == 12 || sprite == 13) && row >= 2 && row <= 6)) return false;
        }
    }
    return true;
}

int CatcherColumn(const Well& well)
{
    for (int column = 1; column <= 10; ++column)
        if (At(well, column, catcherRow) == catcherSprite) return column;
    return -1;
}

// The column of the ball nearest the catcher's row, or -1.
int LowestBallColumn(const Well& well)
{
    for (int row = catcherRow - 1; row >= 0; --row)
        for (int column = 1; column <= 10; ++column)
            if (const int sprite = At(well, column, row); sprite >= 1 && sprite <= 3) return column;
    return -1;
}

// A ball drawn on the catcher's row is a ball that was missed: the game is over.
bool GameLost(const Well& well)
{
    for (int column = 1; column <= 10; ++column)
        if (const int sprite = At(well, column, catcherRow); sprite >= 1 && sprite <= 3) return true;
    return false;
}

bool InPlay(const Well& well)
{
    return std::count(well.begin(), well.end(), pegSprite) == 25 && CatcherColumn(well) > 0;
}

// EXIT and YES, as a player quits; a game that does not end in time is stopped.
bool Quit(PlayerView& screen, Program& game)
{
    if (screen.QuitGame(10s) && game.Wait(10s)) return true;
    game.Stop();
    return false;
}

struct Failure {
    std::string what;
};

// ---- Start-up -------------------------------------------------------------------------------

std::vector<double> MeasureStartup(const Options& options, const Plan& plan, PlayerView& screen, Report& report)
{
    PaintWatch watch;
    if (!watch.Ready()) throw Failure{"the X server has no RECORD extension to watch the paints with"};
    std::vector<double> times;
    std::vector<double> paints;
    for (int start = 0; start < plan.starts; ++start) {
        RunFolder folder(options.data);
        watch.Reset();
        const auto launched = Clock::now();
        Program game(options.game, folder);
        const auto lastPaint = watch.LastWellPaint(plan.quiet, 20s);
        const Window main = screen.WaitForMainWindow(5s);
        if (!lastPaint || !main) throw Failure{"the game showed no well after start " + std::to_string(start + 1)};
        if (!IsTitleScreen(screen.ReadWell(main)))
            throw Failure{"the well was not the title screen once painting stopped (start " + std::to_string(start + 1) + ")"};
        times.push_back(std::chrono::duration<double, std::milli>(*lastPaint - launched).count());
        paints.push_back(watch.WellPaints());
        if (!Quit(screen, game)) report.Note("Start " + std::to_string(start + 1) + ": the game did not quit by EXIT.");
    }
    report.Note("Exec to painted title screen, each start (ms): " + List(times, 1) + "; images put into the well per start: " +
                List(paints, 0) + ".");
    return times;
}

// ---- A form with no timer -------------------------------------------------------------------

ProcessRates MeasureNoTimer(const Options& options, const Plan& plan, PlayerView& screen)
{
    RunFolder folder(options.data);
    Program form(options.idleForm, folder);
    if (!WaitFor([&] { return screen.FindWindow(idleFormTitle) != 0; }, 10s))
        throw Failure{"the form without a timer never showed"};
    std::this_thread::sleep_for(500ms);
    const ProcessSample first = SampleProcess(form.Pid());
    std::this_thread::sleep_for(plan.noTimer);
    const ProcessSample last = SampleProcess(form.Pid());
    if (!first.valid || !last.valid) throw Failure{"the form without a timer could not be measured"};
    form.Stop();
    return RatesBetween(first, last);
}

// This machine's price of 100 wake-ups a second with no X connection and no work at all: the part
// of the idle figures that no program with a 10 ms wait can get below.
class SleepLoop {
public:
    SleepLoop()
    {
        pid = fork();
        if (pid != 0) return;
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        for (;;) {
            timeval wait{0, 10000};
            select(0, nullptr, nullptr, nullptr, &wait);
        }
    }
    ~SleepLoop()
    {
        if (pid <= 0) return;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    SleepLoop(const SleepLoop&) = delete;
    SleepLoop& operator=(const SleepLoop&) = delete;

    pid_t Pid() const { return pid; }

private:
    pid_t pid = -1;
};

// ---- Title screen beside the floor, then play -----------------------------------------------

struct Windows {
    std::vector<double> cpu, wakeUps;

    void Add(const ProcessRates& rates)
    {
        cpu.push_back(rates.cpuPercent);
        wakeUps.push_back(rates.wakeUpsPerSecond);
    }
};

struct GameFigures {
    Windows sleepLoop, floor, title, play;
    ProcessRates floorWhole, titleWhole, playWhole;  // each whole period, for the cross-check in ticks
    long peakKilobytes = -1;
    std::vector<double> stepRequests, stepBytes;
    int gamesStarted = 0, gamesLost = 0, namesEntered = 0;
};

// A game lost with points asks for the player's name before anything else can be done.
void EnterName(PlayerView& screen, Window dialog, GameFigures& figures)
{
    screen.MovePointer(dialog, 125, 55);
    for (unsigned long key : {XK_b, XK_e, XK_n, XK_c, XK_h}) screen.Type(key, true);
    screen.Type(XK_Return);
    if (!WaitFor([&] { return screen.FindWindow("Top Ten") == 0; }, 5s)) throw Failure{"the name form stayed open"};
    ++figures.namesEntered;
}

// Follows the lowest ball with the catcher for the plan's play windows, starting again after a
// lost game; samples the game's CPU and wake-ups at the end of each window.
void Play(PlayerView& screen, Program& game, Window main, const Plan& plan, GameFigures& figures)
{
    unsigned long held = 0;
    auto hold = [&](unsigned long key) {
        if (held == key) return;
        if (held) screen.Key(held, false);
        if (key) screen.Key(key, true);
        held = key;
    };
    auto start = [&] {
        hold(0);
        screen.Click(main, startX, startY);
        if (!WaitFor([&] { return InPlay(screen.ReadWell(main)); }, 5s)) throw Failure{"START did not start a game"};
        screen.MovePointer(main, 400, 300);
        ++figures.gamesStarted;
    };

    start();
    ProcessSample previous = SampleProcess(game.Pid());
    const ProcessSample first = previous;
    const auto begin = previous.at;
    for (int window = 1; window <= plan.playWindows; ++window) {
        const auto windowEnd = begin + plan.playWindow * window;
        while (Clock::now() < windowEnd) {
            Window nameForm = screen.FindWindow("Top Ten");
            const Well well = screen.ReadWell(main);
            if (nameForm || GameLost(well)) {
                hold(0);
                ++figures.gamesLost;
                // A game lost with points asks for the player's name first; the form may take a moment.
                if (!nameForm) WaitFor([&] { return (nameForm = screen.FindWindow("Top Ten")) != 0; }, 500ms);
                if (nameForm) EnterName(screen, nameForm, figures);
                start();
                continue;
            }
            const int catcher = CatcherColumn(well), ball = LowestBallColumn(well);
            hold(catcher < 0 || ball < 0 || catcher == ball ? 0 : catcher < ball ? XK_Right : XK_Left);
            std::this_thread::sleep_for(40ms);
        }
        const ProcessSample now = SampleProcess(game.Pid());
        figures.play.Add(RatesBetween(previous, now));
        previous = now;
    }
    figures.playWhole = RatesBetween(first, previous);
    hold(0);
    if (const Window dialog = screen.FindWindow("Top Ten")) EnterName(screen, dialog, figures);
}

void MeasureGame(const Options& options, const Plan& plan, PlayerView& screen, GameFigures& figures)
{
    RunFolder floorFolder(options.data);
    Program floor(options.floor, floorFolder);
    RunFolder folder(options.data);
    Program game(options.game, folder, {{"KORVANTA_TRAFFIC_LOG", folder.Path() + "/traffic.txt"}});

    Window main = 0;
    if (!WaitFor([&] { return (main = screen.FindWindow(gameTitle)) != 0 && IsTitleScreen(screen.ReadWell(main)); }, 20s, 50ms))
        throw Failure{"the game never showed its title screen"};
    if (!WaitFor([&] { return screen.FindWindow(floorTitle) != 0; }, 10s)) throw Failure{"the floor client never showed"};

    {
        SleepLoop sleepLoop;
        // Let start-up's last work and the first timer ticks pass before counting.
        std::this_thread::sleep_for(1s);
        ProcessSample sleepBefore = SampleProcess(sleepLoop.Pid()), floorBefore = SampleProcess(floor.Pid()),
                      gameBefore = SampleProcess(game.Pid());
        const ProcessSample floorFirst = floorBefore, gameFirst = gameBefore;
        const auto begin = Clock::now();
        for (int window = 1; window <= plan.idleWindows; ++window) {
            std::this_thread::sleep_until(begin + plan.idleWindow * window);
            const ProcessSample sleepNow = SampleProcess(sleepLoop.Pid()), floorNow = SampleProcess(floor.Pid()),
                                gameNow = SampleProcess(game.Pid());
            if (!sleepNow.valid || !floorNow.valid || !gameNow.valid)
                throw Failure{"the game, the floor client or the sleep loop ended while idle"};
            figures.sleepLoop.Add(RatesBetween(sleepBefore, sleepNow));
            figures.floor.Add(RatesBetween(floorBefore, floorNow));
            figures.title.Add(RatesBetween(gameBefore, gameNow));
            sleepBefore = sleepNow;
            floorBefore = floorNow;
            gameBefore = gameNow;
        }
        figures.floorWhole = RatesBetween(floorFirst, floorBefore);
        figures.titleWhole = RatesBetween(gameFirst, gameBefore);
    }
    floor.Stop();

    Play(screen, game, main, plan, figures);
    figures.peakKilobytes = PeakResidentKilobytes(game.Pid());
    if (!Quit(screen, game)) throw Failure{"the game did not quit by EXIT after play"};

    std::istringstream traffic(folder.ReadFile("traffic.txt"));
    double requests = 0, bytes = 0;
    while (traffic >> requests >> bytes) {
        figures.stepRequests.push_back(requests);
        figures.stepBytes.push_back(bytes);
    }
}

// ---- The report -----------------------------------------------------------------------------

std::string FirstLineWith(const std::string& path, const std::string& key)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return line.substr(line.find(':') + 2);
    return "unknown";
}

std::string LoadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

std::vector<std::string> Machine(const Options& options, const std::string& loadBefore)
{
    utsname system{};
    uname(&system);
    char date[64];
    const std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M %Z", std::localtime(&now));
    return {
        std::string("Date: ") + date,
        "Machine: " + FirstLineWith("/proc/cpuinfo", "model name") + ", " +
            std::to_string(std::thread::hardware_concurrency()) + " CPUs, Linux " + system.release,
        "Load average (1, 5, 15 min) before and after: " + loadBefore + " / " + LoadAverage(),
        "Commit: " + (options.commit.empty() ? std::string("unknown") : options.commit),
        std::string("Mode: ") + (options.quick ? "quick (short durations, a smoke check)" : "full"),
        "X server: Xvfb, 24-bit, 1920 x 1200, started by the benchmark",
        "CPU time from " + CpuTimeSource() + "; wake-ups from voluntary + involuntary context switches in "
        "/proc/PID/status; figures are per process, as a share of one core",
    };
}

void AddFigures(Report& report, const Plan& plan, const std::vector<double>& startup, const ProcessRates& noTimer,
                const GameFigures& figures)
{
    const std::string idleWindows = std::to_string(plan.idleWindows) + " x " + std::to_string(plan.idleWindow.count() / 1000) + " s";
    const double floorCpu = Median(figures.floor.cpu), titleCpu = Median(figures.title.cpu);
    const double ratio = floorCpu > 0 ? titleCpu / floorCpu : 0;
    report.Add("Bare 10 ms sleep loop, no X: CPU (median of " + idleWindows + ")",
               Fixed(Median(figures.sleepLoop.cpu), 3) + " % of a core");
    report.Add("Bare 10 ms sleep loop: wake-ups", Fixed(Median(figures.sleepLoop.wakeUps), 1) + " /s");
    report.Add("Floor client idle: CPU (same windows)", Fixed(floorCpu, 3) + " % of a core");
    report.Add("Floor client idle: wake-ups", Fixed(Median(figures.floor.wakeUps), 1) + " /s");
    report.Check("Title screen idle: CPU (same windows)", Fixed(titleCpu, 3) + " % of a core", "< " + Fixed(idleCpuBudget, 1) + " %",
                 titleCpu < idleCpuBudget);
    report.Check("Title screen idle: CPU game / floor", Fixed(ratio, 2), "<= " + Fixed(idleRatioBudget, 1),
                 floorCpu > 0 && ratio <= idleRatioBudget);
    const double titleWakeUps = Median(figures.title.wakeUps);
    report.Check("Title screen idle: wake-ups", Fixed(titleWakeUps, 1) + " /s", "<= " + Fixed(idleWakeUpBudget, 0) + " /s",
                 titleWakeUps <= idleWakeUpBudget);

    const std::string playWindows = std::to_string(plan.playWindows) + " x " + std::to_string(plan.playWindow.count() / 1000) + " s";
    const double playCpu = Median(figures.play.cpu);
    report.Check("Play, scripted player: CPU (median of " + playWindows + ")", Fixed(playCpu, 3) + " % of a core",
                 "< " + Fixed(playCpuBudget, 0) + " %", playCpu < playCpuBudget);
    report.Add("Play: wake-ups", Fixed(Median(figures.play.wakeUps), 1) + " /s");

    const double startupMs = Median(startup);
    report.Check("Exec to title screen painted (median of " + std::to_string(startup.size()) + ")", Fixed(startupMs, 1) + " ms",
                 "< " + Fixed(startupBudgetMs, 0) + " ms", !startup.empty() && startupMs < startupBudgetMs);

    const double peakMb = static_cast<double>(figures.peakKilobytes) * 1024 / 1e6;
    report.Check("Peak resident memory (VmHWM, after play)", Fixed(peakMb, 1) + " MB", "< " + Fixed(residentBudgetMb, 0) + " MB",
                 figures.peakKilobytes > 0 && peakMb < residentBudgetMb);

    const std::string steps = std::to_string(figures.stepRequests.size());
    if (figures.stepRequests.empty()) {
        report.Check("X traffic per ball step", "no ball step was counted", "counted", false);
    } else {
        report.Add("X requests per ball step (median; mean of " + steps + ")",
                   Fixed(Median(figures.stepRequests), 0) + "; " + Fixed(Mean(figures.stepRequests), 1));
        report.Add("X bytes sent per ball step (median; mean)",
                   Fixed(Median(figures.stepBytes), 0) + "; " + Fixed(Mean(figures.stepBytes), 0));
    }

    report.Check("Form without timer: wake-ups (" + std::to_string(plan.noTimer.count() / 1000) + " s)",
                 Fixed(noTimer.wakeUpsPerSecond, 2) + " /s", "0 /s", noTimer.wakeUpsPerSecond == 0);
    report.Add("Form without timer: CPU", Fixed(noTimer.cpuPercent, 3) + " % of a core");

    report.Note("Reading the idle rows: the sleep loop is what this machine charges for 100 wake-ups a second with no "
                "X at all; the floor adds the X connection and the loop's XPending; the title screen adds the game.");
    report.Note("Idle windows, CPU % sleep loop: " + List(figures.sleepLoop.cpu, 3) + "; floor: " + List(figures.floor.cpu, 3) +
                "; game: " + List(figures.title.cpu, 3) + ".");
    report.Note("Idle windows, wake-ups/s sleep loop: " + List(figures.sleepLoop.wakeUps, 1) + "; floor: " +
                List(figures.floor.wakeUps, 1) + "; game: " + List(figures.title.wakeUps, 1) + ".");
    report.Note("Play windows, CPU %: " + List(figures.play.cpu, 3) + "; wake-ups/s: " + List(figures.play.wakeUps, 1) + ".");
    report.Note("The same CPU from /proc/PID/stat utime + stime over each whole period (10 ms ticks): floor " +
                Fixed(figures.floorWhole.tickCpuPercent, 3) + " %, title screen " + Fixed(figures.titleWhole.tickCpuPercent, 3) +
                " %, play " + Fixed(figures.playWhole.tickCpuPercent, 3) + " %.");
    report.Note("Play: " + std::to_string(figures.gamesStarted) + " games started, " + std::to_string(figures.gamesLost) +
                " lost, " + std::to_string(figures.namesEntered) + " names entered; " + steps + " ball steps counted.");
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        bool ok = true;
        if (argument == "--quick")
            options.quick = true;
        else if (argument == "--game")
            ok = value(options.game);
        else if (argument == "--floor")
            ok = value(options.floor);
        else if (argument == "--idle-form")
            ok = value(options.idleForm);
        else if (argument == "--data")
            ok = value(options.data);
        else if (argument == "--output")
            ok = value(options.output);
        else if (argument == "--commit")
            ok = value(options.commit);
        else
            ok = false;
        if (!ok) return false;
    }
    if (options.game.empty() || options.floor.empty() || options.idleForm.empty() || options.data.empty() ||
        options.output.empty())
        return false;
    // The programs start in folders of their own.
    for (std::string* path : {&options.game, &options.floor, &options.idleForm, &options.data})
        *path = std::filesystem::absolute(*path).string();
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::cerr << "usage: korvanta-bench --game BIN --floor BIN --idle-form BIN --data DIR --output FILE [--quick] "
                     "[--commit TEXT]\n";
        return 2;
    }
    const Plan& plan = options.quick ? quickPlan : fullPlan;
    const std::string loadBefore = LoadAverage();

    XServer server;
    if (!server.Start(24, 1920, 1200)) {
        std::cerr << "korvanta-bench: Xvfb did not start\n";
        return 2;
    }
    setenv("DISPLAY", server.Name().c_str(), 1);

    Report report;
    try {
        PlayerView screen(options.data + "/pallini27x27.bin");
        if (!screen.Connected()) throw Failure{"no connection to the benchmark's Xvfb"};
        std::cout << "Measuring start-up..." << std::endl;
        const std::vector<double> startup = MeasureStartup(options, plan, screen, report);
        std::cout << "Measuring a form without a timer..." << std::endl;
        const ProcessRates noTimer = MeasureNoTimer(options, plan, screen);
        std::cout << "Measuring the title screen beside the floor client, then play..." << std::endl;
        GameFigures figures;
        MeasureGame(options, plan, screen, figures);
        AddFigures(report, plan, startup, noTimer, figures);
    } catch (const Failure& failure) {
        report.Check("Benchmark run", "failed: " + failure.what, "completes", false);
    }

    const std::string title = options.quick ? "Korvanta benchmark (quick)" : "Korvanta benchmark";
    std::cout << "\n" << report.Table();
    std::ofstream(options.output) << report.Markdown(title, Machine(options, loadBefore));
    std::cout << "Written to " << options.output << "\n";
    return report.AllMet() ? 0 : 1;
}
