#pragma once
// A local date and time. The millisecond part is not read from a clock: it is the process-wide
// counter that the event loop advances by 10 for each 10 ms step of its monotonic clock, so the
// stamps that double clicks and the game's pace are timed by move with the loop's timers.

#include <cstdint>
#include <ctime>
#include <string>

class DateTime {
public:
    DateTime() = default;
    DateTime(int year, int month, int day);
    DateTime(int year, int month, int day, int hour, int minute, int second);

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

    // Calendar operations. Each leaves the record normalised or sets invalid; days and months
    // are counted on the calendar, so the results are the same in every time zone.
    void ParseDateMDY(const std::string& text);
    void ParseDateDMY(const std::string& text);
    void ParseTime(const std::string& text);
    // Invalid outside 1500 to 2499, where the method's table of constants ends.
    static DateTime Easter(int year);
    DateTime DateOnly() const;

    int DaysInMonth() const;
    static bool IsLeapYear(int year);
    bool IsHoliday() const;
    void AddYears(int n);
    void AddMonths(int n);
    void AddDays(std::int64_t n);
    void AddHours(std::int64_t n);
    void AddMinutes(std::int64_t n);
    void AddSeconds(std::int64_t n);
    void AddMilliseconds(std::int64_t n);
    std::int64_t DaysUntil(const DateTime& otherDate) const;
    int Compare(const DateTime& other) const;
    // Only the left record's invalid flag counts: an invalid record is never earlier or later.
    bool operator<(const DateTime& other) const;
    bool operator>(const DateTime& other) const;
    bool operator<=(const DateTime& other) const;
    bool operator>=(const DateTime& other) const;
    bool operator==(const DateTime& other) const;
    bool operator!=(const DateTime& other) const;

    std::string FormatDMY() const;
    std::string FormatMDY() const;
    std::string FormatISO() const;
    std::string FormatTime() const;
    // ISO 8859-1 bytes; the empty text when the field is out of range.
    std::string MonthNameIT() const;
    std::string MonthNameEN() const;
    std::string DayNameIT() const;
    std::string DayNameEN() const;
    std::string WeekdayDigits() const;

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
    void ParseDate(const std::string& text, bool monthFirst);
    void SetFields(std::int64_t newYear, std::int64_t newMonth, std::int64_t newDay);
};
