#pragma once
// The event loop's time: whole 10 ms steps of the monotonic clock. The loop counts the steps that
// passed each time round, whether it waited or worked through events, so a stream of events (a
// moving mouse) cannot hold the timers back, and it sleeps until the step at which the first
// running timer is due instead of waking every step.

#include <cstdint>
#include <functional>
#include <optional>

class LoopClock {
public:
    // Monotonic microseconds; tests give a clock they set themselves.
    using Source = std::function<std::int64_t()>;
    static constexpr int stepMilliseconds = 10;
    // Beyond the steps the loop meant to wait, this many more reach the timers; the rest of a long
    // gap (a stopped process, a handler that ran long) is dropped, as a timer drops its excess.
    static constexpr int extraTimerSteps = 10;

    explicit LoopClock(Source source = MonotonicMicroseconds);

    // How long the loop may wait for an event before the first running timer is due, in
    // microseconds; none when no timer runs, and the loop blocks until an event.
    std::optional<std::int64_t> PlanWait();
    // Counts the whole steps since the last counted one: each advances the millisecond counter by
    // 10, and as many as the loop meant to wait plus extraTimerSteps tick the timers by 10.
    int CountSteps();

    static std::int64_t MonotonicMicroseconds();

private:
    static constexpr std::int64_t stepMicroseconds = stepMilliseconds * 1000;

    Source source;
    std::int64_t lastStep;
    int plannedSteps = 0;
};
