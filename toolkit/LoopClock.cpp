#include "toolkit/LoopClock.h"

#include <time.h>

#include <algorithm>

#include "toolkit/Timer.h"
#include "util/DateTime.h"

LoopClock::LoopClock(Source source) : source(std::move(source)), lastStep(this->source()) {}

std::optional<std::int64_t> LoopClock::PlanWait()
{
    const std::optional<int> due = StepsUntilNextTimer();
    plannedSteps = due.value_or(0);
    if (!due) return std::nullopt;
    return std::max<std::int64_t>(0, lastStep + *due * stepMicroseconds - source());
}

int LoopClock::CountSteps()
{
    const std::int64_t passed = source() - lastStep;
    const int steps = passed > 0 ? static_cast<int>(std::min<std::int64_t>(passed / stepMicroseconds, 1 << 30)) : 0;
    lastStep += static_cast<std::int64_t>(steps) * stepMicroseconds;
    // The counter wraps every 100 steps: a gap of hours costs no more than one of a second.
    for (int step = 0; step < steps % 100; ++step) DateTime::AdvanceMilliseconds();
    const int timerSteps = std::min(steps, plannedSteps + extraTimerSteps);
    plannedSteps = 0;
    for (int step = 0; step < timerSteps; ++step) TickTimers(stepMilliseconds);
    return steps;
}

std::int64_t LoopClock::MonotonicMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}
