#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

#include "util/DateTime.h"

namespace {

// Runs the test body with the time zone set, restoring the previous one after.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            FOld = old, FHad = true;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard()
    {
        if (FHad)
            setenv("TZ", FOld.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string FOld;
    bool FHad = false;
};

} // namespace

TEST(DateTime, CountsDaysFromTheEpochOf1899)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1970, 1, 1), 25569.0);
    EXPECT_EQ(EncodeDate(2024, 3, 1) - EncodeDate(2024, 2, 28), 2.0);
    EXPECT_EQ(EncodeDate(2023, 3, 1) - EncodeDate(2023, 2, 28), 1.0);
    EXPECT_EQ(EncodeDate(1800, 1, 1), -36522.0);
}

TEST(DateTime, RefusesDatesThatDoNotExist)
{
    EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
    EXPECT_THROW(EncodeDate(2001, 0, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2001, 1, 0), EConvertError);
    EXPECT_THROW(EncodeDate(2001, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2001, 4, 31), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0), EConvertError);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2400, 2), 29);
    EXPECT_EQ(DaysInMonth(2023, 0), 0);
}

TEST(DateTime, DecodesWhatItEncodes)
{
    for (int year : {1601, 1899, 1900, 1930, 1999, 2000, 2024, 3000, 9999}) {
        for (int month : {1, 2, 7, 12}) {
            const int day = DaysInMonth(year, month);
            const TDateTime value = EncodeDate(year, month, day) + EncodeTime(23, 59, 58, 500);
            const TDateTimeParts p = DecodeDateTime(value);
            EXPECT_EQ(p.year, year);
            EXPECT_EQ(p.month, month);
            EXPECT_EQ(p.day, day);
            EXPECT_EQ(p.hour, 23);
            EXPECT_EQ(p.minute, 59);
            EXPECT_EQ(p.second, 58);
            EXPECT_EQ(p.millisecond, 500);
        }
    }
}

TEST(DateTime, ConvertsFileTimesToLocalTime)
{
    {
        ZoneGuard utc("UTC");
        EXPECT_DOUBLE_EQ(DateTimeFromUnixTime(0), 25569.0);
        EXPECT_DOUBLE_EQ(DateTimeFromUnixTime(86399), 25569.0 + EncodeTime(23, 59, 59));
    }
    {
        ZoneGuard east("UTC-02"); // two hours ahead of UTC
        EXPECT_DOUBLE_EQ(DateTimeFromUnixTime(0), 25569.0 + EncodeTime(2, 0, 0));
    }
}

TEST(DateTime, FormatsFixedAndLocaleTexts)
{
    const TDateTime value = EncodeDate(2024, 3, 4) + EncodeTime(13, 5, 9);
    EXPECT_EQ(FormatYearMonthDay(value), "2024/03/04");
    EXPECT_EQ(FormatHourMinSec(value), "13:05:09");
    // The tests run in the "C" locale: short date %m/%d/%y, long time %H:%M:%S.
    EXPECT_EQ(DateTimeToStr(value), "03/04/24 13:05:09");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 4)), "03/04/24");
}

TEST(DateTime, GroupsThousands)
{
    EXPECT_EQ(FormatThousands(0), "0");
    EXPECT_EQ(FormatThousands(999), "999");
    EXPECT_EQ(FormatThousands(1000), "1,000");
    EXPECT_EQ(FormatThousands(1234567), "1,234,567");
    EXPECT_EQ(FormatThousands(-2147483648LL), "-2,147,483,648");
    EXPECT_EQ(FormatThousands(3000000000LL), "3,000,000,000");
}
