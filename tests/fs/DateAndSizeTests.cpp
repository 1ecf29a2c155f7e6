#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "fs/DateTime.h"
#include "fs/EntryMetadata.h"
#include "fs/ExactSize.h"
#include "support/TestTimes.h"

namespace {

unsigned long long TicksOf(const SYSTEMTIME& time)
{
    FILETIME fileTime;
    EXPECT_TRUE(SystemTimeToFileTime(&time, &fileTime));
    return (static_cast<unsigned long long>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
}

}  // namespace

TEST(OleDate, DaysSince1899WithTheTimeOfDayCountingForwardBeforeItToo)
{
    const struct {
        DateParts Parts;
        std::optional<double> Date;  // none: no date
    } cases[] = {
        {{1899, 12, 30, 0, 0, 0}, 0.0},       {{1900, 1, 1, 0, 0, 0}, 2.0},     {{2024, 2, 29, 12, 0, 0}, 45351.5},
        {{1601, 1, 1, 0, 0, 0}, -109205.0},   {{1899, 12, 29, 6, 0, 0}, -1.25}, {{99, 12, 31, 0, 0, 0}, std::nullopt},
        {{100, 1, 1, 0, 0, 1}, -657434.0 - 1.0 / 86400}, {{9999, 12, 31, 23, 59, 59}, 2958465.0 + 86399.0 / 86400},
        {{10000, 1, 1, 0, 0, 0}, std::nullopt}, {{2023, 2, 29, 0, 0, 0}, std::nullopt},
        {{2024, 4, 31, 0, 0, 0}, std::nullopt}, {{2024, 4, 30, 24, 0, 0}, std::nullopt},
    };
    for (const auto& c : cases) {
        const DateParts& p = c.Parts;
        std::optional<OleDate> date = OleDateFromParts(p);
        ASSERT_EQ(date.has_value(), c.Date.has_value()) << p.Year << "-" << p.Month << "-" << p.Day;
        if (!date) continue;
        EXPECT_DOUBLE_EQ(*date, *c.Date) << p.Year;
        DateParts back = PartsFromOleDate(*date);
        EXPECT_EQ(std::tie(back.Year, back.Month, back.Day, back.Hour, back.Minute, back.Second),
                  std::tie(p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second));
    }
    EXPECT_DOUBLE_EQ(*OleDateFromSystemTime({2024, 5, 2, 7, 15, 4, 5, 999}), *OleDateFromParts({2024, 5, 7, 15, 4, 5}));
    // File times to the second up to the year 9999; beyond, invalid with their ticks kept.
    for (SYSTEMTIME time : {SYSTEMTIME{1601, 1, 1, 1, 0, 0, 0, 0}, SYSTEMTIME{1899, 12, 6, 29, 6, 30, 0, 999},
                            SYSTEMTIME{2024, 2, 4, 29, 23, 59, 59, 500}, SYSTEMTIME{9999, 12, 5, 31, 23, 59, 59, 999}})
        EXPECT_DOUBLE_EQ(OleDateFromFileTicks(TicksOf(time)).value_or(-1), *OleDateFromSystemTime(time)) << time.wYear;
    EXPECT_FALSE(OleDateFromFileTicks(TicksOf(SYSTEMTIME{10000, 1, 6, 1, 0, 0, 0, 0})));
    EXPECT_FALSE(OleDateFromFileTicks(1ull << 63));
    FileTimeInfo late = ConvertFileTime({~0u, ~0u});
    EXPECT_TRUE(late.Invalid);
    EXPECT_EQ(late.Ticks.ToDecimal(), L"18446744073709551615");
}

TEST(IsoUtcText, FileTicksWithSevenDecimalsAndBackForExactlyThatShape)
{
    const std::pair<unsigned long long, const wchar_t*> times[] = {
        {0, L"1601-01-01T00:00:00.0000000Z"},
        {TicksOf(At(2024, 5, 7, 7, 4, 5)) + 1234567, L"2024-05-07T07:04:05.1234567Z"},
        {TicksOf(At(2024, 2, 29, 23, 59, 59)) + 9999999, L"2024-02-29T23:59:59.9999999Z"},
        {TicksOf(At(10000, 1, 1)) - 1, L"9999-12-31T23:59:59.9999999Z"},
        {TicksOf(At(10000, 1, 1)), L""}, {~0ull, L""},
    };
    for (auto [ticks, text] : times) {
        std::wstring written = L"x";
        EXPECT_EQ(AppendIsoUtcText(written, ticks), *text != 0);
        EXPECT_EQ(written, L"x" + std::wstring(text));
        if (*text) {
            EXPECT_EQ(TicksFromIsoUtcText(std::wstring_view(text)), ticks) << ticks;
        }
    }
    for (const char* bad : {"2024-05-07T07:04:05.123456Z", "2024-05-07T07:04:05.1234567", "2024-05-07 07:04:05.1234567Z",
                            "2023-02-29T00:00:00.0000000Z", "1600-12-31T23:59:59.9999999Z", "2024-05-07T24:00:00.0000000Z",
                            "2024-05-07T07:60:05.1234567Z", "2024-5-07T07:04:05.12345678Z", "+024-05-07T07:04:05.1234567Z", ""})
        EXPECT_FALSE(TicksFromIsoUtcText(std::string_view(bad))) << bad;
}

TEST(ExactSize, SumsDifferencesAndOrderStayExactBeyond64Bits)
{
    const ExactSize max = ExactSize::FromUInt64(~0ull);
    ExactSize total;
    for (int i = 0; i < 1000; ++i) total += max;
    EXPECT_EQ(total.ToDecimal(), L"18446744073709551615000");
    EXPECT_EQ(max + ExactSize(1), ExactSize::FromHalves(0, 1));
    EXPECT_EQ(ExactSize::FromHalves(0, 1) - ExactSize(1), max);
    EXPECT_EQ(ExactSize(0) - ExactSize(1), ExactSize(-1));
    EXPECT_EQ(ExactSize(-1).ToDecimal(), L"-1");
    EXPECT_LT(ExactSize(-1), ExactSize(0));
    EXPECT_LT(max, max + ExactSize(1));
}
