#include "formats/NumberText.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace {

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

// Each thread keeps its own copy and takes a fresh one when the generation moves on,
// so a listing formats a number per row without a lock or a copy of the texts.
std::atomic<unsigned> styleGeneration{1};

const NumberStyle& CurrentStyle()
{
    thread_local unsigned known = 0;
    thread_local NumberStyle style;
    unsigned now = styleGeneration.load(std::memory_order_acquire);
    if (known != now) {
        style = ReadNumberStyle();
        known = now;
    }
    return style;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Group sizes from the least significant group on; the last repeats unless a 0 ends
// the list (NUMBERFMT's Grouping: 3 is 3 repeated, 30 is one group of 3, 32 is 3
// then 2 repeated).
struct GroupSizes {
    explicit GroupSizes(UINT grouping)
    {
        unsigned digits[10];
        int count = 0;
        do digits[count++] = grouping % 10;
        while ((grouping /= 10) != 0 && count < 10);
        for (int i = count - 1; i >= 0; --i) Sizes[Count++] = digits[i];
    }
    unsigned At(std::size_t i) const { return i < Count ? Sizes[i] : Sizes[Count - 1]; }
    unsigned Sizes[10] = {};
    std::size_t Count = 0;
};

void AppendGrouped(std::wstring& out, std::wstring_view digits, const NumberStyle& style)
{
    GroupSizes sizes(style.Grouping);
    // Digits of each group counted from the left end, most significant group first.
    std::size_t groups[64];
    std::size_t count = 0;
    std::size_t rest = digits.size();
    for (std::size_t i = 0; rest > 0 && count < 63; ++i) {
        unsigned size = sizes.At(i);
        if (size == 0 || size >= rest) break;
        groups[count++] = size;
        rest -= size;
    }
    out.append(digits.substr(0, rest));
    std::size_t at = rest;
    while (count > 0) {
        std::size_t size = groups[--count];
        out.append(style.ThousandSeparator).append(digits.substr(at, size));
        at += size;
    }
}

// A plain non-negative decimal rounded half up at the given decimals, as the platform's
// formatter rounds; none for anything else.
bool SplitAndRound(std::wstring_view plain, int decimals, std::wstring& whole, std::wstring& fraction)
{
    std::size_t point = plain.find(L'.');
    std::wstring_view wholePart = plain.substr(0, point);
    std::wstring_view fractionPart = point == std::wstring_view::npos ? std::wstring_view() : plain.substr(point + 1);
    if (wholePart.empty()) return false;
    for (wchar_t c : wholePart)
        if (!IsDigit(c)) return false;
    for (wchar_t c : fractionPart)
        if (!IsDigit(c)) return false;
    auto kept = static_cast<std::size_t>(decimals);
    whole.assign(wholePart);
    fraction.assign(fractionPart.substr(0, kept));
    fraction.append(kept - fraction.size(), L'0');
    if (fractionPart.size() > kept && fractionPart[kept] >= L'5') {
        std::size_t i = fraction.size();
        for (; i > 0 && fraction[i - 1] == L'9'; --i) fraction[i - 1] = L'0';
        if (i > 0) {
            ++fraction[i - 1];
        } else {
            std::size_t j = whole.size();
            for (; j > 0 && whole[j - 1] == L'9'; --j) whole[j - 1] = L'0';
            if (j > 0)
                ++whole[j - 1];
            else
                whole.insert(0, 1, L'1');
        }
    }
    std::size_t first = whole.find_first_not_of(L'0');
    whole.erase(0, first == std::wstring::npos ? whole.size() - 1 : first);
    return true;
}

}  // namespace

void RefreshRegionalFormats() { styleGeneration.fetch_add(1, std::memory_order_acq_rel); }

std::wstring FormatNumberWith(std::wstring_view plain, int decimals, const NumberStyle& style)
{
    std::wstring whole, fraction;
    // Negative numbers are rare here (the unknown size -1); the platform lays them out.
    if (decimals < 0 || decimals > 9 || !SplitAndRound(plain, decimals, whole, fraction))
        return FormatNumberByPlatform(plain, decimals, style);
    std::wstring text;
    text.reserve(whole.size() * 2 + fraction.size() + 2);
    if (whole != L"0" || style.LeadingZero != 0 || decimals == 0) AppendGrouped(text, whole, style);
    if (decimals > 0) text.append(style.DecimalSeparator).append(fraction);
    return text;
}

std::wstring FormatNumberByPlatform(std::wstring_view plain, int decimals, const NumberStyle& style)
{
    NUMBERFMTW format{};
    format.NumDigits = static_cast<UINT>(decimals);
    format.LeadingZero = style.LeadingZero;
    format.Grouping = style.Grouping;
    format.lpDecimalSep = const_cast<wchar_t*>(style.DecimalSeparator.c_str());
    format.lpThousandSep = const_cast<wchar_t*>(style.ThousandSeparator.c_str());
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

void AppendNumber(std::wstring& out, std::uint64_t whole, int decimals, std::uint32_t fraction)
{
    const NumberStyle& style = CurrentStyle();
    wchar_t digits[24];
    std::size_t count = 0;
    do digits[sizeof(digits) / sizeof(digits[0]) - 1 - count++] = static_cast<wchar_t>(L'0' + whole % 10);
    while ((whole /= 10) != 0);
    std::wstring_view wholeDigits(digits + sizeof(digits) / sizeof(digits[0]) - count, count);
    if (wholeDigits != L"0" || style.LeadingZero != 0 || decimals == 0) AppendGrouped(out, wholeDigits, style);
    if (decimals <= 0) return;
    out.append(style.DecimalSeparator);
    std::size_t start = out.size();
    out.append(static_cast<std::size_t>(decimals), L'0');
    for (std::size_t i = out.size(); i > start; --i, fraction /= 10) out[i - 1] = static_cast<wchar_t>(L'0' + fraction % 10);
}

std::wstring FormatNumber(std::wstring_view plain, int decimals)
{
    return FormatNumberWith(plain, decimals, CurrentStyle());
}

std::wstring ZeroPadded(int value, std::size_t width)
{
    std::wstring text = std::to_wstring(value);
    if (text.size() < width) text.insert(0, width - text.size(), L'0');
    return text;
}
