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

    // The newest clock is the one whose steps timers started from now are counted in.
    explicit LoopClock(Source source = MonotonicMicroseconds);
    ~LoopClock();
    LoopClock(const LoopClock&) = delete;
    LoopClock& operator=(const LoopClock&) = delete;

    // Lays the steps on the wall clock's hundredths of a second and sets the millisecond counter
    // to the wall clock's, so that a time stamp's second and its counted milliseconds agree.
    void AlignWithWallClock();
    // How long the loop may wait for an event before the first running timer is due, in
    // microseconds; none when no timer runs, and the loop blocks until an event.
    std::optional<std::int64_t> PlanWait();
    // Counts the whole steps since the last counted one, one after the other: each advances the
    // millisecond counter by 10 and, as many as the loop meant to wait plus extraTimerSteps, the
    // running timers by 10.
    int CountSteps();

    // The number of the step that is under way: the one being counted while the timers run,
    // else the one the clock is in; the lowest number when no clock exists.
    static std::int64_t CurrentStep();
    static std::int64_t MonotonicMicroseconds();

private:
    static constexpr std::int64_t stepMicroseconds = stepMilliseconds * 1000;

    std::int64_t StepNow() const;

    Source source;
    std::int64_t lastStep;
    // The number of the step that ended at lastStep.
    std::int64_t lastStepNumber;
    std::optional<std::int64_t> stepBeingCounted;
    int plannedSteps = 0;
    LoopClock* previous;
};
