#include "formats/ValueText.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <array>
#include <vector>

#include "formats/NumberText.h"

namespace {

constexpr std::wstring_view kExecutableList =
    L".ADE.ADP.BAS.BAT.CHM.CMD.COM.CPL.CRT.EXE.HLP.HTA.INF.INS.ISP.JS.JSE.LNK.MDB.MDE.MSC.MSI.MSP.MST.PCD.PIF.REG."
    L"SCR.SCT.SHB.SHS.URL.VB.VBE.VBS.WSC.WSF.WSH.286.386.VXD.DLL.OCX.VBX.DRV.OVL.SCF.SYS.QTX.FOT.ROM.CLASS.JOB.";
constexpr std::wstring_view kMacroDocumentList = L".HTT.HTM.HTML.DOC.DOT.XLS.XLA.XLT.MDT.PPA.WIZ.POT.MDZ.";

struct SizeUnit {
    unsigned Bits;
    const wchar_t* Suffix;
};
constexpr std::array<SizeUnit, 8> kUnits{{{80, L" YB"},
                                          {70, L" ZB"},
                                          {60, L" EB"},
                                          {50, L" PB"},
                                          {40, L" TB"},
                                          {30, L" GB"},
                                          {20, L" MB"},
                                          {10, L" KB"}}};

ExactSize PowerOfTwo(unsigned bits)
{
    return bits < 64 ? ExactSize::FromUInt64(1ull << bits) : ExactSize::FromHalves(0, 1ull << (bits - 64));
}

// value / 2^bits as an exact-enough decimal for rounding to two places: four digits
// after the point, then a "1" when anything is left, so that a half is told from
// a little more than a half.
std::wstring QuotientDecimal(const ExactSize& value, unsigned bits)
{
    std::wstring text = value.ShiftRight(bits).ToDecimal();
    text += L'.';
    ExactSize rest = value.LowBits(bits);
    for (int i = 0; i < 4; ++i) {
        rest = rest.MultiplySmall(10);
        text += static_cast<wchar_t>(L'0' + rest.ShiftRight(bits).Low());
        rest = rest.LowBits(bits);
    }
    if (rest != ExactSize(0)) text += L'1';
    return text;
}

const SizeUnit* UnitFor(const ExactSize& size)
{
    for (const SizeUnit& unit : kUnits)
        if (size > PowerOfTwo(unit.Bits)) return &unit;
    return nullptr;
}

std::wstring UnitText(const ExactSize& size, const SizeUnit& unit)
{
    return FormatNumber(QuotientDecimal(size, unit.Bits), 2) + unit.Suffix;
}

// The extensions of a list, sorted, for a lookup per row instead of a search of the text.
std::vector<std::wstring_view> SortedExtensions(std::wstring_view list)
{
    std::vector<std::wstring_view> extensions;
    for (std::size_t start = 1; start < list.size();) {
        std::size_t end = list.find(L'.', start);
        extensions.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    std::sort(extensions.begin(), extensions.end());
    return extensions;
}

// Whether the piece after the last "." of the text, upper-cased, is one of the list's
// extensions (none is longer than "CLASS").
bool PieceInList(std::wstring_view text, const std::vector<std::wstring_view>& extensions)
{
    constexpr std::size_t kLongest = 6;
    std::size_t dot = text.rfind(L'.');
    if (dot == std::wstring_view::npos || dot + 1 == text.size() || text.size() - dot - 1 > kLongest) return false;
    wchar_t piece[kLongest];
    std::size_t length = text.size() - dot - 1;
    std::copy(text.begin() + static_cast<std::ptrdiff_t>(dot + 1), text.end(), piece);
    UpperCaseInPlace(piece, length);
    return std::binary_search(extensions.begin(), extensions.end(), std::wstring_view(piece, length));
}

const std::vector<std::wstring_view>& Executables()
{
    static const std::vector<std::wstring_view> extensions = SortedExtensions(kExecutableList);
    return extensions;
}

const std::vector<std::wstring_view>& MacroDocuments()
{
    static const std::vector<std::wstring_view> extensions = SortedExtensions(kMacroDocumentList);
    return extensions;
}

// The quotient of a size by its unit rounded to two decimals, from whole numbers where
// they are exact: up to TB, whose remainders times 1,000 stay within 64 bits.
bool AppendSizeInUnit(std::wstring& out, const ExactSize& size, const SizeUnit& unit)
{
    if (!size.FitsUInt64() || unit.Bits > 40) return false;
    std::uint64_t value = size.Low();
    std::uint64_t whole = value >> unit.Bits;
    std::uint64_t rest = value & ((std::uint64_t{1} << unit.Bits) - 1);
    std::uint64_t hundredths = (rest * 100) >> unit.Bits;
    if (((rest * 1000) >> unit.Bits) % 10 >= 5) ++hundredths;  // half up, as the number format rounds
    if (hundredths == 100) {
        ++whole;
        hundredths = 0;
    }
    AppendNumber(out, whole, 2, static_cast<std::uint32_t>(hundredths));
    out += unit.Suffix;
    return true;
}

void PutDigits(wchar_t* at, int value, int count)
{
    for (int i = count - 1; i >= 0; --i, value /= 10) at[i] = static_cast<wchar_t>(L'0' + value % 10);
}

}  // namespace

std::wstring WholeNumberText(const ExactSize& value) { return FormatNumber(value.ToDecimal(), 0); }

std::wstring SizeText(const ExactSize& size)
{
    std::wstring text;
    AppendSizeText(text, size);
    return text;
}

void AppendSizeText(std::wstring& out, const ExactSize& size)
{
    const SizeUnit* unit = UnitFor(size);
    if (!unit) {
        if (size.IsNegative())
            out += WholeNumberText(size);
        else
            AppendNumber(out, size.Low(), 0, 0);
        out += L" Bytes";
    } else if (!AppendSizeInUnit(out, size, *unit)) {
        out += UnitText(size, *unit);
    }
}

std::wstring SizeSummaryText(const ExactSize& size, int mode)
{
    std::wstring bytes;
    if (mode != SizeSummaryModes::UnitOnly) bytes = WholeNumberText(size) + L" 位元組";
    if (mode == SizeSummaryModes::BytesOnly) return bytes;
    const SizeUnit* unit = UnitFor(size);
    std::wstring inUnit = unit ? UnitText(size, *unit) : WholeNumberText(size) + L" 位元組";
    if (mode == SizeSummaryModes::UnitOnly) return inUnit;
    return inUnit + L" (" + bytes + L")";
}

std::wstring DateText(const FileTimeInfo& time)
{
    if (time.Invalid) return L"invalid";
    if (time.Local == 0) return L"unknown";
    SYSTEMTIME local = SystemTimeFromOleDate(time.Local);
    wchar_t date[96] = {};
    wchar_t clock[96] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &local, nullptr, date, 96);
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS | TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT, &local, nullptr, clock, 96);
    return std::wstring(date) + L" " + clock;
}

std::wstring ListingDateText(const FileTimeInfo& time)
{
    std::wstring text;
    AppendListingDateText(text, time);
    return text;
}

void AppendListingDateText(std::wstring& out, const FileTimeInfo& time)
{
    if (time.Invalid) {
        out += L"invalid";
        return;
    }
    if (time.Local == 0) {
        out += L"unknown";
        return;
    }
    DateParts parts = PartsFromOleDate(time.Local);
    wchar_t text[] = L"yyyy-mm-dd hh:nn";
    PutDigits(text, parts.Year, 4);
    PutDigits(text + 5, parts.Month, 2);
    PutDigits(text + 8, parts.Day, 2);
    PutDigits(text + 11, parts.Hour, 2);
    PutDigits(text + 14, parts.Minute, 2);
    out.append(text, 16);
}

std::wstring AttributeText(const EntryInfo& entry)
{
    std::wstring text;
    AppendAttributeText(text, entry);
    return text;
}

void AppendAttributeText(std::wstring& out, const EntryInfo& entry)
{
    struct Letter {
        wchar_t Mark;
        std::uint32_t Bit;
    };
    static constexpr Letter kLetters[] = {
        {L'R', AttributeBits::ReadOnly},   {L'H', AttributeBits::Hidden},    {L'S', AttributeBits::System},
        {L'A', AttributeBits::Archive},    {L'C', AttributeBits::Compressed}, {L'E', AttributeBits::Encrypted},
        {L'T', AttributeBits::Temporary},
    };
    for (const Letter& letter : kLetters) out += (entry.Attributes & letter.Bit) ? letter.Mark : L'-';
    if (!(entry.Attributes & AttributeBits::Directory) && !entry.FullPath.empty()) {
        bool marked = PieceInList(entry.FullPath, MacroDocuments()) || PieceInList(entry.FullPath, Executables());
        out += marked ? L'X' : L'-';
    }
}

bool IsExecutableName(std::wstring_view text) { return PieceInList(text, Executables()); }

bool IsMacroDocumentName(std::wstring_view text) { return PieceInList(text, MacroDocuments()); }

std::wstring RemoveExtension(std::wstring_view text)
{
    std::vector<wchar_t> buffer(text.begin(), text.end());
    buffer.push_back(L'\0');
    PathRemoveExtensionW(buffer.data());
    return std::wstring(buffer.data());
}

wchar_t ExtensionChar(wchar_t c)
{
    UpperCaseInPlace(&c, 1);
    return VisibleChar(c);
}

void AppendExtensionText(std::wstring& out, std::wstring_view extension)
{
    for (wchar_t c : extension) out += ExtensionChar(c);
}

wchar_t VisibleChar(wchar_t c)
{
    if (c < 0x20) return static_cast<wchar_t>(0x2400 + c);
    return c == 0x7F ? L'\u2421' : c;
}

void AppendVisibleText(std::wstring& out, std::wstring_view text)
{
    std::size_t start = out.size();
    out.append(text);
    for (std::size_t i = start; i < out.size(); ++i) out[i] = VisibleChar(out[i]);
}

std::wstring VisibleText(std::wstring_view text)
{
    std::wstring visible;
    AppendVisibleText(visible, text);
    return visible;
}

std::wstring HtmlText(std::wstring_view text)
{
    std::wstring escaped;
    AppendHtmlText(escaped, text);
    return escaped;
}

void AppendHtmlText(std::wstring& out, std::wstring_view text)
{
    for (wchar_t c : text) AppendHtmlChar(out, c);
}

void AppendHtmlChar(std::wstring& out, wchar_t c)
{
    switch (c) {
    case L'&': out += L"&amp;"; break;
    case L'<': out += L"&lt;"; break;
    case L'>': out += L"&gt;"; break;
    default: out += c;
    }
}

std::wstring UpperCaseText(std::wstring_view text)
{
    std::wstring upper;
    AppendUpperCaseText(upper, text);
    return upper;
}

void AppendUpperCaseText(std::wstring& out, std::wstring_view text)
{
    std::size_t start = out.size();
    out.append(text);
    UpperCaseInPlace(out.data() + start, text.size());
}

void UpperCaseInPlace(wchar_t* text, std::size_t length)
{
    bool ascii = true;
    for (std::size_t i = 0; i < length; ++i) {
        wchar_t& c = text[i];
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
        else if (c > 0x7F)
            ascii = false;
    }
    if (!ascii) CharUpperBuffW(text, static_cast<DWORD>(length));
}
