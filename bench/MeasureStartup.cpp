// From exec to the title screen fully painted: the last paint of the well, seen through the X
// server's RECORD extension, after which the well stays unpainted for a while.

#include "bench/Measurements.h"
#include "bench/PaintWatch.h"
#include "bench/Budgets.h"

StartupFigures MeasureStartup(const Bench& bench)
{
    PaintWatch watch;
    if (!watch.Ready()) throw Failure{"the X server has no RECORD extension to watch the paints with"};
    StartupFigures figures;
    for (int start = 0; start < bench.plan.starts; ++start) {
        RunFolder folder(bench.options.data);
        watch.Reset();
        const auto launched = Clock::now();
        Program game(bench.options.game, folder);
        const auto lastPaint = watch.LastWellPaint(bench.plan.quiet, 20s);
        const Window main = bench.screen.WaitForMainWindow(5s);
        if (!lastPaint || !main) throw Failure{"the game showed no well after start " + std::to_string(start + 1)};
        if (!bench.screen.ReadWell(main).IsTitleScreen())
            throw Failure{"the well was not the title screen once painting stopped (start " + std::to_string(start + 1) + ")"};
        figures.milliseconds.push_back(std::chrono::duration<double, std::milli>(*lastPaint - launched).count());
        figures.wellPaints.push_back(watch.WellPaints());
        if (!Quit(bench.screen, game)) figures.notQuit.push_back(start + 1);
    }
    return figures;
}

void ReportStartup(Report& report, const StartupFigures& figures)
{
    const double startupMs = Median(figures.milliseconds);
    report.Check("Exec to title screen painted (median of " + std::to_string(figures.milliseconds.size()) + ")",
                 Fixed(startupMs, 1) + " ms", "< " + Fixed(Budgets::startupMs, 0) + " ms",
                 !figures.milliseconds.empty() && startupMs < Budgets::startupMs);
    report.Note("Exec to painted title screen, each start (ms): " + List(figures.milliseconds, 1) +
                "; images put into the well per start: " + List(figures.wellPaints, 0) + ".");
    for (const int start : figures.notQuit) report.Note("Start " + std::to_string(start) + ": the game did not quit by EXIT.");
}
