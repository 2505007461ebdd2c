#include "util/DateTime.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <langinfo.h>

namespace {

constexpr int DaysPerMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr double MillisecondsPerDay = 86400000.0;

// Days from 0001-01-01 (day 1) to the start of the year's January 1st.
int64_t DaysBeforeYear(int64_t year)
{
    const int64_t y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

// Serial day of 1899-12-30 counted from 0001-01-01 as day 0.
constexpr int64_t EpochOffset = 693593;

std::tm ToTm(TDateTime value)
{
    const TDateTimeParts p = DecodeDateTime(value);
    std::tm tm{};
    tm.tm_year = p.year - 1900;
    tm.tm_mon = p.month - 1;
    tm.tm_mday = p.day;
    tm.tm_hour = p.hour;
    tm.tm_min = p.minute;
    tm.tm_sec = p.second;
    tm.tm_wday = int(((int64_t(std::floor(value)) % 7) + 7 + 6) % 7); // 1899-12-30 was a Saturday
    tm.tm_isdst = -1;
    return tm;
}

std::string FormatTm(const char* format, const std::tm& tm)
{
    char text[128];
    const size_t n = std::strftime(text, sizeof text, format, &tm);
    return std::string(text, n);
}

} // namespace

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : DaysPerMonth[month - 1];
}

TDateTime EncodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || day < 1 || day > DaysInMonth(year, month)) {
        char text[96];
        std::snprintf(text, sizeof text, "Invalid date: %04d/%02d/%02d is not a calendar date", year, month, day);
        throw EConvertError(text);
    }
    int64_t days = DaysBeforeYear(year);
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    days += day - 1;
    return double(days - EpochOffset);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999) {
        char text[96];
        std::snprintf(text, sizeof text, "Invalid time: %02d:%02d:%02d.%03d", hour, minute, second, millisecond);
        throw EConvertError(text);
    }
    return (((hour * 60 + minute) * 60 + second) * 1000.0 + millisecond) / MillisecondsPerDay;
}

TDateTimeParts DecodeDateTime(TDateTime value)
{
    TDateTimeParts p;
    // Round to the millisecond first so 0.99999999 of a day does not print as 23:59:59.999.
    const int64_t totalMs = std::llround(value * MillisecondsPerDay);
    int64_t dayNumber = totalMs / 86400000;
    int64_t msOfDay = totalMs % 86400000;
    if (msOfDay < 0) {
        msOfDay += 86400000;
        --dayNumber;
    }
    int64_t days = dayNumber + EpochOffset; // days since 0001-01-01
    int64_t year = days / 366 + 1;
    while (DaysBeforeYear(year + 1) <= days)
        ++year;
    days -= DaysBeforeYear(year);
    int month = 1;
    while (days >= DaysInMonth(int(year), month)) {
        days -= DaysInMonth(int(year), month);
        ++month;
    }
    p.year = int(year);
    p.month = month;
    p.day = int(days) + 1;
    p.hour = int(msOfDay / 3600000);
    p.minute = int(msOfDay / 60000 % 60);
    p.second = int(msOfDay / 1000 % 60);
    p.millisecond = int(msOfDay % 1000);
    return p;
}

TDateTime DateTimeFromUnixTime(int64_t seconds)
{
    const time_t t = time_t(seconds);
    std::tm tm{};
    if (!localtime_r(&t, &tm))
        return 0;
    return EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) +
           EncodeTime(tm.tm_hour, tm.tm_min, tm.tm_sec > 59 ? 59 : tm.tm_sec);
}

TDateTime Now()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return DateTimeFromUnixTime(ts.tv_sec);
}

TDateTime Today()
{
    return std::floor(Now());
}

std::string FormatYearMonthDay(TDateTime value)
{
    const TDateTimeParts p = DecodeDateTime(value);
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", p.year, p.month, p.day);
    return text;
}

std::string FormatHourMinSec(TDateTime value)
{
    const TDateTimeParts p = DecodeDateTime(value);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", p.hour, p.minute, p.second);
    return text;
}

std::string DateTimeToStr(TDateTime value)
{
    const std::tm tm = ToTm(value);
    std::string text = FormatTm(nl_langinfo(D_FMT), tm);
    const TDateTimeParts p = DecodeDateTime(value);
    if (p.hour != 0 || p.minute != 0 || p.second != 0 || p.millisecond != 0)
        text += ' ' + FormatTm(nl_langinfo(T_FMT), tm);
    return text;
}

std::string FormatThousands(int64_t value)
{
    const lconv* conv = std::localeconv();
    const std::string separator = conv && conv->thousands_sep && *conv->thousands_sep ? conv->thousands_sep : ",";
    const bool negative = value < 0;
    uint64_t magnitude = negative ? uint64_t(0) - uint64_t(value) : uint64_t(value);
    std::string digits = std::to_string(magnitude);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += separator;
        text += digits[i];
    }
    return negative ? "-" + text : text;
}
