#include <gtest/gtest.h>

#include <vector>

#include "toolkit/LoopClock.h"
#include "toolkit/Timer.h"
#include "util/DateTime.h"

namespace {

constexpr std::int64_t millisecond = 1000;

// The loop's clock on a time the test sets, with a 30 ms timer like the game's running on it; the
// timer notes the millisecond counter at each firing.
class LoopClockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DateTime::SetCurrentMillisecond(0);
        timer.SetOnTimer([this](Timer&) { firedAt.push_back(DateTime::CurrentMillisecond()); });
        timer.Start();
    }

    // One time round the loop while events keep coming: no wait, just the count.
    void EventAt(std::int64_t milliseconds)
    {
        now = milliseconds * millisecond;
        clock.CountSteps();
    }

    std::int64_t now = 0;
    LoopClock clock{[this] { return now; }};
    Timer timer{nullptr, 30};
    std::vector<std::int64_t> firedAt;
};

}  // namespace

TEST_F(LoopClockTest, TimersKeepThePaceOfTheClockWhileEventsStreamIn)
{
    // A 500 Hz mouse: an event every 2 ms, and the loop never waits.
    for (std::int64_t at = 2; at <= 1000; at += 2) EventAt(at);
    ASSERT_EQ(firedAt.size(), 33u);
    for (std::size_t i = 0; i < firedAt.size(); ++i) EXPECT_EQ(firedAt[i], 30 * static_cast<std::int64_t>(i + 1));
    EXPECT_EQ(DateTime::CurrentMillisecond(), 0) << "the counter went round once, a step at a time";
    EventAt(1015);
    EXPECT_EQ(DateTime::CurrentMillisecond(), 10) << "only whole steps are counted";
}

TEST_F(LoopClockTest, SleepsUntilTheFirstRunningTimerIsDueCountedFromTheLastStep)
{
    EXPECT_EQ(clock.PlanWait(), 30 * millisecond);
    // A handler ran 4 ms past a counted step: the wait ends on the step, not 30 ms later.
    EventAt(14);
    EXPECT_EQ(clock.PlanWait(), 16 * millisecond);

    Timer slow(nullptr, 5000);
    int slowFired = 0;
    slow.SetOnTimer([&](Timer&) { ++slowFired; });
    timer.Stop();
    slow.Start();
    const std::optional<std::int64_t> wait = clock.PlanWait();
    ASSERT_EQ(wait, 4996 * millisecond) << "counted from the last step, 4 ms ago";
    now += *wait;
    clock.CountSteps();
    EXPECT_EQ(slowFired, 1);
    EXPECT_EQ(clock.PlanWait(), 5000 * millisecond);
    slow.SleepThrough(2);
    ASSERT_EQ(clock.PlanWait(), 15000 * millisecond) << "no wake-up for the firings slept through";
    now += 15000 * millisecond;
    clock.CountSteps();
    EXPECT_EQ(slowFired, 2);
    EXPECT_EQ(slow.TakeSleptFirings(), 2);

    slow.Stop();
    EXPECT_EQ(clock.PlanWait(), std::nullopt) << "timers but none running: block until an event";
    Timer everyStep(nullptr, 0);
    everyStep.Start();
    EXPECT_EQ(clock.PlanWait(), 10 * millisecond);
}

TEST_F(LoopClockTest, AGapOfAStoppedProcessFiresNoBurstButCountsTheTime)
{
    ASSERT_EQ(clock.PlanWait(), 30 * millisecond);
    // The wait meant to end after 3 steps ends after 500 ms.
    now = 500 * millisecond;
    EXPECT_EQ(clock.CountSteps(), 50);
    EXPECT_EQ(firedAt.size(), 4u) << "the 3 steps planned and 10 more reach the timer, not 50";
    EXPECT_EQ(DateTime::CurrentMillisecond(), 500);
    // 13 steps reached it: it fired at the 12th and has counted one more since.
    EventAt(510);
    EXPECT_EQ(firedAt.size(), 4u);
    EventAt(520);
    EXPECT_EQ(firedAt.size(), 5u) << "the timer goes on from what it counted, not from the dropped time";
}

TEST_F(LoopClockTest, ATimerStartedOrRestartedInAHandlerCountsFromThatStep)
{
    timer.Stop();
    Timer late(nullptr, 30);
    std::vector<std::int64_t> lateFiredAt;
    late.SetOnTimer([&](Timer&) { lateFiredAt.push_back(now / millisecond); });
    EventAt(5);
    // The handler of that event runs until 130 ms and starts the timer at its end.
    now = 130 * millisecond;
    late.Start();
    EXPECT_EQ(clock.PlanWait(), 30 * millisecond);
    EventAt(130);
    EventAt(160);
    EXPECT_EQ(lateFiredAt, std::vector<std::int64_t>{160}) << "the handler's time is not the timer's";
    // Another handler, from 160 to 175 ms, restarts it with a new interval.
    now = 175 * millisecond;
    late.SetInterval(50);
    EventAt(210);
    EXPECT_EQ(lateFiredAt.size(), 1u);
    EventAt(220);
    EXPECT_EQ(lateFiredAt, (std::vector<std::int64_t>{160, 220}));
}

TEST_F(LoopClockTest, ACatchUpAdvancesTheCounterAndTicksTheTimersStepByStep)
{
    ASSERT_EQ(clock.PlanWait(), 30 * millisecond);
    // The wait meant to end at 30 ms ends at 95 ms.
    EventAt(95);
    EXPECT_EQ(firedAt, (std::vector<std::int64_t>{30, 60, 90})) << "each firing sees the time of its own step";
}
