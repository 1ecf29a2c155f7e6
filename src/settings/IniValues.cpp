#include "settings/IniValues.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <string>

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::size_t SkipDigits(std::wstring_view text, std::size_t at)
{
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at;
}

// Length of the number at the start of text (sign, digits, point, exponent); 0 when
// there is no digit before the exponent.
std::size_t NumberLength(std::wstring_view text)
{
    std::size_t at = 0;
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) ++at;
    std::size_t intEnd = SkipDigits(text, at);
    std::size_t end = intEnd;
    if (end < text.size() && text[end] == L'.') end = SkipDigits(text, end + 1);
    if (end - at - (end > intEnd ? 1 : 0) == 0) return 0;
    if (end < text.size() && (text[end] == L'e' || text[end] == L'E')) {
        std::size_t exp = end + 1;
        if (exp < text.size() && (text[exp] == L'+' || text[exp] == L'-')) ++exp;
        std::size_t expEnd = SkipDigits(text, exp);
        if (expEnd > exp) end = expEnd;
    }
    return end;
}

// The characters are plain ASCII here, so the locale-free parser can take them.
double ParseNumber(std::wstring_view number)
{
    std::string ascii(number.begin(), number.end());
    if (!ascii.empty() && ascii[0] == '+') ascii.erase(0, 1);
    double value = 0;
    auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    // Out of range of a double: the sign of an infinity still says which way.
    if (result.ec == std::errc::result_out_of_range) {
        bool negativeExponent = ascii.find("e-") != std::string::npos || ascii.find("E-") != std::string::npos;
        if (negativeExponent) return 0;
        return ascii[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

std::wstring_view TrimBlanks(std::wstring_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringCase(std::wstring_view text, std::wstring_view lowerWord)
{
    if (text.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != lowerWord[i]) return false;
    }
    return true;
}

}  // namespace

double LeadingNumber(std::wstring_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    std::size_t length = NumberLength(text);
    return length == 0 ? 0 : ParseNumber(text.substr(0, length));
}

std::optional<double> NumberFromText(std::wstring_view text)
{
    text = TrimBlanks(text);
    std::size_t length = NumberLength(text);
    if (length == 0 || length != text.size()) return std::nullopt;
    return ParseNumber(text);
}

std::optional<int> RoundToInt32(double value)
{
    if (!std::isfinite(value)) return std::nullopt;
    // The default rounding mode sends halves to the even neighbour.
    double rounded = std::nearbyint(value);
    if (rounded < static_cast<double>(INT_MIN) || rounded > static_cast<double>(INT_MAX)) return std::nullopt;
    return static_cast<int>(rounded);
}

std::optional<int> IntegerFromText(std::wstring_view text)
{
    auto number = NumberFromText(text);
    if (!number) return std::nullopt;
    return RoundToInt32(*number);
}

std::optional<bool> TruthFromText(std::wstring_view text)
{
    text = TrimBlanks(text);
    if (EqualsIgnoringCase(text, L"true")) return true;
    if (EqualsIgnoringCase(text, L"false")) return false;
    auto number = NumberFromText(text);
    if (!number) return std::nullopt;
    return *number != 0;
}
