#pragma once
// A callback at a fixed interval, driven by the event loop's idle time-outs rather than a clock:
// every 10 ms wait that ends without an event advances each running timer by 10 ms.

#include <functional>

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

private:
    bool running = false;
    int interval;
    int elapsed = 0;
    Callback onTimer;
};

// Advances every running timer; called by the event loop with 10 after each idle time-out.
void TickTimers(int milliseconds);
