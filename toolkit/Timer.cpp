#include "toolkit/Timer.h"

#include <algorithm>

#include "toolkit/Registry.h"

Timer::Timer(GUIElement* parentForm, int interval) : Child(parentForm), interval(interval)
{
    typeName = "timer";
    tabStop = false;
    SetSize(0, 0);
    RegisterTimer(this);
}

Timer::~Timer()
{
    running = false;
    Unregister(this);
}

void Timer::Create()
{
    if (created) return;
    if (id == 0) AssignId();
    created = true;
}

void Timer::Start()
{
    if (running) return;
    Create();
    running = true;
}

void Timer::SetInterval(int milliseconds)
{
    interval = milliseconds;
    if (running) {
        Stop();
        Start();
    }
}

void Timer::Fire()
{
    if (!running || !onTimer) return;
    // Through a copy: the callback may delete this timer.
    const Callback callback = onTimer;
    callback(*this);
}

bool Timer::Advance(int milliseconds)
{
    elapsed += milliseconds;
    if (elapsed < interval) return false;
    elapsed = 0;
    return true;
}

int Timer::StepsUntilFiring() const
{
    constexpr int step = 10;
    const int left = interval - elapsed;
    return left <= step ? 1 : left / step + (left % step != 0);
}

void TickTimers(int milliseconds)
{
    // A callback may create or delete timers: walk a snapshot and skip the ones that went away.
    const std::vector<GUIElement*> snapshot = Timers();
    for (GUIElement* element : snapshot) {
        if (std::find(Timers().begin(), Timers().end(), element) == Timers().end()) continue;
        auto* timer = static_cast<Timer*>(element);
        if (!timer->IsRunning()) continue;
        if (timer->Advance(milliseconds)) timer->Fire();
    }
}

std::optional<int> StepsUntilNextTimer()
{
    std::optional<int> first;
    for (GUIElement* element : Timers()) {
        const auto* timer = static_cast<const Timer*>(element);
        if (timer->IsRunning()) first = std::min(first.value_or(timer->StepsUntilFiring()), timer->StepsUntilFiring());
    }
    return first;
}
