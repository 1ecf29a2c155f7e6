#include <gtest/gtest.h>

#include <tuple>

#include "formats/ListingOptions.h"
#include "run/OutputName.h"
#include "run/SaveOptions.h"
#include "support/TestTimes.h"

namespace {

OleDate Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return *OleDateFromParts({year, month, day, hour, minute, second});
}

}  // namespace

TEST(SizeOptions, BoxesTakeTheLeadingNumberTimesTheirUnitAndEachModeFillsItsBounds)
{
    const SizeUnit None = SizeUnit::None, KB = SizeUnit::KB, MB = SizeUnit::MB;
    // Blanks are skipped anywhere and the point is always ".". 2^63 - 2^20 is the largest size.
    const std::tuple<const wchar_t*, SizeUnit, std::optional<std::int64_t>> boxes[] = {
        {L"", None, 0},    {L"abc", None, 0}, {L"12abc", None, 12}, {L" 1 2\t3 ", None, 123}, {L"-5", None, -5},
        {L"+3.5", None, 4}, {L"2.5", None, 2}, {L".5", KB, 0},      {L"1e3", None, 1000},      {L"1e", None, 1},
        {L"1,5", None, 1}, {L"2.5.1", None, 2}, {L"-", None, 0},    {L"50", KB, 51200},        {L"10", MB, 10485760},
        {L"8796093022207", MB, 9223372036853727232ll}, {L"8796093022208", MB, std::nullopt}, {L"1e30", None, std::nullopt},
        {L"1e999", KB, std::nullopt},
    };
    for (auto [text, unit, bytes] : boxes) EXPECT_EQ(SizeBoxBytes(text, unit), bytes) << text;

    // Each mode checks its boxes and fills its bounds.
    const SizeMode Any = SizeMode::Any, AtLeast = SizeMode::AtLeast, AtMost = SizeMode::AtMost, Between = SizeMode::Between;
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
        {{SizeMode::None, L"", KB, L"abc", KB}, W::None, 0, 0, 0},
    };
    for (const auto& [controls, warning, lower, upper, test] : cases) {
        SizeCheck check = CheckSizeOptions(controls);
        EXPECT_EQ(std::tie(check.Warning, check.Bounds.Lower, check.Bounds.Upper, check.Bounds.Test),
                  std::tie(warning, lower, upper, test))
            << static_cast<int>(controls.Mode) << " " << controls.FirstText << " " << controls.SecondText;
    }
}

TEST(TimeOptions, AnyTimeRunsFrom150YearsAgoUntilNowOtherKindsTakeWholeDays)
{
    TimeBounds any = ComputeTimeBounds({TimeKind::Any, 0, 0}, At(2024, 2, 29, 13, 45, 10));
    // A start before 1899-12-30 is no bound.
    EXPECT_EQ(std::tie(any.From, any.To, any.Field, any.Test, any.AnyTime),
              std::make_tuple(Date(1874, 3, 1), Date(2024, 2, 29, 13, 45, 10), DateFields::Accessed, DateTestBits::To, true));
    const std::pair<TimeKind, std::uint16_t> kinds[] = {{TimeKind::Modified, DateFields::Modified},
                                                        {TimeKind::Created, DateFields::Created},
                                                        {TimeKind::Accessed, DateFields::Accessed}};
    for (auto [kind, field] : kinds) {
        // A start after the end is accepted.
        TimeBounds bounds = ComputeTimeBounds({kind, Date(2023, 1, 1, 8, 0, 0), Date(2022, 1, 1, 9, 30, 15)}, At(2024, 1, 1));
        EXPECT_EQ(std::tie(bounds.From, bounds.To, bounds.Field, bounds.Test, bounds.AnyTime),
                  std::make_tuple(Date(2023, 1, 1), Date(2022, 1, 1, 23, 59, 59), field, 3, false));
    }
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
        {now, Inventory, false, L"C:\\20240507_150405_Quorvane_inventory.csv"},
    };
    for (const auto& [time, format, easy, name] : cases) EXPECT_EQ(OutputFileName(L"C:\\", time, format, easy), name);
    EXPECT_EQ(ChangesFileName(L"D:\\out\\", now), L"D:\\out\\20240507_150405_Quorvane_changes.csv");
}
