// The calendar runs under several time zones (see CMakeLists.txt): dates, day counts and month
// lengths must come out the same in UTC and in a zone whose days are sometimes 23 or 25 hours.

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "util/DateTime.h"

namespace {

void ExpectDate(const DateTime& stamp, int year, int month, int day, const char* note = "")
{
    EXPECT_EQ(stamp.invalid, 0) << note;
    EXPECT_EQ(stamp.year, year) << note;
    EXPECT_EQ(stamp.month, month) << note;
    EXPECT_EQ(stamp.day, day) << note;
}

void ExpectTime(const DateTime& stamp, int hour, int minute, int second)
{
    EXPECT_EQ(stamp.hour, hour);
    EXPECT_EQ(stamp.minute, minute);
    EXPECT_EQ(stamp.second, second);
}

DateTime Invalid()
{
    DateTime stamp(2024, 6, 1);
    stamp.invalid = 1;
    return stamp;
}

// The anonymous Gregorian algorithm (Meeus, Jones, Butcher): a method independent of Gauss's.
void AnonymousEaster(int year, int& month, int& day)
{
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    month = (h + l - 7 * m + 114) / 31;
    day = (h + l - 7 * m + 114) % 31 + 1;
}

}  // namespace

TEST(CalendarZone, TheNamedZoneIsInForce)
{
    // Without its zone data a TZ name silently means UTC, and the zone runs would prove nothing.
    const char* zone = std::getenv("TZ");
    if (!zone) GTEST_SKIP() << "runs under the machine's own zone";
    const std::int64_t lengthOfClockChangeDay = DateTime(2024, 3, 31).SecondsTo(DateTime(2024, 4, 1));
    if (std::string(zone) == "Europe/Rome") {
        EXPECT_EQ(lengthOfClockChangeDay, 23 * 3600);
    } else if (std::string(zone) == "UTC") {
        EXPECT_EQ(lengthOfClockChangeDay, 24 * 3600);
    }
}

TEST(Calendar, ConstructionNormalises)
{
    const DateTime date(2026, 3, 5);
    ExpectDate(date, 2026, 3, 5);
    ExpectTime(date, 0, 0, 0);
    EXPECT_EQ(date.weekday, 4) << "5 March 2026 is a Thursday";

    const DateTime overflowing(2025, 12, 31, 23, 59, 60);
    ExpectDate(overflowing, 2026, 1, 1);
    ExpectTime(overflowing, 0, 0, 0);
    EXPECT_EQ(DateTime(2026, 3, 5).SecondsTo(DateTime(2026, 3, 5, 13, 45, 7)), 13 * 3600 + 45 * 60 + 7);
}

TEST(Calendar, ParsesDayMonthYearAndMonthDayYear)
{
    DateTime dmy(2020, 1, 1, 12, 34, 56);
    dmy.ParseDateDMY("05/03/2026");
    ExpectDate(dmy, 2026, 3, 5);
    ExpectTime(dmy, 0, 0, 0);

    DateTime mdy;
    mdy.ParseDateMDY("03/05/2026");
    ExpectDate(mdy, 2026, 3, 5);
    EXPECT_EQ(mdy.seconds, dmy.seconds);

    DateTime otherSeparators;
    otherSeparators.ParseDateDMY("05-03.2026");
    ExpectDate(otherSeparators, 2026, 3, 5);

    DateTime wasInvalid = Invalid();
    wasInvalid.ParseDateDMY("01/01/2000");
    ExpectDate(wasInvalid, 2000, 1, 1);
}

TEST(Calendar, ParsingRefusesYearsOutsideItsRangeAndOtherLengths)
{
    for (const char* text : {"01/01/1977", "01/01/2100", "1/01/2026", "01/01/20266", "", "01/01/2026 "}) {
        DateTime date(2024, 6, 1);
        date.ParseDateDMY(text);
        EXPECT_EQ(date.invalid, 1) << '"' << text << '"';
        DateTime other(2024, 6, 1);
        other.ParseDateMDY(text);
        EXPECT_EQ(other.invalid, 1) << '"' << text << '"';
    }
    DateTime first;
    first.ParseDateDMY("01/01/1978");
    ExpectDate(first, 1978, 1, 1);
    DateTime last;
    last.ParseDateMDY("12/31/2099");
    ExpectDate(last, 2099, 12, 31);
}

TEST(Calendar, ParseTimeKeepsTheDate)
{
    DateTime stamp(2026, 3, 5, 8, 0, 0);
    stamp.ParseTime("13:45:07");
    ExpectDate(stamp, 2026, 3, 5);
    ExpectTime(stamp, 13, 45, 7);

    stamp.ParseTime("25:00:00");
    ExpectDate(stamp, 2026, 3, 6);
    ExpectTime(stamp, 1, 0, 0);

    for (const char* text : {"13:45:7", "13:45:07 ", ""}) {
        DateTime other(2026, 3, 5);
        other.ParseTime(text);
        EXPECT_EQ(other.invalid, 1) << '"' << text << '"';
    }
}

TEST(Calendar, EasterOfKnownYears)
{
    ExpectDate(DateTime::Easter(2024), 2024, 3, 31);
    ExpectDate(DateTime::Easter(2025), 2025, 4, 20);
    ExpectDate(DateTime::Easter(1981), 1981, 4, 19, "the April 26 rule");
    ExpectDate(DateTime::Easter(1954), 1954, 4, 18, "the April 25 rule");
    ExpectDate(DateTime::Easter(2049), 2049, 4, 18, "the April 25 rule");
    ExpectDate(DateTime::Easter(1818), 1818, 3, 22, "the earliest possible date");
    ExpectDate(DateTime::Easter(1943), 1943, 4, 25, "the latest possible date");
    ExpectTime(DateTime::Easter(2025), 0, 0, 0);
}

TEST(Calendar, EasterAgreesWithTheAnonymousAlgorithm)
{
    for (int year = 1583; year <= 2499; ++year) {
        int month = 0;
        int day = 0;
        AnonymousEaster(year, month, day);
        const DateTime easter = DateTime::Easter(year);
        ASSERT_EQ(easter.invalid, 0) << year;
        ASSERT_EQ(easter.year, year);
        ASSERT_EQ(easter.month, month) << year;
        ASSERT_EQ(easter.day, day) << year;
        ASSERT_EQ(easter.weekday, 0) << year << " Easter is a Sunday";
    }
}

TEST(Calendar, EasterOutsideTheTableIsInvalid)
{
    EXPECT_EQ(DateTime::Easter(1499).invalid, 1);
    EXPECT_EQ(DateTime::Easter(2500).invalid, 1);
    EXPECT_EQ(DateTime::Easter(-7).invalid, 1);
    EXPECT_EQ(DateTime::Easter(1500).invalid, 0);
    EXPECT_EQ(DateTime::Easter(2499).invalid, 0);
}

TEST(Calendar, DateOnlyDropsTheTime)
{
    const DateTime date = DateTime(2026, 3, 5, 13, 45, 7).DateOnly();
    ExpectDate(date, 2026, 3, 5);
    ExpectTime(date, 0, 0, 0);
    EXPECT_EQ(date.seconds, DateTime(2026, 3, 5).seconds);
}

TEST(Calendar, DaysInMonth)
{
    for (int day = 1; day <= 29; ++day) EXPECT_EQ(DateTime(2024, 2, day).DaysInMonth(), 29) << day;
    for (int day = 1; day <= 28; ++day) EXPECT_EQ(DateTime(2023, 2, day).DaysInMonth(), 28) << day;
    EXPECT_EQ(DateTime(1900, 2, 1).DaysInMonth(), 28);
    EXPECT_EQ(DateTime(2000, 2, 1).DaysInMonth(), 29);
    // The last day of March 2024 and of October 2024 are 23 and 25 hours long in Rome.
    EXPECT_EQ(DateTime(2024, 3, 15).DaysInMonth(), 31);
    EXPECT_EQ(DateTime(2024, 10, 15).DaysInMonth(), 31);
    EXPECT_EQ(DateTime(2024, 4, 30).DaysInMonth(), 30);
    EXPECT_EQ(DateTime(2024, 12, 31).DaysInMonth(), 31);
    EXPECT_EQ(DateTime(2025, 1, 31).DaysInMonth(), 31);
}

TEST(Calendar, LeapYears)
{
    EXPECT_TRUE(DateTime::IsLeapYear(2024));
    EXPECT_TRUE(DateTime::IsLeapYear(2000));
    EXPECT_TRUE(DateTime::IsLeapYear(1600));
    EXPECT_FALSE(DateTime::IsLeapYear(2023));
    EXPECT_FALSE(DateTime::IsLeapYear(1900));
    EXPECT_FALSE(DateTime::IsLeapYear(2100));
}

TEST(Calendar, Holidays)
{
    const int fixed[][2] = {{1, 1}, {1, 6}, {4, 25}, {5, 1}, {6, 2}, {8, 15}, {11, 1}, {12, 8}, {12, 25}, {12, 26}};
    for (const auto& holiday : fixed) {
        EXPECT_TRUE(DateTime(2026, holiday[0], holiday[1]).IsHoliday()) << holiday[0] << '/' << holiday[1];
        EXPECT_TRUE(DateTime(2026, holiday[0], holiday[1], 15, 30, 0).IsHoliday());
    }
    EXPECT_TRUE(DateTime(2024, 3, 31).IsHoliday()) << "Easter Sunday";
    EXPECT_TRUE(DateTime(2024, 4, 1).IsHoliday()) << "the day after Easter";
    EXPECT_TRUE(DateTime(2025, 4, 21, 23, 59, 59).IsHoliday());
    for (const auto& ordinary : {DateTime(2024, 4, 2), DateTime(2024, 3, 30), DateTime(2026, 1, 7),
                                 DateTime(2026, 12, 24), DateTime(2026, 12, 27), DateTime(2025, 4, 19)})
        EXPECT_FALSE(ordinary.IsHoliday()) << ordinary.FormatDMY();
    EXPECT_FALSE(Invalid().IsHoliday());
}

TEST(Calendar, AddYears)
{
    DateTime leapDay(2024, 2, 29, 10, 0, 0);
    leapDay.AddYears(1);
    ExpectDate(leapDay, 2025, 3, 1);
    ExpectTime(leapDay, 10, 0, 0);

    DateTime again(2024, 2, 29);
    again.AddYears(4);
    ExpectDate(again, 2028, 2, 29);
    again.AddYears(-30);
    ExpectDate(again, 1998, 3, 1);

    DateTime tooFar(2024, 1, 1);
    tooFar.AddYears(INT_MAX);
    EXPECT_EQ(tooFar.invalid, 1);
}

TEST(Calendar, AddMonthsAcrossYearEndsAndMonthEnds)
{
    DateTime january(2025, 1, 15, 9, 30, 0);
    january.AddMonths(-2);
    ExpectDate(january, 2024, 11, 15);
    ExpectTime(january, 9, 30, 0);

    DateTime monthEnd(2025, 1, 31);
    monthEnd.AddMonths(1);
    ExpectDate(monthEnd, 2025, 2, 28);

    DateTime leapMonthEnd(2024, 1, 31);
    leapMonthEnd.AddMonths(1);
    ExpectDate(leapMonthEnd, 2024, 2, 29);

    DateTime december(2025, 12, 15);
    december.AddMonths(13);
    ExpectDate(december, 2027, 1, 15);

    DateTime february(2025, 2, 15);
    february.AddMonths(-14);
    ExpectDate(february, 2023, 12, 15);

    DateTime whole(2025, 3, 31);
    whole.AddMonths(12);
    ExpectDate(whole, 2026, 3, 31);
    whole.AddMonths(-1);
    ExpectDate(whole, 2026, 2, 28);
    whole.AddMonths(-24);
    ExpectDate(whole, 2024, 2, 28);
}

TEST(Calendar, AddDaysCountsCalendarDays)
{
    // Across the clock changes of 2024 in zones with daylight saving time.
    DateTime spring(2024, 3, 30);
    spring.AddDays(1);
    ExpectDate(spring, 2024, 3, 31);
    ExpectTime(spring, 0, 0, 0);
    spring.AddDays(1);
    ExpectDate(spring, 2024, 4, 1);
    ExpectTime(spring, 0, 0, 0);

    DateTime autumn(2024, 10, 26, 12, 30, 0);
    autumn.AddDays(1);
    ExpectDate(autumn, 2024, 10, 27);
    ExpectTime(autumn, 12, 30, 0);
    autumn.AddDays(1);
    ExpectDate(autumn, 2024, 10, 28);
    ExpectTime(autumn, 12, 30, 0);

    DateTime leap(2024, 3, 1);
    leap.AddDays(-1);
    ExpectDate(leap, 2024, 2, 29);
    leap.AddDays(366);
    ExpectDate(leap, 2025, 3, 1);

    DateTime far(2024, 1, 1);
    far.AddDays(INT64_MAX);
    EXPECT_EQ(far.invalid, 1);
}

TEST(Calendar, AddHoursMinutesAndSecondsCountElapsedTime)
{
    DateTime late(2026, 3, 5, 23, 30, 0);
    late.millisecond = 500;
    late.AddHours(1);
    ExpectDate(late, 2026, 3, 6);
    ExpectTime(late, 0, 30, 0);
    EXPECT_EQ(late.millisecond, 0);

    DateTime minutes(2026, 3, 5, 10, 0, 0);
    minutes.AddMinutes(-61);
    ExpectTime(minutes, 8, 59, 0);

    DateTime newYear(2025, 1, 1);
    newYear.AddSeconds(-1);
    ExpectDate(newYear, 2024, 12, 31);
    ExpectTime(newYear, 23, 59, 59);

    // Across a clock change the wall clock may jump, but the elapsed time is exact in every zone.
    const DateTime start(2024, 3, 31, 1, 30, 0);
    DateTime later = start;
    later.AddHours(2);
    EXPECT_EQ(start.SecondsTo(later), 2 * 3600);

    DateTime overflowing(2024, 1, 1);
    overflowing.AddHours(INT64_MAX / 1000);
    EXPECT_EQ(overflowing.invalid, 1);
}

TEST(Calendar, AddMillisecondsCarriesAndBorrows)
{
    DateTime stamp(2026, 3, 5, 12, 0, 0);
    stamp.millisecond = 990;
    stamp.AddMilliseconds(20);
    ExpectTime(stamp, 12, 0, 1);
    EXPECT_EQ(stamp.millisecond, 10);

    stamp.AddMilliseconds(-20);
    ExpectTime(stamp, 12, 0, 0);
    EXPECT_EQ(stamp.millisecond, 990);

    stamp.AddMilliseconds(-1000);
    ExpectTime(stamp, 11, 59, 59);
    EXPECT_EQ(stamp.millisecond, 990);

    stamp.AddMilliseconds(2500);
    ExpectTime(stamp, 12, 0, 2);
    EXPECT_EQ(stamp.millisecond, 490);

    DateTime midnight(2025, 1, 1);
    midnight.AddMilliseconds(-1);
    ExpectDate(midnight, 2024, 12, 31);
    ExpectTime(midnight, 23, 59, 59);
    EXPECT_EQ(midnight.millisecond, 999);
}

TEST(Calendar, InvalidRecordsAreLeftAsTheyAre)
{
    DateTime stamp = Invalid();
    const DateTime before = stamp;
    stamp.AddDays(3);
    stamp.AddHours(3);
    stamp.AddMinutes(3);
    stamp.AddSeconds(3);
    stamp.AddMilliseconds(3);
    stamp.AddMonths(3);
    stamp.AddYears(3);
    EXPECT_EQ(stamp.invalid, 1);
    EXPECT_EQ(stamp.seconds, before.seconds);
    EXPECT_EQ(stamp.day, before.day);
    EXPECT_EQ(stamp.month, before.month);
    EXPECT_EQ(stamp.year, before.year);
}

TEST(Calendar, DaysUntilCountsDates)
{
    EXPECT_EQ(DateTime(2024, 3, 1).DaysUntil(DateTime(2024, 4, 1)), 31);
    EXPECT_EQ(DateTime(2024, 4, 1).DaysUntil(DateTime(2024, 3, 1)), -31);
    EXPECT_EQ(DateTime(2024, 10, 1).DaysUntil(DateTime(2024, 11, 1)), 31);
    EXPECT_EQ(DateTime(2024, 1, 1).DaysUntil(DateTime(2025, 1, 1)), 366);
    EXPECT_EQ(DateTime(2024, 1, 1, 23, 59, 0).DaysUntil(DateTime(2024, 1, 2, 0, 1, 0)), 1);
    EXPECT_EQ(DateTime(2024, 1, 2, 0, 1, 0).DaysUntil(DateTime(2024, 1, 2, 23, 0, 0)), 0);
    EXPECT_EQ(Invalid().DaysUntil(DateTime(2025, 1, 1)), 0);
}

TEST(Calendar, CompareAndOperators)
{
    const DateTime earlier(2024, 1, 1);
    const DateTime later(2024, 1, 2);
    const DateTime same(2024, 1, 1);
    EXPECT_EQ(earlier.Compare(later), -1);
    EXPECT_EQ(later.Compare(earlier), 1);
    EXPECT_EQ(earlier.Compare(same), 0);

    EXPECT_TRUE(earlier < later);
    EXPECT_FALSE(later < earlier);
    EXPECT_TRUE(later > earlier);
    EXPECT_FALSE(earlier > later);
    EXPECT_TRUE(earlier <= same);
    EXPECT_FALSE(later <= earlier);
    EXPECT_TRUE(earlier >= same);
    EXPECT_FALSE(earlier >= later);
    EXPECT_TRUE(earlier == same);
    EXPECT_FALSE(earlier == later);
    EXPECT_TRUE(earlier != later);
    EXPECT_FALSE(earlier != same);
}

TEST(Calendar, InvalidLeftOperandRules)
{
    const DateTime broken = Invalid();
    const DateTime other(2030, 1, 1);
    EXPECT_EQ(broken.Compare(other), 0);
    EXPECT_FALSE(broken < other);
    EXPECT_FALSE(broken > other);
    EXPECT_TRUE(broken <= other);
    EXPECT_TRUE(broken >= other);
    EXPECT_TRUE(broken == other);
    EXPECT_FALSE(broken != other);
    // Only the left record's flag counts.
    EXPECT_TRUE(other > broken);
    EXPECT_FALSE(other == broken);
    EXPECT_TRUE(other != broken);
}

TEST(Calendar, Formats)
{
    const DateTime stamp(2026, 3, 5, 9, 5, 7);
    EXPECT_EQ(stamp.FormatDMY(), "05/03/2026");
    EXPECT_EQ(stamp.FormatMDY(), "03/05/2026");
    EXPECT_EQ(stamp.FormatISO(), "2026-03-05");
    EXPECT_EQ(stamp.FormatTime(), "09:05:07");
    EXPECT_EQ(DateTime(2026, 12, 25, 23, 59, 58).FormatDMY(), "25/12/2026");
    EXPECT_EQ(DateTime(2026, 12, 25, 23, 59, 58).FormatTime(), "23:59:58");
}

TEST(Calendar, MonthNames)
{
    const char* italian[] = {"GENNAIO", "FEBBRAIO", "MARZO",     "APRILE",  "MAGGIO",   "GIUGNO",
                             "LUGLIO",  "AGOSTO",   "SETTEMBRE", "OTTOBRE", "NOVEMBRE", "DICEMBRE"};
    const char* english[] = {"JANUARY", "FEBRUARY", "MARCH",     "APRIL",   "MAY",      "JUNE",
                             "JULY",    "AUGUST",   "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
    for (int month = 1; month <= 12; ++month) {
        const DateTime date(2026, month, 10);
        EXPECT_EQ(date.MonthNameIT(), italian[month - 1]);
        EXPECT_EQ(date.MonthNameEN(), english[month - 1]);
    }
    DateTime broken = Invalid();
    broken.month = 13;
    EXPECT_EQ(broken.MonthNameIT(), "");
}

TEST(Calendar, DayNamesInLatin1)
{
    // 1 to 7 March 2026 run from Sunday to Saturday.
    const std::string italian[] = {"Domenica", "Luned\xEC", "Marted\xEC", "Mercoled\xEC",
                                   "Gioved\xEC", "Venerd\xEC", "Sabato"};
    const std::string english[] = {"Sunday", "Monday", "Tuesday ", "Wednesday", "Thursday", "Friday", "Saturday"};
    for (int day = 1; day <= 7; ++day) {
        const DateTime date(2026, 3, day);
        ASSERT_EQ(date.weekday, day - 1);
        EXPECT_EQ(date.DayNameIT(), italian[day - 1]);
        EXPECT_EQ(date.DayNameEN(), english[day - 1]);
    }
    EXPECT_EQ(DateTime(2026, 3, 2).DayNameIT().size(), 6u) << "one byte for the accented i";
    EXPECT_EQ(static_cast<unsigned char>(DateTime(2026, 3, 2).DayNameIT().back()), 0xECu);
    EXPECT_EQ(DateTime(2026, 3, 3).DayNameEN(), "Tuesday ");
}

TEST(Calendar, WeekdayDigits)
{
    EXPECT_EQ(DateTime(2026, 3, 20).WeekdayDigits(), "0123456012345601234560123456012");
    EXPECT_EQ(DateTime(2024, 2, 1).WeekdayDigits(), "45601234560123456012345601234");
    EXPECT_EQ(DateTime(2023, 2, 28).WeekdayDigits().size(), 28u);
    EXPECT_EQ(DateTime(1600, 1, 1).WeekdayDigits().substr(0, 3), "601") << "1 January 1600 was a Saturday";
}
