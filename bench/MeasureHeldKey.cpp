// How often a held key moves the catcher: the game sleeps between the steps at which something can
// change, and must still wake for every step of the catcher.

#include <X11/keysym.h>

#include <algorithm>

#include "bench/Budgets.h"
#include "bench/Measurements.h"
#include "tools/harness/Poll.h"

// START, Left held until the catcher stands at the wall, then Right held across the well: the
// times between the catcher's steps, read from the well's pixels.
HeldKeyFigures MeasureHeldKey(const Bench& bench)
{
    RunFolder folder(bench.options.data);
    Program game(bench.options.game, folder);
    PlayerView& screen = bench.screen;
    const Window main = WaitForTitleScreen(screen);
    StartGame(screen, main);
    screen.Key(XK_Left, true);
    const bool atWall = WaitFor([&] { return screen.ReadWell(main).CatcherColumn() == Well::firstColumn; }, 5s, 1ms);
    screen.Key(XK_Left, false);
    if (!atWall) throw Failure{"a held Left key did not bring the catcher to the wall"};
    screen.Key(XK_Right, true);
    int column = Well::firstColumn;
    std::vector<Clock::time_point> steps;
    WaitFor(
        [&] {
            const int shown = screen.ReadWell(main).CatcherColumn();
            if (shown > column) steps.push_back(Clock::now());
            column = std::max(column, shown);
            return column == Well::lastColumn;
        },
        5s, 1ms);
    screen.Key(XK_Right, false);
    if (column != Well::lastColumn) throw Failure{"a held Right key did not bring the catcher across the well"};
    HeldKeyFigures figures;
    for (std::size_t i = 1; i < steps.size(); ++i)
        figures.stepMilliseconds.push_back(std::chrono::duration<double, std::milli>(steps[i] - steps[i - 1]).count());
    CancelGame(screen, main);
    if (!Quit(screen, game)) throw Failure{"the game did not quit by EXIT after the held key"};
    return figures;
}

void ReportHeldKey(Report& report, const HeldKeyFigures& figures)
{
    const double step = Median(figures.stepMilliseconds);
    report.Check("Held key: time between two catcher steps (median of " + std::to_string(figures.stepMilliseconds.size()) + ")",
                 Fixed(step, 1) + " ms", Fixed(Budgets::catcherStepMs, 0) + " +- " + Fixed(Budgets::catcherStepToleranceMs, 0) + " ms",
                 !figures.stepMilliseconds.empty() && std::abs(step - Budgets::catcherStepMs) <= Budgets::catcherStepToleranceMs);
    report.Note("Held key, ms between catcher steps: " + List(figures.stepMilliseconds, 1) + ".");
}
