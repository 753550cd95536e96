#pragma once
// Dice in a test's hands: each throw answers the next value the test queued, checked against the
// range asked for, and the lowest value once the queue is empty.

#include <gtest/gtest.h>

#include <deque>
#include <functional>

inline std::function<int(int, int)> LoadedDice(std::deque<int>& dice)
{
    return [&dice](int low, int high) {
        if (dice.empty()) return low;
        const int value = dice.front();
        dice.pop_front();
        EXPECT_GE(value, low);
        EXPECT_LE(value, high);
        return value;
    };
}
