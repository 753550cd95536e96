#pragma once
// A local date and time. The millisecond part is not read from a clock: it is the process-wide
// counter that the event loop advances by 10 each time its 10 ms wait times out, so differences
// of stamps measure idle time, which is what double clicks and the game's pace are timed by.

#include <cstdint>
#include <ctime>

class DateTime {
public:
    DateTime() = default;

    static DateTime Now();
    static DateTime FromTm(const std::tm& parts);
    std::tm ToTm() const;

    void Normalize();
    std::int64_t SecondsTo(const DateTime& other) const;
    std::int64_t MillisecondsTo(const DateTime& other) const;

    // The process-wide millisecond counter (0 to 999).
    static void AdvanceMilliseconds();
    static int CurrentMillisecond();
    static void SetCurrentMillisecond(int millisecond);

    int year = 1970;
    int month = 1;
    int weekday = 4;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    std::int64_t seconds = 0;
    int invalid = 0;

private:
    void FillFrom(std::time_t moment);
};
