#include "util/DateTime.h"

namespace {

int millisecondCounter = 0;

}  // namespace

void DateTime::AdvanceMilliseconds() { millisecondCounter = (millisecondCounter + 10) % 1000; }

int DateTime::CurrentMillisecond() { return millisecondCounter; }

void DateTime::SetCurrentMillisecond(int millisecond) { millisecondCounter = millisecond % 1000; }

DateTime DateTime::Now()
{
    // The game asks at every tick of its timer, and the calendar fields change once a second:
    // the zone conversion is done once for each second.
    static std::time_t lastMoment = -1;
    static DateTime lastNow;
    const std::time_t moment = std::time(nullptr);
    if (moment != lastMoment) {
        lastNow.FillFrom(moment);
        lastMoment = moment;
    }
    DateTime now = lastNow;
    now.millisecond = millisecondCounter;
    return now;
}

void DateTime::FillFrom(std::time_t moment)
{
    std::tm parts{};
    if (!localtime_r(&moment, &parts)) {
        invalid = 1;
        return;
    }
    year = parts.tm_year + 1900;
    month = parts.tm_mon + 1;
    weekday = parts.tm_wday;
    day = parts.tm_mday;
    hour = parts.tm_hour;
    minute = parts.tm_min;
    second = parts.tm_sec;
    seconds = moment;
    invalid = 0;
}

DateTime DateTime::FromTm(const std::tm& parts)
{
    DateTime result;
    result.year = parts.tm_year + 1900;
    result.month = parts.tm_mon + 1;
    result.weekday = parts.tm_wday;
    result.day = parts.tm_mday;
    result.hour = parts.tm_hour;
    result.minute = parts.tm_min;
    result.second = parts.tm_sec;
    result.Normalize();
    return result;
}

std::tm DateTime::ToTm() const
{
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_wday = weekday;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    // The fields carry no daylight-saving hint: let the C library decide from the date.
    parts.tm_isdst = -1;
    return parts;
}

void DateTime::Normalize()
{
    std::tm parts = ToTm();
    const std::time_t moment = std::mktime(&parts);
    if (moment == static_cast<std::time_t>(-1)) {
        invalid = 1;
        return;
    }
    FillFrom(moment);
    millisecond = 0;
}

std::int64_t DateTime::SecondsTo(const DateTime& other) const { return invalid ? 0 : other.seconds - seconds; }

std::int64_t DateTime::MillisecondsTo(const DateTime& other) const
{
    return invalid ? 0 : (other.seconds - seconds) * 1000 + other.millisecond - millisecond;
}
