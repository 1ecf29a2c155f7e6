#pragma once
// Numbers in the user's regional number format.
#include <cstdint>
#include <string>
#include <string_view>

// What NUMBERFMT takes from the regional settings.
struct NumberStyle {
    std::wstring DecimalSeparator = L".";
    std::wstring ThousandSeparator = L",";
    unsigned Grouping = 3;  // NUMBERFMT's form: 3 = groups of 3, 32 = 3 then 2s, 30 = one group
    unsigned LeadingZero = 1;
    unsigned NegativeOrder = 1;
};

// plain: an exact decimal with "." as the point and an optional leading "-", as
// the platform's number formatter takes it. Rounded to the given count of decimals.
std::wstring FormatNumber(std::wstring_view plain, int decimals);
// The same in a given style. Laid out here rather than by the platform, which costs
// more than the rest of a listing row; FormatNumberByPlatform is the platform's answer.
std::wstring FormatNumberWith(std::wstring_view plain, int decimals, const NumberStyle& style);
std::wstring FormatNumberByPlatform(std::wstring_view plain, int decimals, const NumberStyle& style);
// A whole number and `decimals` digits of a fraction already rounded (fraction <
// 10^decimals), appended in the user's regional number format without allocating.
void AppendNumber(std::wstring& out, std::uint64_t whole, int decimals, std::uint32_t fraction);
// Plain decimal digits with leading zeros up to `width`, as dates in fixed patterns
// and file names take them (no regional format).
std::wstring ZeroPadded(int value, std::size_t width);
// The regional settings are read once and kept, since listings format a number per
// row; call this when they may have changed (each run does, the window on
// WM_SETTINGCHANGE).
void RefreshRegionalFormats();
