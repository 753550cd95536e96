// The game in play under a scripted player beside the 10 ms floor client, its peak memory after
// it, and the X traffic of each ball step, which the game writes down in a benchmark build.

#include <X11/keysym.h>

#include <sstream>
#include <thread>

#include "bench/Budgets.h"
#include "bench/Measurements.h"
#include "tools/harness/Poll.h"

namespace {

// Follows the lowest ball with the catcher for the plan's play windows, starting again after a
// lost game; samples the game's and the floor's CPU and wake-ups at the end of each window.
void Play(const Bench& bench, Program& game, Program& floor, Window main, PlayFigures& figures)
{
    PlayerView& screen = bench.screen;
    auto start = [&] {
        screen.Hold(0);
        StartGame(screen, main);
        screen.MovePointer(main, 400, 300);
        ++figures.gamesStarted;
    };

    start();
    ProcessSample previous = SampleProcess(game.Pid()), floorPrevious = SampleProcess(floor.Pid());
    const ProcessSample first = previous;
    const auto begin = previous.at;
    for (int window = 1; window <= bench.plan.playWindows; ++window) {
        const auto windowEnd = begin + bench.plan.playWindow * window;
        while (Clock::now() < windowEnd) {
            Window nameForm = screen.FindWindow("Top Ten");
            const ShownWell well = screen.ReadWell(main);
            if (nameForm || well.ShowsAMissedBall()) {
                screen.Hold(0);
                ++figures.gamesLost;
                // A game lost with points asks for the player's name first; the form may take a moment.
                if (!nameForm) WaitFor([&] { return (nameForm = screen.FindWindow("Top Ten")) != 0; }, 500ms);
                if (nameForm) {
                    EnterName(screen, nameForm);
                    ++figures.namesEntered;
                }
                start();
                continue;
            }
            const int catcher = well.CatcherColumn();
            const auto ball = well.LowestBall();
            screen.Hold(catcher < 0 || !ball || catcher == ball->column ? 0 : catcher < ball->column ? XK_Right : XK_Left);
            std::this_thread::sleep_for(40ms);
        }
        const ProcessSample now = SampleProcess(game.Pid()), floorNow = SampleProcess(floor.Pid());
        if (!floorNow.valid) throw Failure{"the floor client ended during play"};
        figures.game.Add(RatesBetween(previous, now));
        figures.floor.Add(RatesBetween(floorPrevious, floorNow));
        previous = now;
        floorPrevious = floorNow;
    }
    figures.gameWhole = RatesBetween(first, previous);
    screen.Hold(0);
    if (const Window dialog = screen.FindWindow("Top Ten")) {
        EnterName(screen, dialog);
        ++figures.namesEntered;
    }
}

}  // namespace

PlayFigures MeasurePlay(const Bench& bench)
{
    RunFolder floorFolder(bench.options.data), folder(bench.options.data);
    Program floor(bench.options.floor, floorFolder);
    Program game(bench.options.game, folder, {{"KORVANTA_TRAFFIC_LOG", folder.Path() + "/traffic.txt"}});
    const Window main = WaitForTitleScreen(bench.screen);
    if (!WaitFor([&] { return bench.screen.FindWindow(floorTitle) != 0; }, 10s)) throw Failure{"the floor client never showed"};

    PlayFigures figures;
    Play(bench, game, floor, main, figures);
    floor.Stop();
    figures.peakKilobytes = PeakResidentKilobytes(game.Pid());
    if (!Quit(bench.screen, game)) throw Failure{"the game did not quit by EXIT after play"};
    std::istringstream traffic(folder.ReadFile("traffic.txt"));
    double requests = 0, bytes = 0;
    while (traffic >> requests >> bytes) {
        figures.stepRequests.push_back(requests);
        figures.stepBytes.push_back(bytes);
    }
    return figures;
}

void ReportPlay(Report& report, const PlayFigures& figures, const Plan& plan, const PeerFigures* lightestPeer)
{
    const std::string windows = std::to_string(plan.playWindows) + " x " + std::to_string(plan.playWindow.count() / 1000) + " s";
    report.Add("Play, scripted player: CPU (median of " + windows + ")", Fixed(Median(figures.game.cpu), 3) + " % of a core");
    report.Add("10 ms floor client during play: CPU (same windows)", Fixed(Median(figures.floor.cpu), 3) + " % of a core");
    const double ratio = MedianRatio(figures.game.cpu, figures.floor.cpu);
    report.Check("Play: CPU game / 10 ms floor (median of the windows)", Fixed(ratio, 2), "<= " + Fixed(Budgets::playCpuRatio, 1),
                 ratio >= 0 && ratio <= Budgets::playCpuRatio);
    report.Add("Play: wake-ups", Fixed(Median(figures.game.wakeUps), 1) + " /s");

    const double peakMb = Megabytes(figures.peakKilobytes);
    const double budgetMb = lightestPeer ? Megabytes(lightestPeer->peakKilobytes) : Budgets::residentMb;
    report.Check("Peak resident memory (VmHWM, after play)", Fixed(peakMb, 2) + " MB",
                 lightestPeer ? "<= lightest peer, " + lightestPeer->name + ": " + Fixed(budgetMb, 2) + " MB"
                              : "<= " + Fixed(Budgets::residentMb, 0) + " MB (no peer measured)",
                 figures.peakKilobytes > 0 && peakMb <= budgetMb);

    const std::string steps = std::to_string(figures.stepRequests.size());
    if (figures.stepRequests.empty()) {
        report.Check("X traffic per ball step", "no ball step was counted", "counted", false);
    } else {
        const double requests = Median(figures.stepRequests), bytes = Median(figures.stepBytes);
        report.Check("X requests per ball step (median; mean of " + steps + ")",
                     Fixed(requests, 0) + "; " + Fixed(Mean(figures.stepRequests), 1),
                     "median = " + Fixed(Budgets::stepRequests, 0), requests == Budgets::stepRequests);
        report.Check("X bytes sent per ball step (median; mean)", Fixed(bytes, 0) + "; " + Fixed(Mean(figures.stepBytes), 0),
                     "median = " + Fixed(Budgets::stepBytes, 0), bytes == Budgets::stepBytes);
    }
    report.Note("Play windows, CPU % game: " + List(figures.game.cpu, 3) + "; 10 ms floor: " + List(figures.floor.cpu, 3) +
                "; game wake-ups/s: " + List(figures.game.wakeUps, 1) + "; the same CPU from utime + stime over the whole "
                "period: " + Fixed(figures.gameWhole.tickCpuPercent, 3) + " %.");
    report.Note("Play: " + std::to_string(figures.gamesStarted) + " games started, " + std::to_string(figures.gamesLost) +
                " lost, " + std::to_string(figures.namesEntered) + " names entered; " + steps + " ball steps counted.");
}
