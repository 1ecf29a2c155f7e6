#pragma once
// Conversions of INI value texts to the numbers and truth values of the options.
#include <optional>
#include <string_view>

// The number the text begins with: leading blanks are skipped, then a sign, digits, a
// decimal point and an exponent are taken as far as they go. 0 when there is none.
double LeadingNumber(std::wstring_view text);
// The whole text (blanks around it allowed) as a decimal number, if it is one.
std::optional<double> NumberFromText(std::wstring_view text);
// Nearest whole number, halves to the even one; none outside the 32-bit signed range.
std::optional<int> RoundToInt32(double value);
// A whole decimal number rounded as above, e.g. a list index.
std::optional<int> IntegerFromText(std::wstring_view text);
// "True" / "False" in any letter case, or a number (anything but 0 is true).
std::optional<bool> TruthFromText(std::wstring_view text);
