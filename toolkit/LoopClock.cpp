#include "toolkit/LoopClock.h"

#include <time.h>

#include <algorithm>
#include <limits>

#include "toolkit/Timer.h"
#include "util/DateTime.h"

namespace {

LoopClock* newestClock = nullptr;

std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor)
{
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

}  // namespace

LoopClock::LoopClock(Source source)
    : source(std::move(source)), lastStep(this->source()), lastStepNumber(FloorDivide(lastStep, stepMicroseconds)),
      previous(newestClock)
{
    newestClock = this;
}

LoopClock::~LoopClock()
{
    if (newestClock == this) newestClock = previous;
}

void LoopClock::AlignWithWallClock()
{
    timespec wall{};
    clock_gettime(CLOCK_REALTIME, &wall);
    // Steps end 5 ms past the wall clock's marks: a stamp taken just after a step then reads the
    // second the counter belongs to, even from the coarse clock that time() may read.
    constexpr std::int64_t margin = stepMicroseconds / 2;
    const std::int64_t intoSecond = wall.tv_nsec / 1000 - margin;
    const std::int64_t sinceStep = intoSecond - FloorDivide(intoSecond, stepMicroseconds) * stepMicroseconds;
    lastStep = source() - sinceStep;
    const std::int64_t stepMillisecond = (intoSecond - sinceStep) / 1000;
    DateTime::SetCurrentMillisecond(static_cast<int>((stepMillisecond + 1000) % 1000));
}

std::optional<std::int64_t> LoopClock::PlanWait()
{
    const std::optional<std::int64_t> due = StepsUntilNextTimer(lastStepNumber);
    plannedSteps = static_cast<int>(std::min<std::int64_t>(due.value_or(0), 1 << 30));
    if (!due) return std::nullopt;
    return std::max<std::int64_t>(0, lastStep + *due * stepMicroseconds - source());
}

int LoopClock::CountSteps()
{
    const std::int64_t passed = source() - lastStep;
    const int steps = passed > 0 ? static_cast<int>(std::min<std::int64_t>(passed / stepMicroseconds, 1 << 30)) : 0;
    const int timerSteps = std::min(steps, plannedSteps + extraTimerSteps);
    plannedSteps = 0;
    // The dropped part of a gap comes first, so that the timers see the latest steps. The counter
    // wraps every 100 steps: a gap of hours costs no more than one of a second.
    for (int step = 0; step < (steps - timerSteps) % 100; ++step) DateTime::AdvanceMilliseconds();
    lastStepNumber += steps - timerSteps;
    for (int step = 0; step < timerSteps; ++step) {
        DateTime::AdvanceMilliseconds();
        stepBeingCounted = ++lastStepNumber;
        TickTimers(stepMilliseconds, lastStepNumber);
    }
    stepBeingCounted.reset();
    lastStep += static_cast<std::int64_t>(steps) * stepMicroseconds;
    return steps;
}

std::int64_t LoopClock::StepNow() const
{
    if (stepBeingCounted) return *stepBeingCounted;
    const std::int64_t passed = source() - lastStep;
    return lastStepNumber + (passed > 0 ? passed / stepMicroseconds : 0);
}

std::int64_t LoopClock::CurrentStep()
{
    return newestClock ? newestClock->StepNow() : std::numeric_limits<std::int64_t>::min();
}

std::int64_t LoopClock::MonotonicMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}
