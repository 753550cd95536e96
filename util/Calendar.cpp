// Calendar operations on DateTime. Whole days and months are counted on the calendar, never as
// multiples of 86400 seconds: a local day is 23 or 25 hours long when the clocks change, and
// counting seconds would then land on the wrong date in zones with daylight saving time.

#include <climits>
#include <cstdlib>

#include "util/DateTime.h"
#include "util/Strings.h"

namespace {

std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor)
{
    const std::int64_t quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

// Days since 1 January 1970 of a date of the proleptic Gregorian calendar; month 1 to 12.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = FloorDivide(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct CivilDate {
    std::int64_t year;
    std::int64_t month;
    std::int64_t day;
};

CivilDate CivilFromDays(std::int64_t days)
{
    days += 719468;
    const std::int64_t era = FloorDivide(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const std::int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

int DaysInMonthOf(std::int64_t year, int month)
{
    static constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 1;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : lengths[month - 1];
}

int NumberAt(const std::string& text, std::size_t position, std::size_t length)
{
    return static_cast<int>(std::strtol(text.substr(position, length).c_str(), nullptr, 10));
}

bool FitsInt(std::int64_t value) { return value >= INT_MIN && value <= INT_MAX; }

constexpr const char* monthNamesIT[] = {"GENNAIO", "FEBBRAIO", "MARZO",     "APRILE",  "MAGGIO",   "GIUGNO",
                                        "LUGLIO",  "AGOSTO",   "SETTEMBRE", "OTTOBRE", "NOVEMBRE", "DICEMBRE"};
constexpr const char* monthNamesEN[] = {"JANUARY", "FEBRUARY", "MARCH",     "APRIL",   "MAY",      "JUNE",
                                        "JULY",    "AUGUST",   "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
// The accented i is the single ISO 8859-1 byte 0xEC, as the rest of the program's texts are 8-bit.
constexpr const char* dayNamesIT[] = {"Domenica", "Luned\xEC", "Marted\xEC", "Mercoled\xEC",
                                      "Gioved\xEC", "Venerd\xEC", "Sabato"};
// Tuesday's trailing blank is part of the table that callers have always received.
constexpr const char* dayNamesEN[] = {"Sunday", "Monday", "Tuesday ", "Wednesday", "Thursday", "Friday", "Saturday"};

}  // namespace

DateTime::DateTime(int year, int month, int day) : DateTime(year, month, day, 0, 0, 0) {}

DateTime::DateTime(int year, int month, int day, int hour, int minute, int second)
    : year(year), month(month), day(day), hour(hour), minute(minute), second(second)
{
    Normalize();
}

void DateTime::ParseDate(const std::string& text, bool monthFirst)
{
    if (text.size() != 10) {
        invalid = 1;
        return;
    }
    const int firstNumber = NumberAt(text, 0, 2);
    const int secondNumber = NumberAt(text, 3, 2);
    const int parsedYear = NumberAt(text, 6, 4);
    if (parsedYear < 1978 || parsedYear > 2099) {
        invalid = 1;
        return;
    }
    year = parsedYear;
    month = monthFirst ? firstNumber : secondNumber;
    day = monthFirst ? secondNumber : firstNumber;
    hour = minute = second = 0;
    Normalize();
}

void DateTime::ParseDateMDY(const std::string& text) { ParseDate(text, true); }

void DateTime::ParseDateDMY(const std::string& text) { ParseDate(text, false); }

void DateTime::ParseTime(const std::string& text)
{
    if (text.size() != 8) {
        invalid = 1;
        return;
    }
    hour = NumberAt(text, 0, 2);
    minute = NumberAt(text, 3, 2);
    second = NumberAt(text, 6, 2);
    Normalize();
}

DateTime DateTime::Easter(int year)
{
    // Gauss's constants M and N for the centuries 1500 to 2499 of the Gregorian calendar.
    static constexpr int centuryM[] = {22, 22, 23, 23, 24, 24, 24, 25, 26, 25};
    static constexpr int centuryN[] = {2, 2, 3, 4, 5, 5, 6, 0, 1, 1};
    if (year < 1500 || year > 2499) {
        DateTime none;
        none.invalid = 1;
        return none;
    }
    const int century = year / 100 - 15;
    const int a = year % 19;
    const int b = year % 4;
    const int c = year % 7;
    const int d = (19 * a + centuryM[century]) % 30;
    const int e = (2 * b + 4 * c + 6 * d + centuryN[century]) % 7;
    if (d + e <= 9) return DateTime(year, 3, d + e + 22);
    int aprilDay = d + e - 9;
    if (aprilDay == 26) aprilDay = 19;
    if (aprilDay == 25 && d == 28 && e == 6 && a > 10) aprilDay = 18;
    return DateTime(year, 4, aprilDay);
}

DateTime DateTime::DateOnly() const { return DateTime(year, month, day); }

int DateTime::DaysInMonth() const { return DaysInMonthOf(year, month); }

bool DateTime::IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

bool DateTime::IsHoliday() const
{
    if (invalid) return false;
    static constexpr int fixedHolidays[][2] = {{1, 1}, {1, 6},  {4, 25},  {5, 1},   {6, 2},
                                               {8, 15}, {11, 1}, {12, 8}, {12, 25}, {12, 26}};
    for (const auto& holiday : fixedHolidays)
        if (month == holiday[0] && day == holiday[1]) return true;
    const DateTime easter = Easter(year);
    if (easter.invalid) return false;
    const std::int64_t sinceEaster =
        DaysFromCivil(year, month, day) - DaysFromCivil(easter.year, easter.month, easter.day);
    return sinceEaster == 0 || sinceEaster == 1;
}

void DateTime::SetFields(std::int64_t newYear, std::int64_t newMonth, std::int64_t newDay)
{
    // The year must also survive the C library's offset of 1900.
    if (newYear < std::int64_t{INT_MIN} + 1900 || newYear > INT_MAX || !FitsInt(newMonth) || !FitsInt(newDay)) {
        invalid = 1;
        return;
    }
    year = static_cast<int>(newYear);
    month = static_cast<int>(newMonth);
    day = static_cast<int>(newDay);
    Normalize();
}

void DateTime::AddYears(int n)
{
    if (invalid) return;
    SetFields(static_cast<std::int64_t>(year) + n, month, day);
}

void DateTime::AddMonths(int n)
{
    if (invalid) return;
    std::int64_t targetYear = static_cast<std::int64_t>(year) + n / 12;
    int targetMonth = month + n % 12;
    if (targetMonth > 12) {
        targetMonth -= 12;
        ++targetYear;
    } else if (targetMonth < 1) {
        targetMonth += 12;
        --targetYear;
    }
    const int lastDay = DaysInMonthOf(targetYear, targetMonth);
    SetFields(targetYear, targetMonth, day > lastDay ? lastDay : day);
}

void DateTime::AddDays(std::int64_t n)
{
    if (invalid) return;
    // Far beyond any year the C library can represent; keeps the day arithmetic from overflowing.
    constexpr std::int64_t dayLimit = std::int64_t{1} << 40;
    const std::int64_t today = DaysFromCivil(year, month, day);
    if (n > dayLimit || n < -dayLimit) {
        invalid = 1;
        return;
    }
    const CivilDate date = CivilFromDays(today + n);
    SetFields(date.year, date.month, date.day);
}

void DateTime::AddHours(std::int64_t n)
{
    if (invalid) return;
    std::int64_t delta = 0;
    if (__builtin_mul_overflow(n, std::int64_t{3600}, &delta)) {
        invalid = 1;
        return;
    }
    AddSeconds(delta);
}

void DateTime::AddMinutes(std::int64_t n)
{
    if (invalid) return;
    std::int64_t delta = 0;
    if (__builtin_mul_overflow(n, std::int64_t{60}, &delta)) {
        invalid = 1;
        return;
    }
    AddSeconds(delta);
}

void DateTime::AddSeconds(std::int64_t n)
{
    if (invalid) return;
    std::int64_t moment = 0;
    if (__builtin_add_overflow(seconds, n, &moment)) {
        invalid = 1;
        return;
    }
    FillFrom(static_cast<std::time_t>(moment));
    millisecond = 0;
}

void DateTime::AddMilliseconds(std::int64_t n)
{
    if (invalid) return;
    std::int64_t total = 0;
    if (__builtin_add_overflow(static_cast<std::int64_t>(millisecond), n, &total)) {
        invalid = 1;
        return;
    }
    // Floor division, so that going back past a second boundary borrows a whole second.
    AddSeconds(FloorDivide(total, 1000));
    if (!invalid) millisecond = static_cast<int>(total - FloorDivide(total, 1000) * 1000);
}

std::int64_t DateTime::DaysUntil(const DateTime& otherDate) const
{
    if (invalid) return 0;
    return DaysFromCivil(otherDate.year, otherDate.month, otherDate.day) - DaysFromCivil(year, month, day);
}

int DateTime::Compare(const DateTime& other) const
{
    if (invalid || seconds == other.seconds) return 0;
    return seconds < other.seconds ? -1 : 1;
}

bool DateTime::operator<(const DateTime& other) const { return !invalid && seconds < other.seconds; }
bool DateTime::operator>(const DateTime& other) const { return !invalid && seconds > other.seconds; }
bool DateTime::operator<=(const DateTime& other) const { return invalid || seconds <= other.seconds; }
bool DateTime::operator>=(const DateTime& other) const { return invalid || seconds >= other.seconds; }
bool DateTime::operator==(const DateTime& other) const { return invalid || seconds == other.seconds; }
bool DateTime::operator!=(const DateTime& other) const { return !invalid && seconds != other.seconds; }

std::string DateTime::FormatDMY() const
{
    return IntToText(day, '0', 2) + "/" + IntToText(month, '0', 2) + "/" + IntToText(year, '0', 4);
}

std::string DateTime::FormatMDY() const
{
    return IntToText(month, '0', 2) + "/" + IntToText(day, '0', 2) + "/" + IntToText(year, '0', 4);
}

std::string DateTime::FormatISO() const
{
    return IntToText(year, '0', 4) + "-" + IntToText(month, '0', 2) + "-" + IntToText(day, '0', 2);
}

std::string DateTime::FormatTime() const
{
    return IntToText(hour, '0', 2) + ":" + IntToText(minute, '0', 2) + ":" + IntToText(second, '0', 2);
}

std::string DateTime::MonthNameIT() const { return month >= 1 && month <= 12 ? monthNamesIT[month - 1] : ""; }

std::string DateTime::MonthNameEN() const { return month >= 1 && month <= 12 ? monthNamesEN[month - 1] : ""; }

std::string DateTime::DayNameIT() const { return weekday >= 0 && weekday <= 6 ? dayNamesIT[weekday] : ""; }

std::string DateTime::DayNameEN() const { return weekday >= 0 && weekday <= 6 ? dayNamesEN[weekday] : ""; }

std::string DateTime::WeekdayDigits() const
{
    if (month < 1 || month > 12) return "";
    // 1 January 1970 was a Thursday.
    const std::int64_t firstDay = DaysFromCivil(year, month, 1);
    std::string digits;
    for (int offset = 0; offset < DaysInMonth(); ++offset)
        digits += static_cast<char>('0' + (firstDay + offset + 4 - FloorDivide(firstDay + offset + 4, 7) * 7));
    return digits;
}
