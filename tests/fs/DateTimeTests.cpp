#include <gtest/gtest.h>

#include "fs/DateTime.h"

TEST(OleDate, KnownDates)
{
    EXPECT_DOUBLE_EQ(*OleDateFromParts({1899, 12, 30, 0, 0, 0}), 0.0);
    EXPECT_DOUBLE_EQ(*OleDateFromParts({1900, 1, 1, 0, 0, 0}), 2.0);
    EXPECT_DOUBLE_EQ(*OleDateFromParts({2024, 2, 29, 12, 0, 0}), 45351.5);
    EXPECT_DOUBLE_EQ(*OleDateFromParts({1601, 1, 1, 0, 0, 0}), -109205.0);
}

TEST(OleDate, DaysBeforeTheEpochCountBackwardsWithTheTimeForwards)
{
    EXPECT_DOUBLE_EQ(*OleDateFromParts({1899, 12, 29, 6, 0, 0}), -1.25);
    DateParts parts = PartsFromOleDate(-1.25);
    EXPECT_EQ(parts.Year, 1899);
    EXPECT_EQ(parts.Month, 12);
    EXPECT_EQ(parts.Day, 29);
    EXPECT_EQ(parts.Hour, 6);
}

TEST(OleDate, OnlyYears100To9999AndRealDaysAreDates)
{
    EXPECT_FALSE(OleDateFromParts({99, 12, 31, 0, 0, 0}));
    EXPECT_TRUE(OleDateFromParts({100, 1, 1, 0, 0, 0}));
    EXPECT_TRUE(OleDateFromParts({9999, 12, 31, 23, 59, 59}));
    EXPECT_FALSE(OleDateFromParts({10000, 1, 1, 0, 0, 0}));
    EXPECT_FALSE(OleDateFromParts({2023, 2, 29, 0, 0, 0}));
    EXPECT_FALSE(OleDateFromParts({2024, 4, 31, 0, 0, 0}));
    EXPECT_FALSE(OleDateFromParts({2024, 4, 30, 24, 0, 0}));
}

TEST(OleDate, MillisecondsAreDropped)
{
    SYSTEMTIME time = {2024, 5, 2, 7, 15, 4, 5, 999};
    EXPECT_DOUBLE_EQ(*OleDateFromSystemTime(time), *OleDateFromParts({2024, 5, 7, 15, 4, 5}));
}

TEST(OleDate, PartsRoundTripToTheSecond)
{
    for (DateParts parts : {DateParts{100, 1, 1, 0, 0, 1}, DateParts{1601, 1, 1, 0, 0, 0},
                            DateParts{1874, 3, 1, 23, 59, 59}, DateParts{2038, 1, 19, 3, 14, 8},
                            DateParts{9999, 12, 31, 23, 59, 59}}) {
        DateParts back = PartsFromOleDate(*OleDateFromParts(parts));
        EXPECT_EQ(back.Year, parts.Year);
        EXPECT_EQ(back.Month, parts.Month);
        EXPECT_EQ(back.Day, parts.Day);
        EXPECT_EQ(back.Hour, parts.Hour);
        EXPECT_EQ(back.Minute, parts.Minute);
        EXPECT_EQ(back.Second, parts.Second);
    }
}

namespace {

unsigned long long TicksOf(const SYSTEMTIME& time)
{
    FILETIME fileTime;
    EXPECT_TRUE(SystemTimeToFileTime(&time, &fileTime));
    return (static_cast<unsigned long long>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
}

}  // namespace

TEST(OleDateFromFileTicks, AgreesWithTheCalendarToTheSecond)
{
    for (SYSTEMTIME time : {SYSTEMTIME{1601, 1, 1, 1, 0, 0, 0, 0}, SYSTEMTIME{1899, 12, 6, 29, 6, 30, 0, 999},
                            SYSTEMTIME{1970, 1, 4, 1, 0, 0, 1, 1}, SYSTEMTIME{2024, 2, 4, 29, 23, 59, 59, 500},
                            SYSTEMTIME{9999, 12, 5, 31, 23, 59, 59, 999}}) {
        auto date = OleDateFromFileTicks(TicksOf(time));
        ASSERT_TRUE(date);
        EXPECT_DOUBLE_EQ(*date, *OleDateFromSystemTime(time)) << time.wYear;
    }
}

TEST(OleDateFromFileTicks, NothingFromYear10000On)
{
    EXPECT_FALSE(OleDateFromFileTicks(TicksOf(SYSTEMTIME{10000, 1, 6, 1, 0, 0, 0, 0})));
    EXPECT_FALSE(OleDateFromFileTicks(1ull << 63));
    EXPECT_FALSE(OleDateFromFileTicks(~0ull));
}

TEST(SystemTimeFromOleDate, FillsTheCalendarRecordWithTheDayOfTheWeek)
{
    SYSTEMTIME time = SystemTimeFromOleDate(*OleDateFromParts({2024, 2, 29, 13, 14, 15}));
    EXPECT_EQ(time.wYear, 2024);
    EXPECT_EQ(time.wMonth, 2);
    EXPECT_EQ(time.wDay, 29);
    EXPECT_EQ(time.wHour, 13);
    EXPECT_EQ(time.wSecond, 15);
    EXPECT_EQ(time.wDayOfWeek, 4);  // a Thursday
    EXPECT_EQ(SystemTimeFromOleDate(*OleDateFromParts({1969, 12, 28, 0, 0, 0})).wDayOfWeek, 0);
    EXPECT_EQ(SystemTimeFromOleDate(*OleDateFromParts({1601, 1, 1, 0, 0, 0})).wDayOfWeek, 1);
}
