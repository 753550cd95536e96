#pragma once
// Waiting for something another process does: the condition is asked every step until it holds.
// The deadline is an upper bound for a thing that never comes, not a measure of how long it
// ought to take.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>

// True as soon as the condition holds; false when the deadline passed without it.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline,
             std::chrono::milliseconds step = std::chrono::milliseconds(20));

// Waits for a child process to end: its exit status, or 128 plus the signal that ended it; none
// when it still runs at the deadline. The pid becomes -1 once the child is reaped.
std::optional<int> WaitForExit(pid_t& pid, std::chrono::milliseconds deadline);
