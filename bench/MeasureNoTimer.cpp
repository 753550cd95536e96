// A toolkit form with no timer, served by the game's event loop: it must block until an event.

#include <thread>

#include "bench/Budgets.h"
#include "bench/Measurements.h"
#include "tools/harness/Poll.h"

NoTimerFigures MeasureNoTimer(const Bench& bench)
{
    RunFolder folder(bench.options.data);
    Program form(bench.options.idleForm, folder);
    if (!WaitFor([&] { return bench.screen.FindWindow(idleFormTitle) != 0; }, 10s))
        throw Failure{"the form without a timer never showed"};
    std::this_thread::sleep_for(500ms);
    const ProcessSample first = SampleProcess(form.Pid());
    std::this_thread::sleep_for(bench.plan.noTimer);
    const ProcessSample last = SampleProcess(form.Pid());
    if (!first.valid || !last.valid) throw Failure{"the form without a timer could not be measured"};
    form.Stop();
    return {RatesBetween(first, last), bench.plan.noTimer};
}

void ReportNoTimer(Report& report, const NoTimerFigures& figures)
{
    report.Check("Form without timer: wake-ups (" + std::to_string(figures.period.count() / 1000) + " s)",
                 Fixed(figures.rates.wakeUpsPerSecond, 2) + " /s", Fixed(Budgets::noTimerWakeUps, 0) + " /s",
                 figures.rates.wakeUpsPerSecond <= Budgets::noTimerWakeUps);
    report.Add("Form without timer: CPU", Fixed(figures.rates.cpuPercent, 3) + " % of a core");
}
