// The benchmark. Under a private Xvfb it measures, in one run: the game idle on its title screen
// side by side with the two floor clients, a bare sleep loop and the peer games that are installed,
// so that all of them see the same machine; a toolkit form with no timer; the time from exec to the
// title screen fully painted; how far a ball falls in 4 s of play with the pointer still and moving
// over the well, and how fast a held key moves the catcher; the game in play with no input and
// under a scripted player beside the 10 ms floor; its peak memory; and the X traffic of each ball
// step. It prints one table, writes it as Markdown and exits with 1 when a budget is missed.
// bench/run.sh builds and runs it.
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
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <numeric>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/PaintWatch.h"
#include "bench/Peers.h"
#include "bench/PointerMover.h"
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
    int fallRounds;      // each: the pointer still, then at each motion rate
};

constexpr Plan fullPlan{7, 5000ms, 6, 10000ms, 5000ms, 8, 500ms, 3};
constexpr Plan quickPlan{5, 2000ms, 3, 3000ms, 3000ms, 3, 300ms, 1};

// Budgets on CPU are ratios to the 10 ms floor measured in the same windows: on a shared machine
// only figures measured side by side hold.
constexpr double idleCpuRatioBudget = 0.05;      // title screen / floor
constexpr double idleWakeUpBudget = 1;           // per second
constexpr double quietPlayCpuRatioBudget = 0.5;  // play with no input / floor
constexpr double quietPlayWakeUpBudget = 12;     // per second
constexpr double playCpuRatioBudget = 2.0;       // play / floor
constexpr double startupBudgetMs = 150;
// 10^6 bytes, when no peer game was measured; otherwise the lightest peer's peak is the budget.
constexpr double residentBudgetMb = 5;
// A ball step's traffic as it was measured before the loop and the sprites changed: it must stay.
constexpr double stepRequestsExpected = 8, stepBytesExpected = 6008;

// A ball falls one row every 26th tick of the game's 30 ms timer; a held key moves the catcher one
// column every 5th.
constexpr milliseconds ballStep{26 * 30};
constexpr double catcherStepMs = 5 * 30, catcherStepToleranceMs = 30;
constexpr milliseconds fallPeriod = 4000ms;
constexpr int fallRowsExpected = static_cast<int>(fallPeriod / ballStep);
// The pointer still, an ordinary mouse and a gaming mouse, in motions per second.
constexpr std::array<int, 3> motionRates{0, 125, 500};
constexpr int motionX = 175 + 6 * 27, motionY = 117 + 7 * 27;  // over the middle of the well

constexpr int catcherSprite = 6, pegSprite = 5, catcherRow = 13;
constexpr int startX = 572 + 50, startY = 117 + 14;

const char* const gameTitle = "Korvanta - ";
const char* const floorTitle = "Korvanta floor client";
const char* const blockingFloorTitle = "Korvanta blocking floor client";
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

using Well = ShownWell;

bool IsTitleScreen(const Well& well) { return well.IsTitleScreen(); }
int CatcherColumn(const Well& well) { return well.CatcherColumn(); }
int LowestBallColumn(const Well& well) { return well.LowestBall() ? well.LowestBall()->column : -1; }
bool GameLost(const Well& well) { return well.ShowsAMissedBall(); }
bool InPlay(const Well& well) { return well.ShowsAGame() || well.ShowsAMissedBall(); }
std::optional<int> BallRow(const Well& well) { return well.LowestBall() ? std::optional<int>(well.LowestBall()->row) : std::nullopt; }

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

// ---- A ball's fall under pointer motion -----------------------------------------------------

struct FallFigures {
    // By motion rate, one entry per round.
    std::array<std::vector<double>, motionRates.size()> rows, motionSent, gameWakeUps;
    int roundsWithoutBall = 0;
    std::vector<double> heldKeySteps;  // ms between two steps of the catcher
};

// One game from START: the first ball appears at the first ball step; its row is read half a step
// later and again 4 s after that. Both readings lie midway between two steps, so a reading or a
// paint late by anything short of half a step counts the same steps, and the difference is the
// rows the game let the ball fall. The mover, when there is one, moves the pointer over the well
// from START to the last reading.
void MeasureFallRound(PlayerView& screen, Program& game, Window main, std::size_t rate, FallFigures& figures)
{
    screen.Click(main, startX, startY);
    if (!WaitFor([&] { return InPlay(screen.ReadWell(main)); }, 5s)) throw Failure{"START did not start a game"};
    std::optional<PointerMover> mover;
    if (motionRates[rate] > 0) {
        const auto place = screen.Geometry(main);
        mover.emplace(place[0] + motionX, place[1] + motionY, motionRates[rate]);
    }
    std::optional<int> first, last;
    // Ten seconds: a game whose time stands still under the motion shows no ball at all.
    if (WaitFor([&] { return BallRow(screen.ReadWell(main)).has_value(); }, 10s)) {
        const auto appeared = Clock::now();
        std::this_thread::sleep_until(appeared + ballStep / 2);
        const ProcessSample before = SampleProcess(game.Pid());
        first = BallRow(screen.ReadWell(main));
        std::this_thread::sleep_until(appeared + ballStep / 2 + fallPeriod);
        last = BallRow(screen.ReadWell(main));
        figures.gameWakeUps[rate].push_back(RatesBetween(before, SampleProcess(game.Pid())).wakeUpsPerSecond);
    }
    if (mover) {
        const auto sent = mover->Stop();
        if (!sent) throw Failure{"the pointer mover did not answer"};
        figures.motionSent[rate].push_back(sent->Rate());
    }
    if (!first) {
        ++figures.roundsWithoutBall;
        figures.rows[rate].push_back(0);
    } else if (!last) {
        throw Failure{"the ball left the well within " + std::to_string(fallPeriod.count() / 1000) + " s"};
    } else {
        figures.rows[rate].push_back(*last - *first);
    }
    // CANCEL, where START was, and the title screen again.
    screen.Click(main, startX, startY);
    if (!WaitFor([&] { return IsTitleScreen(screen.ReadWell(main)); }, 5s)) throw Failure{"CANCEL did not end the game"};
}

// START, Left held until the catcher stands at the wall, then Right held across the well: the
// times between the catcher's steps, read from the well's pixels. Then CANCEL.
std::vector<double> MeasureHeldKey(PlayerView& screen, Window main)
{
    screen.Click(main, startX, startY);
    if (!WaitFor([&] { return InPlay(screen.ReadWell(main)); }, 5s)) throw Failure{"START did not start a game"};
    screen.Key(XK_Left, true);
    const bool atWall = WaitFor([&] { return CatcherColumn(screen.ReadWell(main)) == 1; }, 5s, 1ms);
    screen.Key(XK_Left, false);
    if (!atWall) throw Failure{"a held Left key did not bring the catcher to the wall"};
    screen.Key(XK_Right, true);
    int column = 1;
    std::vector<Clock::time_point> steps;
    WaitFor(
        [&] {
            const int shown = CatcherColumn(screen.ReadWell(main));
            if (shown > column) steps.push_back(Clock::now());
            column = std::max(column, shown);
            return column == 10;
        },
        5s, 1ms);
    screen.Key(XK_Right, false);
    if (column != 10) throw Failure{"a held Right key did not bring the catcher across the well"};
    std::vector<double> intervals;
    for (std::size_t i = 1; i < steps.size(); ++i)
        intervals.push_back(std::chrono::duration<double, std::milli>(steps[i] - steps[i - 1]).count());
    screen.Click(main, startX, startY);
    if (!WaitFor([&] { return IsTitleScreen(screen.ReadWell(main)); }, 5s)) throw Failure{"CANCEL did not end the game"};
    return intervals;
}

FallFigures MeasureFall(const Options& options, const Plan& plan, PlayerView& screen)
{
    RunFolder folder(options.data);
    Program game(options.game, folder);
    Window main = 0;
    if (!WaitFor([&] { return (main = screen.FindWindow(gameTitle)) != 0 && IsTitleScreen(screen.ReadWell(main)); }, 20s, 50ms))
        throw Failure{"the game never showed its title screen"};
    FallFigures figures;
    // The rates take turns, so that a change in the machine's load reaches each of them alike.
    for (int round = 0; round < plan.fallRounds; ++round)
        for (std::size_t rate = 0; rate < motionRates.size(); ++rate) MeasureFallRound(screen, game, main, rate, figures);
    figures.heldKeySteps = MeasureHeldKey(screen, main);
    if (!Quit(screen, game)) throw Failure{"the game did not quit by EXIT after the falls"};
    return figures;
}

// ---- Title screen beside the floors, then play beside the floor -----------------------------

struct Windows {
    std::vector<double> cpu, wakeUps;

    void Add(const ProcessRates& rates)
    {
        cpu.push_back(rates.cpuPercent);
        wakeUps.push_back(rates.wakeUpsPerSecond);
    }
};

// The median of a / b, window by window: both measured in the same windows, so that a change in
// the machine's load between windows moves both. -1 when a window has no figure of b.
double MedianRatio(const std::vector<double>& a, const std::vector<double>& b)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (b[i] > 0) ratios.push_back(a[i] / b[i]);
    return !a.empty() && ratios.size() == a.size() ? Median(ratios) : -1;
}

struct PeerFigures {
    std::string name;
    Windows title;
    long peakKilobytes = -1;
};

struct GameFigures {
    Windows sleepLoop, floor, blockingFloor, title, quietPlay, floorInQuietPlay, play, floorInPlay;
    std::vector<PeerFigures> peers;
    ProcessRates floorWhole, titleWhole, playWhole;  // each whole period, for the cross-check in ticks
    long peakKilobytes = -1;
    std::vector<double> stepRequests, stepBytes;
    int gamesStarted = 0, gamesLost = 0, namesEntered = 0, quietGames = 0;
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

// START and nobody at the keys: the game's and the floor's CPU and wake-ups in windows while the
// balls fall on their own. A game lost within a window is started again and the window measured
// again; the start itself is not measured.
void MeasureQuietPlay(PlayerView& screen, Program& game, Program& floor, Window main, const Plan& plan, GameFigures& figures)
{
    for (int attempt = 0; static_cast<int>(figures.quietPlay.cpu.size()) < plan.idleWindows && attempt < 3 * plan.idleWindows;
         ++attempt) {
        const Well well = screen.ReadWell(main);
        if (const Window nameForm = screen.FindWindow("Top Ten")) EnterName(screen, nameForm, figures);
        if (!InPlay(well) || GameLost(well)) {
            screen.Click(main, startX, startY);
            if (!WaitFor([&] { return InPlay(screen.ReadWell(main)); }, 5s)) throw Failure{"START did not start a game"};
            ++figures.quietGames;
            std::this_thread::sleep_for(300ms);
        }
        const ProcessSample gameBefore = SampleProcess(game.Pid()), floorBefore = SampleProcess(floor.Pid());
        std::this_thread::sleep_for(plan.idleWindow);
        const ProcessSample gameAfter = SampleProcess(game.Pid()), floorAfter = SampleProcess(floor.Pid());
        if (!gameAfter.valid || !floorAfter.valid) throw Failure{"the game or the floor client ended during quiet play"};
        const Well after = screen.ReadWell(main);
        if (!InPlay(after) || GameLost(after) || screen.FindWindow("Top Ten")) continue;
        figures.quietPlay.Add(RatesBetween(gameBefore, gameAfter));
        figures.floorInQuietPlay.Add(RatesBetween(floorBefore, floorAfter));
    }
    // CANCEL, for the scripted player's START.
    if (InPlay(screen.ReadWell(main)) && !GameLost(screen.ReadWell(main))) screen.Click(main, startX, startY);
    if (const Window nameForm = screen.FindWindow("Top Ten")) EnterName(screen, nameForm, figures);
    if (!WaitFor([&] { return IsTitleScreen(screen.ReadWell(main)) || GameLost(screen.ReadWell(main)); }, 5s))
        throw Failure{"quiet play did not end"};
}

// Follows the lowest ball with the catcher for the plan's play windows, starting again after a
// lost game; samples the game's and the floor's CPU and wake-ups at the end of each window.
void Play(PlayerView& screen, Program& game, Program& floor, Window main, const Plan& plan, GameFigures& figures)
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
    ProcessSample previous = SampleProcess(game.Pid()), floorPrevious = SampleProcess(floor.Pid());
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
        const ProcessSample now = SampleProcess(game.Pid()), floorNow = SampleProcess(floor.Pid());
        if (!floorNow.valid) throw Failure{"the floor client ended during play"};
        figures.play.Add(RatesBetween(previous, now));
        figures.floorInPlay.Add(RatesBetween(floorPrevious, floorNow));
        previous = now;
        floorPrevious = floorNow;
    }
    figures.playWhole = RatesBetween(first, previous);
    hold(0);
    if (const Window dialog = screen.FindWindow("Top Ten")) EnterName(screen, dialog, figures);
}

void MeasureGame(const Options& options, const Plan& plan, PlayerView& screen, GameFigures& figures)
{
    RunFolder floorFolder(options.data);
    Program floor(options.floor, floorFolder);
    RunFolder blockingFolder(options.data);
    Program blockingFloor(options.floor, blockingFolder, {}, {"--block"});
    RunFolder folder(options.data);
    Program game(options.game, folder, {{"KORVANTA_TRAFFIC_LOG", folder.Path() + "/traffic.txt"}});

    Window main = 0;
    if (!WaitFor([&] { return (main = screen.FindWindow(gameTitle)) != 0 && IsTitleScreen(screen.ReadWell(main)); }, 20s, 50ms))
        throw Failure{"the game never showed its title screen"};
    if (!WaitFor([&] { return screen.FindWindow(floorTitle) != 0 && screen.FindWindow(blockingFloorTitle) != 0; }, 10s))
        throw Failure{"a floor client never showed"};

    {
        SleepLoop sleepLoop;
        const auto peers = StartPeers(options.data);
        for (const auto& peer : peers)
            if (!WaitFor([&] { return screen.FindWindow(peer->Name()) != 0; }, 10s)) throw Failure{peer->Name() + " never showed"};
        // Let start-up's last work and the first timer ticks pass before counting.
        std::this_thread::sleep_for(1s);
        std::vector<ProcessSample> peersBefore;
        for (const auto& peer : peers) {
            peersBefore.push_back(SampleProcess(peer->Pid()));
            figures.peers.push_back(PeerFigures{peer->Name(), {}, -1});
        }
        ProcessSample sleepBefore = SampleProcess(sleepLoop.Pid()), floorBefore = SampleProcess(floor.Pid()),
                      blockingBefore = SampleProcess(blockingFloor.Pid()), gameBefore = SampleProcess(game.Pid());
        const ProcessSample floorFirst = floorBefore, gameFirst = gameBefore;
        const auto begin = Clock::now();
        for (int window = 1; window <= plan.idleWindows; ++window) {
            std::this_thread::sleep_until(begin + plan.idleWindow * window);
            const ProcessSample sleepNow = SampleProcess(sleepLoop.Pid()), floorNow = SampleProcess(floor.Pid()),
                                blockingNow = SampleProcess(blockingFloor.Pid()), gameNow = SampleProcess(game.Pid());
            if (!sleepNow.valid || !floorNow.valid || !blockingNow.valid || !gameNow.valid)
                throw Failure{"the game, a floor client or the sleep loop ended while idle"};
            figures.sleepLoop.Add(RatesBetween(sleepBefore, sleepNow));
            figures.floor.Add(RatesBetween(floorBefore, floorNow));
            figures.blockingFloor.Add(RatesBetween(blockingBefore, blockingNow));
            figures.title.Add(RatesBetween(gameBefore, gameNow));
            for (std::size_t peer = 0; peer < peers.size(); ++peer) {
                const ProcessSample peerNow = SampleProcess(peers[peer]->Pid());
                if (!peerNow.valid) throw Failure{peers[peer]->Name() + " ended while idle"};
                figures.peers[peer].title.Add(RatesBetween(peersBefore[peer], peerNow));
                peersBefore[peer] = peerNow;
            }
            sleepBefore = sleepNow;
            floorBefore = floorNow;
            blockingBefore = blockingNow;
            gameBefore = gameNow;
        }
        figures.floorWhole = RatesBetween(floorFirst, floorBefore);
        figures.titleWhole = RatesBetween(gameFirst, gameBefore);
        for (std::size_t peer = 0; peer < peers.size(); ++peer) figures.peers[peer].peakKilobytes = PeakResidentKilobytes(peers[peer]->Pid());
    }
    blockingFloor.Stop();

    MeasureQuietPlay(screen, game, floor, main, plan, figures);
    Play(screen, game, floor, main, plan, figures);
    floor.Stop();
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
                const FallFigures& fall, const GameFigures& figures)
{
    const std::string idleWindows = std::to_string(plan.idleWindows) + " x " + std::to_string(plan.idleWindow.count() / 1000) + " s";
    const double floorCpu = Median(figures.floor.cpu);
    report.Add("Bare 10 ms sleep loop, no X: CPU (median of " + idleWindows + ")",
               Fixed(Median(figures.sleepLoop.cpu), 3) + " % of a core");
    report.Add("Bare 10 ms sleep loop: wake-ups", Fixed(Median(figures.sleepLoop.wakeUps), 1) + " /s");
    report.Add("10 ms floor client idle: CPU (same windows)", Fixed(floorCpu, 3) + " % of a core");
    report.Add("10 ms floor client idle: wake-ups", Fixed(Median(figures.floor.wakeUps), 1) + " /s");
    report.Add("Blocking floor client idle: CPU (same windows)", Fixed(Median(figures.blockingFloor.cpu), 3) + " % of a core");
    report.Add("Blocking floor client idle: wake-ups", Fixed(Median(figures.blockingFloor.wakeUps), 1) + " /s");
    report.Add("Title screen idle: CPU (same windows)", Fixed(Median(figures.title.cpu), 3) + " % of a core");
    const double idleRatio = MedianRatio(figures.title.cpu, figures.floor.cpu);
    report.Check("Title screen idle: CPU game / 10 ms floor (median of the windows)", Fixed(idleRatio, 2),
                 "<= " + Fixed(idleCpuRatioBudget, 2), idleRatio >= 0 && idleRatio <= idleCpuRatioBudget);
    const double titleWakeUps = Median(figures.title.wakeUps);
    report.Check("Title screen idle: wake-ups", Fixed(titleWakeUps, 1) + " /s", "<= " + Fixed(idleWakeUpBudget, 0) + " /s",
                 titleWakeUps <= idleWakeUpBudget);
    for (const PeerFigures& peer : figures.peers) {
        report.Add(peer.name + " title idle, peer: CPU (same windows)", Fixed(Median(peer.title.cpu), 3) + " % of a core");
        report.Add(peer.name + " title idle, peer: wake-ups", Fixed(Median(peer.title.wakeUps), 1) + " /s");
        report.Add(peer.name + " title idle, peer: peak resident memory", Fixed(static_cast<double>(peer.peakKilobytes) * 1024 / 1e6, 1) + " MB");
    }

    report.Add("Play, no input: CPU (median of " + idleWindows + ")", Fixed(Median(figures.quietPlay.cpu), 3) + " % of a core");
    const double quietRatio = MedianRatio(figures.quietPlay.cpu, figures.floorInQuietPlay.cpu);
    report.Check("Play, no input: CPU game / 10 ms floor (median of the windows)", Fixed(quietRatio, 2),
                 "<= " + Fixed(quietPlayCpuRatioBudget, 1),
                 quietRatio >= 0 && quietRatio <= quietPlayCpuRatioBudget);
    const double quietWakeUps = Median(figures.quietPlay.wakeUps);
    report.Check("Play, no input: wake-ups", Fixed(quietWakeUps, 1) + " /s", "<= " + Fixed(quietPlayWakeUpBudget, 0) + " /s",
                 !figures.quietPlay.wakeUps.empty() && quietWakeUps <= quietPlayWakeUpBudget);

    const std::string playWindows = std::to_string(plan.playWindows) + " x " + std::to_string(plan.playWindow.count() / 1000) + " s";
    report.Add("Play, scripted player: CPU (median of " + playWindows + ")", Fixed(Median(figures.play.cpu), 3) + " % of a core");
    report.Add("10 ms floor client during play: CPU (same windows)", Fixed(Median(figures.floorInPlay.cpu), 3) + " % of a core");
    const double playRatio = MedianRatio(figures.play.cpu, figures.floorInPlay.cpu);
    report.Check("Play: CPU game / 10 ms floor (median of the windows)", Fixed(playRatio, 2),
                 "<= " + Fixed(playCpuRatioBudget, 1), playRatio >= 0 && playRatio <= playCpuRatioBudget);
    report.Add("Play: wake-ups", Fixed(Median(figures.play.wakeUps), 1) + " /s");

    const std::string seconds = std::to_string(fallPeriod.count() / 1000) + " s";
    const std::string rounds = std::to_string(plan.fallRounds);
    const double stillRows = Median(fall.rows[0]);
    report.Check("Ball rows fallen in " + seconds + " of play, pointer still (median of " + rounds + ")", Fixed(stillRows, 0),
                 std::to_string(fallRowsExpected) + " (one per " + std::to_string(ballStep.count()) + " ms)",
                 !fall.rows[0].empty() && stillRows == fallRowsExpected);
    for (std::size_t rate = 1; rate < motionRates.size(); ++rate) {
        const double rows = Median(fall.rows[rate]);
        report.Check("Ball rows fallen in " + seconds + ", " + std::to_string(motionRates[rate]) + " Hz pointer motion over the well",
                     Fixed(rows, 0), "within 1 of still", !fall.rows[rate].empty() && std::abs(rows - stillRows) <= 1);
    }

    const double heldStep = Median(fall.heldKeySteps);
    report.Check("Held key: time between two catcher steps (median of " + std::to_string(fall.heldKeySteps.size()) + ")",
                 Fixed(heldStep, 1) + " ms", Fixed(catcherStepMs, 0) + " +- " + Fixed(catcherStepToleranceMs, 0) + " ms",
                 !fall.heldKeySteps.empty() && std::abs(heldStep - catcherStepMs) <= catcherStepToleranceMs);

    const double startupMs = Median(startup);
    report.Check("Exec to title screen painted (median of " + std::to_string(startup.size()) + ")", Fixed(startupMs, 1) + " ms",
                 "< " + Fixed(startupBudgetMs, 0) + " ms", !startup.empty() && startupMs < startupBudgetMs);

    const double peakMb = static_cast<double>(figures.peakKilobytes) * 1024 / 1e6;
    const PeerFigures* lightest = nullptr;
    for (const PeerFigures& peer : figures.peers)
        if (peer.peakKilobytes > 0 && (!lightest || peer.peakKilobytes < lightest->peakKilobytes)) lightest = &peer;
    const double residentBudget = lightest ? static_cast<double>(lightest->peakKilobytes) * 1024 / 1e6 : residentBudgetMb;
    const std::string residentBudgetText = lightest ? "<= lightest peer, " + lightest->name + ": " + Fixed(residentBudget, 2) + " MB"
                                                    : "<= " + Fixed(residentBudgetMb, 0) + " MB (no peer measured)";
    report.Check("Peak resident memory (VmHWM, after play)", Fixed(peakMb, 2) + " MB", residentBudgetText,
                 figures.peakKilobytes > 0 && peakMb <= residentBudget);

    const std::string steps = std::to_string(figures.stepRequests.size());
    if (figures.stepRequests.empty()) {
        report.Check("X traffic per ball step", "no ball step was counted", "counted", false);
    } else {
        const double requests = Median(figures.stepRequests), bytes = Median(figures.stepBytes);
        report.Check("X requests per ball step (median; mean of " + steps + ")",
                     Fixed(requests, 0) + "; " + Fixed(Mean(figures.stepRequests), 1),
                     "median = " + Fixed(stepRequestsExpected, 0), requests == stepRequestsExpected);
        report.Check("X bytes sent per ball step (median; mean)", Fixed(bytes, 0) + "; " + Fixed(Mean(figures.stepBytes), 0),
                     "median = " + Fixed(stepBytesExpected, 0), bytes == stepBytesExpected);
    }

    report.Check("Form without timer: wake-ups (" + std::to_string(plan.noTimer.count() / 1000) + " s)",
                 Fixed(noTimer.wakeUpsPerSecond, 2) + " /s", "0 /s", noTimer.wakeUpsPerSecond == 0);
    report.Add("Form without timer: CPU", Fixed(noTimer.cpuPercent, 3) + " % of a core");

    report.Note("Reading the idle rows: the sleep loop is what this machine charges for 100 wake-ups a second with no "
                "X at all; the 10 ms floor adds an X connection and an XPending at each wake-up, which is what a loop "
                "that looks for events every 10 ms costs with no work to do; the blocking floor waits in XNextEvent "
                "with no time-out, which is what an X client costs while nothing happens; the title screen is the game, "
                "whose 30 ms timer sleeps through every tick at which nothing can change: on the title screen it "
                "wakes for the banner's turn every 5 s, in play for the catcher's and the balls' steps.");
    report.Note("Idle windows, CPU % sleep loop: " + List(figures.sleepLoop.cpu, 3) + "; 10 ms floor: " +
                List(figures.floor.cpu, 3) + "; blocking floor: " + List(figures.blockingFloor.cpu, 3) + "; game: " +
                List(figures.title.cpu, 3) + ".");
    report.Note("Idle windows, wake-ups/s sleep loop: " + List(figures.sleepLoop.wakeUps, 1) + "; 10 ms floor: " +
                List(figures.floor.wakeUps, 1) + "; blocking floor: " + List(figures.blockingFloor.wakeUps, 1) +
                "; game: " + List(figures.title.wakeUps, 1) + ".");
    report.Note("Play with no input, windows, CPU % game: " + List(figures.quietPlay.cpu, 3) + "; 10 ms floor: " +
                List(figures.floorInQuietPlay.cpu, 3) + "; game wake-ups/s: " + List(figures.quietPlay.wakeUps, 1) + "; " +
                std::to_string(figures.quietGames) + " games started.");
    for (const PeerFigures& peer : figures.peers)
        report.Note("Idle windows, " + peer.name + ": CPU % " + List(peer.title.cpu, 3) + "; wake-ups/s " + List(peer.title.wakeUps, 1) + ".");
    report.Note("Held key, ms between catcher steps: " + List(fall.heldKeySteps, 1) + ".");
    report.Note("Play windows, CPU % game: " + List(figures.play.cpu, 3) + "; 10 ms floor: " + List(figures.floorInPlay.cpu, 3) +
                "; game wake-ups/s: " + List(figures.play.wakeUps, 1) + ".");
    report.Note("The same CPU from /proc/PID/stat utime + stime over each whole period (10 ms ticks): floor " +
                Fixed(figures.floorWhole.tickCpuPercent, 3) + " %, title screen " + Fixed(figures.titleWhole.tickCpuPercent, 3) +
                " %, play " + Fixed(figures.playWhole.tickCpuPercent, 3) + " %.");
    report.Note("Play: " + std::to_string(figures.gamesStarted) + " games started, " + std::to_string(figures.gamesLost) +
                " lost, " + std::to_string(figures.namesEntered) + " names entered; " + steps + " ball steps counted.");
    // One part per motion rate: "still 5, 5; 125 Hz 5, 4; ...".
    auto byRate = [&](const std::array<std::vector<double>, motionRates.size()>& values, int decimals, std::size_t from) {
        std::string text;
        for (std::size_t rate = from; rate < motionRates.size(); ++rate) {
            text += std::string(rate > from ? "; " : "") +
                    (motionRates[rate] ? std::to_string(motionRates[rate]) + " Hz " : "still ") +
                    (values[rate].empty() ? "none" : List(values[rate], decimals));
        }
        return text;
    };
    std::string falls = "Ball falls, read from the well's pixels half a ball step after the first ball showed and " + seconds +
                        " later, rows per round: " + byRate(fall.rows, 0, 0) + ". Motions sent per second: " +
                        byRate(fall.motionSent, 1, 1) + ". Game wake-ups/s while the ball fell: " + byRate(fall.gameWakeUps, 1, 0);
    if (fall.roundsWithoutBall > 0)
        falls += ". In " + std::to_string(fall.roundsWithoutBall) + " rounds no ball showed within 10 s: 0 rows";
    report.Note(falls + ".");
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
        std::cout << "Measuring a ball's fall with the pointer still and moving..." << std::endl;
        const FallFigures fall = MeasureFall(options, plan, screen);
        std::cout << "Measuring the title screen beside the floor clients, then play..." << std::endl;
        GameFigures figures;
        MeasureGame(options, plan, screen, figures);
        AddFigures(report, plan, startup, noTimer, fall, figures);
    } catch (const Failure& failure) {
        report.Check("Benchmark run", "failed: " + failure.what, "completes", false);
    }

    const std::string title = options.quick ? "Korvanta benchmark (quick)" : "Korvanta benchmark";
    std::cout << "\n" << report.Table();
    std::ofstream(options.output) << report.Markdown(title, Machine(options, loadBefore));
    std::cout << "Written to " << options.output << "\n";
    return report.AllMet() ? 0 : 1;
}
