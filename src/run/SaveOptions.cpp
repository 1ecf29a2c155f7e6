#include "run/SaveOptions.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The longest prefix of text that reads as a number; empty when there is none.
std::string NumberPrefix(const std::string& text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return {};
    std::size_t mantissaEnd = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        std::size_t exponentStart = j;
        while (j < text.size() && IsDigit(text[j])) ++j;
        if (j > exponentStart) return text.substr(0, j);
    }
    return text.substr(0, mantissaEnd);
}

// factor is positive; none when the product leaves the 64-bit range.
std::optional<std::int64_t> ScaleBytes(std::int64_t value, std::int64_t factor)
{
    constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kLeast = std::numeric_limits<std::int64_t>::min();
    if (value > kMost / factor || value < kLeast / factor) return std::nullopt;
    return value * factor;
}

OleDate DateOrZero(const DateParts& parts) { return OleDateFromParts(parts).value_or(0); }

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// 150 years before today at 00:00; a 29 February missing in that year becomes 1 March.
OleDate DefaultRangeStart(const SYSTEMTIME& now)
{
    DateParts parts;
    parts.Year = now.wYear - 150;
    parts.Month = now.wMonth;
    parts.Day = now.wDay;
    if (parts.Month == 2 && parts.Day == 29 && !IsLeapYear(parts.Year)) {
        parts.Month = 3;
        parts.Day = 1;
    }
    return DateOrZero(parts);
}

OleDate NowDate(const SYSTEMTIME& now) { return OleDateFromSystemTime(now).value_or(0); }

// The picked day at the given time of day; a picker without a date (0) gives none.
OleDate OnPickedDay(OleDate picked, int hour, int minute, int second)
{
    if (picked == 0) return 0;
    DateParts parts = PartsFromOleDate(picked);
    parts.Hour = hour;
    parts.Minute = minute;
    parts.Second = second;
    return DateOrZero(parts);
}

std::uint16_t ActiveBits(double first, double second, std::uint16_t firstBit, std::uint16_t secondBit)
{
    return static_cast<std::uint16_t>((first > 0 ? firstBit : 0) | (second > 0 ? secondBit : 0));
}

}  // namespace

double LenientNumber(std::wstring_view text)
{
    std::string compact;
    for (wchar_t c : text) {
        if (c == L' ' || c == L'\t') continue;
        if (c > 0x7F) break;  // nothing outside ASCII belongs to a number
        compact += static_cast<char>(c);
    }
    std::string number = NumberPrefix(compact);
    return number.empty() ? 0.0 : std::strtod(number.c_str(), nullptr);
}

std::optional<std::int64_t> SizeBoxBytes(std::wstring_view text, SizeUnit unit)
{
    // The default rounding mode rounds halves to the even neighbour.
    double whole = std::nearbyint(LenientNumber(text));
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (!(whole >= -kLimit && whole < kLimit)) return std::nullopt;
    auto value = static_cast<std::int64_t>(whole);
    switch (unit) {
    case SizeUnit::KB: return ScaleBytes(value, 1024);
    case SizeUnit::MB: return ScaleBytes(value, 1048576);
    case SizeUnit::None: break;
    }
    return value;
}

SizeCheck CheckSizeOptions(const SizeControls& controls)
{
    SizeCheck check;
    bool needFirst = controls.Mode == SizeMode::AtLeast || controls.Mode == SizeMode::Between;
    bool needSecond = controls.Mode == SizeMode::AtMost || controls.Mode == SizeMode::Between;
    std::int64_t first = 0, second = 0;
    if (needFirst) {
        auto bytes = SizeBoxBytes(controls.FirstText, controls.FirstUnit);
        if (!bytes || *bytes == 0) return {SizeWarning::FirstValue, {}};
        first = *bytes;
    }
    if (needSecond) {
        auto bytes = SizeBoxBytes(controls.SecondText, controls.SecondUnit);
        if (!bytes || *bytes == 0) return {SizeWarning::SecondValue, {}};
        second = *bytes;
    }
    if (controls.Mode == SizeMode::AtLeast) check.Bounds.Upper = first;
    if (controls.Mode == SizeMode::AtMost) check.Bounds.Lower = second;
    if (controls.Mode == SizeMode::Between) {
        if (first >= second) return {SizeWarning::Order, {}};
        check.Bounds.Lower = first;
        check.Bounds.Upper = second;
    }
    check.Bounds.Test = ActiveBits(static_cast<double>(check.Bounds.Lower), static_cast<double>(check.Bounds.Upper),
                                   SizeTestBits::Lower, SizeTestBits::Upper);
    return check;
}

TimeBounds ComputeTimeBounds(const TimeControls& controls, const SYSTEMTIME& nowLocal)
{
    TimeBounds bounds;
    switch (controls.Kind) {
    case TimeKind::Modified: bounds.Field = DateFields::Modified; break;
    case TimeKind::Created: bounds.Field = DateFields::Created; break;
    case TimeKind::Accessed: bounds.Field = DateFields::Accessed; break;
    default:  // 不指定, or nothing selected
        bounds.From = DefaultRangeStart(nowLocal);
        bounds.To = NowDate(nowLocal);
        bounds.Field = DateFields::Accessed;
        bounds.AnyTime = true;
        break;
    }
    if (!bounds.AnyTime) {
        // The pickers show dates only; whatever time of day they hold is not the user's.
        bounds.From = OnPickedDay(controls.First, 0, 0, 0);
        bounds.To = OnPickedDay(controls.Second, 23, 59, 59);
    }
    // A date on or before 1899-12-30 00:00 is not greater than 0, so it is no bound.
    bounds.Test = ActiveBits(bounds.From, bounds.To, DateTestBits::From, DateTestBits::To);
    return bounds;
}

SizeWarning PrepareRun(RunState& state, const JobInfo& job, const SizeControls& sizes, const TimeControls& times,
                       const SYSTEMTIME& nowLocal)
{
    state.RunJob = &job;
    state.WalkDepth = 0;
    SizeCheck check = CheckSizeOptions(sizes);
    if (!check.Passed()) return check.Warning;
    state.SizeLower = check.Bounds.Lower;
    state.SizeUpper = check.Bounds.Upper;
    state.SizeTest = check.Bounds.Test;

    TimeBounds time = ComputeTimeBounds(times, nowLocal);
    state.DateFrom = time.From;
    state.DateTo = time.To;
    state.DateField = time.Field;
    state.DateTest = time.Test;
    state.AnyTime = time.AnyTime;
    return SizeWarning::None;
}
