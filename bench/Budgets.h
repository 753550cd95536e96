#pragma once
// What the benchmark holds the game to, in one table. Budgets on CPU are ratios to the 10 ms floor
// client measured in the same windows: on a shared machine only figures taken side by side hold.

#include <chrono>

namespace Budgets {

// Idle on the title screen.
inline constexpr double idleCpuRatio = 0.05;  // game / floor
inline constexpr double idleWakeUps = 1;      // per second
// Play with nobody at the keys, and with the scripted player.
inline constexpr double quietPlayCpuRatio = 0.5;  // game / floor
inline constexpr double quietPlayWakeUps = 12;    // per second
inline constexpr double playCpuRatio = 2.0;       // game / floor
// A ball falls one row every 26th tick of the game's 30 ms timer; the pointer's motion must not
// change how far it falls in the period.
inline constexpr std::chrono::milliseconds ballStep{26 * 30};
inline constexpr std::chrono::milliseconds fallPeriod{4000};
inline constexpr int fallRows = static_cast<int>(fallPeriod / ballStep);
inline constexpr int fallRowsUnderMotion = 1;  // at most this many rows off the still pointer's
// A held key moves the catcher one column every 5th tick.
inline constexpr double catcherStepMs = 5 * 30, catcherStepToleranceMs = 30;
inline constexpr double startupMs = 150;
// 10^6 bytes, when no peer game was measured; otherwise the lightest peer's peak is the budget.
inline constexpr double residentMb = 5;
// A ball step's traffic as it was measured before the loop and the sprites changed: it must stay.
inline constexpr double stepRequests = 8, stepBytes = 6008;
// A form with no timer waits for events and nothing else.
inline constexpr double noTimerWakeUps = 0;

}  // namespace Budgets
