#pragma once
// A callback at a fixed interval, driven by the event loop in steps of 10 ms: every step of the
// loop's clock advances each running timer by 10 ms. A timer may be told to sleep through some of
// its firings: they are counted but call nothing, and the loop does not wake for them.

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>

#include "toolkit/Child.h"

class Timer : public Child {
public:
    using Callback = std::function<void(Timer&)>;

    Timer(GUIElement* parentForm, int interval);
    ~Timer() override;

    void Create() override;
    void Start();
    void Stop() { running = false; }
    void SetInterval(int milliseconds);
    int GetInterval() const { return interval; }
    bool IsRunning() const { return running; }
    void SetOnTimer(Callback callback) { onTimer = std::move(callback); }
    void Fire();
    bool Advance(int milliseconds);
    // The next firings pass without the callback; a later call replaces an earlier one.
    void SleepThrough(int firings) { firingsToSleep = firings > 0 ? firings : 0; }
    // The firings slept through since the last call.
    int TakeSleptFirings();
    // The steps of the loop's clock after the given one at which this timer, if running, calls
    // back (at least one).
    std::int64_t StepsUntilCallback(std::int64_t afterStep) const;

private:
    friend void TickTimers(int milliseconds, std::int64_t step);

    bool running = false;
    int interval;
    int elapsed = 0;
    Callback onTimer;
    int firingsToSleep = 0;
    int sleptFirings = 0;
    // A timer counts only the steps after the one at which it was started.
    std::int64_t startStep = std::numeric_limits<std::int64_t>::min();
};

// Advances every running timer by the milliseconds of one step of the loop's clock; the number
// of that step keeps a timer from counting a step from before its start. Called without a step,
// every running timer counts.
void TickTimers(int milliseconds, std::int64_t step = std::numeric_limits<std::int64_t>::max());
// The steps after the given one until the first running timer calls back; none when no timer runs.
std::optional<std::int64_t> StepsUntilNextTimer(std::int64_t afterStep);
