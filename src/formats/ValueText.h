#pragma once
// The texts listings show for sizes, dates, attributes and extensions.
#include <string>
#include <string_view>

#include "fs/EntryInfo.h"

// In the largest unit (KB = 1024 bytes .. YB = 2^80) the value strictly exceeds,
// with two decimals; otherwise whole bytes and " Bytes".
std::wstring SizeText(const ExactSize& size);
// The Append forms add the same text to `out`; a listing row is made of them without
// an allocation of its own.
void AppendSizeText(std::wstring& out, const ExactSize& size);
namespace SizeSummaryModes {
constexpr int BytesOnly = 0;
constexpr int UnitOnly = 1;
constexpr int Both = 2;
}  // namespace SizeSummaryModes
std::wstring SizeSummaryText(const ExactSize& size, int mode);
// Whole bytes in the regional number format, no decimals.
std::wstring WholeNumberText(const ExactSize& value);

// Regional short date and 24-hour short time, or "invalid" / "unknown".
std::wstring DateText(const FileTimeInfo& time);
// "yyyy-mm-dd hh:nn", or "invalid" / "unknown".
std::wstring ListingDateText(const FileTimeInfo& time);
void AppendListingDateText(std::wstring& out, const FileTimeInfo& time);

// RHSACET, plus "X" or "-" for an executable or macro document when the entry is a
// file with a path.
std::wstring AttributeText(const EntryInfo& entry);
void AppendAttributeText(std::wstring& out, const EntryInfo& entry);
// The extension column: upper case, control characters made visible.
void AppendExtensionText(std::wstring& out, std::wstring_view extension);
wchar_t ExtensionChar(wchar_t c);
// The piece from the last "." of the whole text, so a dot in a folder name counts.
bool IsExecutableName(std::wstring_view text);
bool IsMacroDocumentName(std::wstring_view text);
std::wstring RemoveExtension(std::wstring_view text);

// Each control character (U+0000 to U+001F, U+007F) as its visible picture (U+2400 +
// code, U+2421 for U+007F), so that a name from another system cannot split a row or
// a line; everything else is kept. Appending costs no copy beyond the append itself.
void AppendVisibleText(std::wstring& out, std::wstring_view text);
wchar_t VisibleChar(wchar_t c);
std::wstring VisibleText(std::wstring_view text);

// &, < and > as HTML character references; nothing else changes.
std::wstring HtmlText(std::wstring_view text);
void AppendHtmlText(std::wstring& out, std::wstring_view text);
void AppendHtmlChar(std::wstring& out, wchar_t c);
std::wstring UpperCaseText(std::wstring_view text);
void AppendUpperCaseText(std::wstring& out, std::wstring_view text);
void UpperCaseInPlace(wchar_t* text, std::size_t length);
