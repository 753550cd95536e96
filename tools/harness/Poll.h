#pragma once
// Waiting for something another process does: the condition is asked every step until it holds.
// The deadline is an upper bound for a thing that never comes, not a measure of how long it
// ought to take.

#include <chrono>
#include <functional>

// True as soon as the condition holds; false when the deadline passed without it.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds deadline,
             std::chrono::milliseconds step = std::chrono::milliseconds(20));
