#include "toolkit/Timer.h"

#include <algorithm>

#include "toolkit/LoopClock.h"
#include "toolkit/Registry.h"

namespace {

constexpr int stepMilliseconds = LoopClock::stepMilliseconds;

}  // namespace

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
    // Time that passed before the start, in a handler that ran long, is not the timer's.
    startStep = LoopClock::CurrentStep();
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

int Timer::TakeSleptFirings()
{
    const int slept = sleptFirings;
    sleptFirings = 0;
    return slept;
}

std::int64_t Timer::StepsUntilCallback(std::int64_t afterStep) const
{
    const auto stepsFor = [](int milliseconds) {
        return milliseconds <= stepMilliseconds ? 1 : (milliseconds + stepMilliseconds - 1) / stepMilliseconds;
    };
    const std::int64_t notYetCounting = startStep > afterStep ? startStep - afterStep : 0;
    return notYetCounting + stepsFor(interval - elapsed) + static_cast<std::int64_t>(firingsToSleep) * stepsFor(interval);
}

void TickTimers(int milliseconds, std::int64_t step)
{
    // A callback may create or delete timers: walk a snapshot and skip the ones that went away.
    const std::vector<GUIElement*> snapshot = Timers();
    for (GUIElement* element : snapshot) {
        if (std::find(Timers().begin(), Timers().end(), element) == Timers().end()) continue;
        auto* timer = static_cast<Timer*>(element);
        if (!timer->IsRunning() || step <= timer->startStep || !timer->Advance(milliseconds)) continue;
        if (timer->firingsToSleep > 0) {
            --timer->firingsToSleep;
            ++timer->sleptFirings;
        } else {
            timer->Fire();
        }
    }
}

std::optional<std::int64_t> StepsUntilNextTimer(std::int64_t afterStep)
{
    std::optional<std::int64_t> first;
    for (GUIElement* element : Timers()) {
        const auto* timer = static_cast<const Timer*>(element);
        if (!timer->IsRunning()) continue;
        const std::int64_t steps = timer->StepsUntilCallback(afterStep);
        first = std::min(first.value_or(steps), steps);
    }
    return first;
}
