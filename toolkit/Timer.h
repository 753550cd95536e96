#pragma once
// A callback at a fixed interval, driven by the event loop in steps of 10 ms: every step of the
// loop's clock advances each running timer by 10 ms.

#include <functional>
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
    // The 10 ms steps after which this timer, if running, fires (at least one).
    int StepsUntilFiring() const;

private:
    bool running = false;
    int interval;
    int elapsed = 0;
    Callback onTimer;
};

// Advances every running timer; called by the event loop with 10 for each step of its clock.
void TickTimers(int milliseconds);
// The steps until the first running timer fires; none when no timer runs.
std::optional<int> StepsUntilNextTimer();
