// Play with nobody at the keys, beside the 10 ms floor client: the game must wake only for the
// steps of the catcher and the balls.

#include <thread>

#include "bench/Budgets.h"
#include "bench/Measurements.h"
#include "tools/harness/Poll.h"

// The game's and the floor's CPU and wake-ups in windows while the balls fall on their own. A game
// lost within a window is started again and the window measured again; the start is not measured.
QuietPlayFigures MeasureQuietPlay(const Bench& bench)
{
    RunFolder floorFolder(bench.options.data), folder(bench.options.data);
    Program floor(bench.options.floor, floorFolder);
    Program game(bench.options.game, folder);
    PlayerView& screen = bench.screen;
    const Window main = WaitForTitleScreen(screen);
    if (!WaitFor([&] { return screen.FindWindow(floorTitle) != 0; }, 10s)) throw Failure{"the floor client never showed"};
    QuietPlayFigures figures;
    const int windows = bench.plan.idleWindows;
    for (int attempt = 0; static_cast<int>(figures.game.cpu.size()) < windows && attempt < 3 * windows; ++attempt) {
        // A ball that happened to land on the catcher made the lost game one with points.
        if (const Window nameForm = screen.FindWindow("Top Ten")) EnterName(screen, nameForm);
        if (!screen.ReadWell(main).ShowsAGame()) {
            StartGame(screen, main);
            ++figures.gamesStarted;
            std::this_thread::sleep_for(300ms);
        }
        const ProcessSample gameBefore = SampleProcess(game.Pid()), floorBefore = SampleProcess(floor.Pid());
        std::this_thread::sleep_for(bench.plan.idleWindow);
        const ProcessSample gameAfter = SampleProcess(game.Pid()), floorAfter = SampleProcess(floor.Pid());
        if (!gameAfter.valid || !floorAfter.valid) throw Failure{"the game or the floor client ended during quiet play"};
        if (!screen.ReadWell(main).ShowsAGame() || screen.FindWindow("Top Ten")) continue;
        figures.game.Add(RatesBetween(gameBefore, gameAfter));
        figures.floor.Add(RatesBetween(floorBefore, floorAfter));
    }
    if (const Window nameForm = screen.FindWindow("Top Ten")) EnterName(screen, nameForm);
    if (!Quit(screen, game)) throw Failure{"the game did not quit by EXIT after quiet play"};
    return figures;
}

void ReportQuietPlay(Report& report, const QuietPlayFigures& figures, const Plan& plan)
{
    const std::string windows = std::to_string(plan.idleWindows) + " x " + std::to_string(plan.idleWindow.count() / 1000) + " s";
    report.Add("Play, no input: CPU (median of " + windows + ")", Fixed(Median(figures.game.cpu), 3) + " % of a core");
    const double ratio = MedianRatio(figures.game.cpu, figures.floor.cpu);
    report.Check("Play, no input: CPU game / 10 ms floor (median of the windows)", Fixed(ratio, 2),
                 "<= " + Fixed(Budgets::quietPlayCpuRatio, 1), ratio >= 0 && ratio <= Budgets::quietPlayCpuRatio);
    const double wakeUps = Median(figures.game.wakeUps);
    report.Check("Play, no input: wake-ups", Fixed(wakeUps, 1) + " /s", "<= " + Fixed(Budgets::quietPlayWakeUps, 0) + " /s",
                 !figures.game.wakeUps.empty() && wakeUps <= Budgets::quietPlayWakeUps);
    report.Note("Play with no input, windows, CPU % game: " + List(figures.game.cpu, 3) + "; 10 ms floor: " +
                List(figures.floor.cpu, 3) + "; game wake-ups/s: " + List(figures.game.wakeUps, 1) + "; " +
                std::to_string(figures.gamesStarted) + " games started.");
}
