#include <gtest/gtest.h>

#include "util/DateTime.h"

namespace {

DateTime At(int hour, int minute, int second, int millisecond)
{
    std::tm parts{};
    parts.tm_year = 2026 - 1900;
    parts.tm_mon = 2;
    parts.tm_mday = 5;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    DateTime stamp = DateTime::FromTm(parts);
    stamp.millisecond = millisecond;
    return stamp;
}

}  // namespace

TEST(DateTime, MillisecondsAcrossASecondBoundary)
{
    EXPECT_EQ(At(12, 0, 0, 990).MillisecondsTo(At(12, 0, 1, 10)), 20);
    EXPECT_EQ(At(12, 0, 1, 10).MillisecondsTo(At(12, 0, 0, 990)), -20);
    EXPECT_EQ(At(12, 0, 0, 0).SecondsTo(At(12, 1, 0, 0)), 60);
}

TEST(DateTime, InvalidRecordMeasuresNothing)
{
    DateTime broken = At(12, 0, 0, 0);
    broken.invalid = 1;
    EXPECT_EQ(broken.MillisecondsTo(At(13, 0, 0, 0)), 0);
    EXPECT_EQ(broken.SecondsTo(At(13, 0, 0, 0)), 0);
}

TEST(DateTime, NowTakesTheLoopsCounter)
{
    DateTime::SetCurrentMillisecond(990);
    DateTime::AdvanceMilliseconds();
    EXPECT_EQ(DateTime::CurrentMillisecond(), 0);
    for (int i = 0; i < 3; ++i) DateTime::AdvanceMilliseconds();
    EXPECT_EQ(DateTime::Now().millisecond, 30);

    const DateTime first = DateTime::Now();
    const DateTime second = DateTime::Now();
    if (first.seconds == second.seconds) {
        EXPECT_EQ(first.MillisecondsTo(second), 0);
    }
}

TEST(DateTime, NormalizeCarriesOverflowingFields)
{
    DateTime stamp = At(23, 59, 59, 500);
    stamp.second += 2;
    stamp.Normalize();
    EXPECT_EQ(stamp.day, 6);
    EXPECT_EQ(stamp.hour, 0);
    EXPECT_EQ(stamp.second, 1);
    EXPECT_EQ(stamp.millisecond, 0);
    EXPECT_EQ(stamp.weekday, 5) << "6 March 2026 is a Friday";
    const std::tm parts = stamp.ToTm();
    EXPECT_EQ(parts.tm_year, 126);
    EXPECT_EQ(parts.tm_mon, 2);
}
