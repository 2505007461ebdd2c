#pragma once
// Local date and time as a 64-bit float counting days since 1899-12-30, with the
// time of day as the fraction: the form hit records and age tests work with.
#include <cstdint>
#include <string>

#include "util/Exception.h"

using TDateTime = double;

// A year, month and day that name no date, or a time outside the day.
QUILLON_DECLARE_ERROR(EConvertError);

// Gregorian rule: divisible by 4 and not by 100 unless by 400.
bool IsLeapYear(int year);
// Days of the month (1..12) in the year; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

// Midnight of the date. Raises EConvertError when the date does not exist.
TDateTime EncodeDate(int year, int month, int day);
// Fraction of a day. Raises EConvertError for a time outside the day.
TDateTime EncodeTime(int hour, int minute, int second, int millisecond = 0);

struct TDateTimeParts {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};
TDateTimeParts DecodeDateTime(TDateTime value);

// A file system time stamp (seconds since the Unix epoch) as local time.
TDateTime DateTimeFromUnixTime(int64_t seconds);
TDateTime Now();
// Midnight of the current local day.
TDateTime Today();

// "YYYY/MM/DD", every number zero-padded to two digits at least.
std::string FormatYearMonthDay(TDateTime value);
// "HH:MM:SS".
std::string FormatHourMinSec(TDateTime value);
// The locale's short date, a space and its long time; only the date when the
// time is exactly midnight.
std::string DateTimeToStr(TDateTime value);

// Decimal digits grouped by three with the locale's thousands separator ("," when
// the locale names none).
std::string FormatThousands(int64_t value);
