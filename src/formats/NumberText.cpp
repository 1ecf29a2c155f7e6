#include "formats/NumberText.h"

#include <windows.h>

#include <mutex>
#include <vector>

namespace {

struct NumberStyle {
    std::wstring DecimalSeparator = L".";
    std::wstring ThousandSeparator = L",";
    UINT Grouping = 3;
    UINT LeadingZero = 1;
    UINT NegativeOrder = 1;
};

std::wstring LocaleText(LCTYPE type, const wchar_t* fallback)
{
    wchar_t buffer[16] = {};
    int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 16);
    return length > 1 ? std::wstring(buffer, static_cast<std::size_t>(length - 1)) : std::wstring(fallback);
}

UINT LocaleNumber(LCTYPE type, UINT fallback)
{
    DWORD value = 0;
    int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, type | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&value),
                                sizeof(value) / sizeof(wchar_t));
    return length > 0 ? value : fallback;
}

// "3;0" is 3, "3;2;0" is 32: a list closed by ";0" repeats its last group; one
// without it does not, which NUMBERFMT writes as a trailing 0 ("3" is 30).
UINT GroupingFromText(const std::wstring& text)
{
    UINT grouping = 0;
    bool closed = false;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') continue;
        closed = c == L'0';
        if (!closed) grouping = grouping * 10 + static_cast<UINT>(c - L'0');
    }
    return closed ? grouping : grouping * 10;
}

NumberStyle ReadNumberStyle()
{
    NumberStyle style;
    style.DecimalSeparator = LocaleText(LOCALE_SDECIMAL, L".");
    style.ThousandSeparator = LocaleText(LOCALE_STHOUSAND, L",");
    style.Grouping = GroupingFromText(LocaleText(LOCALE_SGROUPING, L"3;0"));
    style.LeadingZero = LocaleNumber(LOCALE_ILZERO, 1);
    style.NegativeOrder = LocaleNumber(LOCALE_INEGNUMBER, 1);
    return style;
}

std::mutex styleLock;
bool styleKnown = false;
NumberStyle cachedStyle;

NumberStyle CurrentStyle()
{
    std::lock_guard<std::mutex> hold(styleLock);
    if (!styleKnown) {
        cachedStyle = ReadNumberStyle();
        styleKnown = true;
    }
    return cachedStyle;
}

}  // namespace

void RefreshRegionalFormats()
{
    std::lock_guard<std::mutex> hold(styleLock);
    styleKnown = false;
}

std::wstring FormatNumber(std::wstring_view plain, int decimals)
{
    NumberStyle style = CurrentStyle();
    NUMBERFMTW format{};
    format.NumDigits = static_cast<UINT>(decimals);
    format.LeadingZero = style.LeadingZero;
    format.Grouping = style.Grouping;
    format.lpDecimalSep = style.DecimalSeparator.data();
    format.lpThousandSep = style.ThousandSeparator.data();
    format.NegativeOrder = style.NegativeOrder;

    std::wstring input(plain);
    wchar_t buffer[128];
    int length = GetNumberFormatW(LOCALE_USER_DEFAULT, 0, input.c_str(), &format, buffer, 128);
    if (length > 1) return std::wstring(buffer, static_cast<std::size_t>(length - 1));
    length = GetNumberFormatW(LOCALE_USER_DEFAULT, 0, input.c_str(), &format, nullptr, 0);
    if (length <= 1) return input;
    std::vector<wchar_t> large(static_cast<std::size_t>(length));
    GetNumberFormatW(LOCALE_USER_DEFAULT, 0, input.c_str(), &format, large.data(), length);
    return std::wstring(large.data(), static_cast<std::size_t>(length - 1));
}
