#include <gtest/gtest.h>

#include <tuple>

#include "formats/ListingOptions.h"
#include "run/OutputName.h"
#include "run/SaveOptions.h"
#include "run/Ticks.h"
#include "support/TestTimes.h"

namespace {

OleDate Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return *OleDateFromParts({year, month, day, hour, minute, second});
}

}  // namespace

TEST(SizeOptions, BoxesTakeTheLeadingNumberRoundedHalfToEvenTimesTheirUnit)
{
    const std::pair<const wchar_t*, double> numbers[] = {{L"", 0},    {L"abc", 0},  {L"12abc", 12},  {L" 1 2\t3 ", 123},
                                                         {L"-5", -5},  {L"+2.5", 2.5}, {L".5", .5},   {L"1e3", 1000},
                                                         {L"1e", 1},   {L"1,5", 1},   {L"2.5.1", 2.5}, {L"-", 0}};
    for (auto [text, value] : numbers) EXPECT_EQ(LenientNumber(text), value) << text;
    const std::tuple<const wchar_t*, int, std::optional<std::int64_t>> boxes[] = {
        {L"0.5", SizeUnits::KB, 0},          {L"1.5", SizeUnits::None, 2},  {L"2.5", SizeUnits::None, 2},
        {L"50", SizeUnits::KB, 51200},       {L"10", SizeUnits::MB, 10485760},
        {L"8796093022207", SizeUnits::MB, 9223372036853727232ll},  // 2^63 - 2^20
        {L"8796093022208", SizeUnits::MB, std::nullopt},           {L"1e30", SizeUnits::None, std::nullopt},
        {L"1e999", SizeUnits::KB, std::nullopt},
    };
    for (auto [text, unit, bytes] : boxes) EXPECT_EQ(SizeBoxBytes(text, unit), bytes) << text;
}

TEST(SizeOptions, EachModeChecksItsBoxesAndFillsItsBounds)
{
    using namespace SizeModes;
    const int KB = SizeUnits::KB, MB = SizeUnits::MB;
    using W = SizeWarning;
    // 至少 fills the upper bound from the first box, 至多 the lower one from the second.
    const std::tuple<SizeControls, SizeWarning, std::int64_t, std::int64_t, std::uint16_t> cases[] = {
        {{AtLeast, L"50", KB, L"", KB}, W::None, 0, 51200, 2},      {{AtLeast, L"", KB, L"5", KB}, W::FirstValue, 0, 0, 0},
        {{AtLeast, L"0.4", KB, L"5", KB}, W::FirstValue, 0, 0, 0},   {{AtLeast, L"-5", KB, L"", KB}, W::None, 0, -5120, 0},
        {{AtLeast, L"99999999999999999999", KB, L"5", KB}, W::FirstValue, 0, 0, 0},
        {{AtMost, L"", KB, L"10", MB}, W::None, 10485760, 0, 1},    {{AtMost, L"5", KB, L" ", KB}, W::SecondValue, 0, 0, 0},
        {{Between, L"1", MB, L"2000", KB}, W::None, 1048576, 2048000, 3},
        {{Between, L"-1", KB, L"2", KB}, W::None, -1024, 2048, 2},  {{Between, L"10", KB, L"10", KB}, W::Order, 0, 0, 0},
        {{Between, L"3", MB, L"10", KB}, W::Order, 0, 0, 0},        {{Between, L"0", KB, L"0", KB}, W::FirstValue, 0, 0, 0},
        {{Between, L"1", KB, L"9e99", KB}, W::SecondValue, 0, 0, 0}, {{Any, L"", KB, L"abc", KB}, W::None, 0, 0, 0},
        {{SizeModes::None, L"", KB, L"abc", KB}, W::None, 0, 0, 0},
    };
    for (const auto& [controls, warning, lower, upper, test] : cases) {
        SizeCheck check = CheckSizeOptions(controls);
        EXPECT_EQ(std::tie(check.Warning, check.Bounds.Lower, check.Bounds.Upper, check.Bounds.Test),
                  std::tie(warning, lower, upper, test))
            << controls.Mode << " " << controls.FirstText << " " << controls.SecondText;
    }
}

TEST(TimeOptions, AnyTimeRunsFrom150YearsAgoUntilNowOtherKindsTakeWholeDays)
{
    TimeBounds any = ComputeTimeBounds({TimeKinds::Any, 0, 0}, At(2024, 2, 29, 13, 45, 10));
    // A start before 1899-12-30 is no bound.
    EXPECT_EQ(std::tie(any.From, any.To, any.Field, any.Test, any.AnyTime),
              std::make_tuple(Date(1874, 3, 1), Date(2024, 2, 29, 13, 45, 10), DateFields::Accessed, DateTestBits::To, true));
    EXPECT_EQ(ComputeTimeBounds({TimeKinds::Any, 0, 0}, At(2060, 7, 4)).From, Date(1910, 7, 4));
    const std::pair<int, std::uint16_t> kinds[] = {
        {TimeKinds::Modified, DateFields::Modified}, {TimeKinds::Created, DateFields::Created}, {TimeKinds::Accessed, DateFields::Accessed}};
    for (auto [kind, field] : kinds) {
        // A start after the end is accepted.
        TimeBounds bounds = ComputeTimeBounds({kind, Date(2023, 1, 1, 8, 0, 0), Date(2022, 1, 1, 9, 30, 15)}, At(2024, 1, 1));
        EXPECT_EQ(std::tie(bounds.From, bounds.To, bounds.Field, bounds.Test, bounds.AnyTime),
                  std::make_tuple(Date(2023, 1, 1), Date(2022, 1, 1, 23, 59, 59), field, 3, false));
    }
}

TEST(PrepareRun, SetsTheStateOrReportsTheWarningLeavingTheBounds)
{
    RunState state;
    state.WalkDepth = 4;
    JobInfo job;
    // No time kind selected counts as 不指定.
    EXPECT_EQ(PrepareRun(state, job, {SizeModes::AtMost, L"", 0, L"1", SizeUnits::KB}, {TimeKinds::None, 0, 0}, At(2024, 1, 1)),
              SizeWarning::None);
    EXPECT_EQ(std::tie(state.WalkDepth, state.RunJob, state.SizeLower, state.SizeTest, state.DateFrom, state.AnyTime),
              std::make_tuple(0, &job, 1024, SizeTestBits::Lower, Date(1874, 1, 1), true));
    EXPECT_EQ(PrepareRun(state, job, {SizeModes::AtLeast, L"0", 0, L"", 0},
                         {TimeKinds::Modified, Date(2020, 1, 1), Date(2021, 1, 1)}, At(2024, 1, 1)),
              SizeWarning::FirstValue);
    EXPECT_EQ(std::tie(state.SizeLower, state.DateFrom), std::make_tuple(1024, Date(1874, 1, 1)));
}

TEST(OutputFileName, DateTimeStampThenNameThenTheFormatsExtension)
{
    using namespace ListingFormats;
    const SYSTEMTIME now = At(2024, 5, 7, 15, 4, 5);
    const std::tuple<SYSTEMTIME, int, bool, std::optional<std::wstring>> cases[] = {
        {now, Txt, false, L"C:\\20240507_150405_Quorvane.txt"},  {now, Csv, false, L"C:\\20240507_150405_Quorvane.csv"},
        {now, Html, false, L"C:\\20240507_150405_Quorvane.html"}, {now, Tree, false, L"C:\\20240507_150405_Quorvane.txt"},
        {now, Html, true, L"C:\\20240507_150405_Quorvane.txt"},   {now, None, true, L"C:\\20240507_150405_Quorvane.txt"},
        {now, None, false, std::nullopt}, {At(987, 12, 31, 0, 0, 9), Txt, false, L"C:\\09871231_000009_Quorvane.txt"},
    };
    for (const auto& [time, format, easy, name] : cases) EXPECT_EQ(OutputFileName(L"C:\\", time, format, easy), name);
}

TEST(Ticks, ElapsedTimeAllowsForOneWrapOfTheCounter)
{
    EXPECT_EQ(std::make_tuple(TicksBetween(1000, 3350), TicksBetween(4294967000ull, 200), TicksBetween(7, 7)),
              std::make_tuple(2350u, 496u, 0u));
}
