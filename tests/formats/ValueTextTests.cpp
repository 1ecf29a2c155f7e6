#include <gtest/gtest.h>

#include <tuple>

#include "formats/NumberText.h"
#include "formats/ValueText.h"

TEST(NumberText, LaysOutNumbersAsThePlatformDoesInEveryStyle)
{
    NumberStyle usual, indian, oneGroup, european;
    indian.Grouping = 32;
    oneGroup.Grouping = 30;
    european.DecimalSeparator = L",", european.ThousandSeparator = L"\u00A0", european.LeadingZero = 0;
    for (const NumberStyle* style : {&usual, &indian, &oneGroup, &european})
        for (const wchar_t* value : {L"0.5", L"9.995", L"1023.9990234375", L"1.005859375", L"1234567", L"1.0048828125",
                                     L"12345678901234567890.12345", L"-1234.5"})
            for (int decimals : {0, 2})
                EXPECT_EQ(FormatNumberWith(value, decimals, *style), FormatNumberByPlatform(value, decimals, *style))
                    << testing::PrintToString(std::wstring(value)) << " " << decimals << " " << style->Grouping;
    // Where rounding adds a digit the groups follow the rounded number, which some platforms get wrong.
    EXPECT_EQ(FormatNumberWith(L"999.995", 2, usual) + L" " + FormatNumberWith(L"99999.9995", 0, indian), L"1,000.00 1,00,000");
}

TEST(SizeText, TheLargestUnitTheSizeExceedsWithTwoDecimalsElseBytes)
{
    auto power = [](unsigned bits) {
        return bits < 64 ? ExactSize::FromUInt64(1ull << bits) : ExactSize::FromHalves(0, 1ull << (bits - 64));
    };
    // From the exact quotient: 1029 / 1024 rounds down, 1030 / 1024 up, 1048575 / 1024 over.
    const std::pair<ExactSize, const wchar_t*> cases[] = {
        {0, L"0 Bytes"},             {-1, L"-1 Bytes"},          {1024, L"1,024 Bytes"},      {1025, L"1.00 KB"},
        {1500, L"1.46 KB"},          {1029, L"1.00 KB"},         {1030, L"1.01 KB"},          {1048575, L"1,024.00 KB"},
        {1048576, L"1,024.00 KB"},   {1048577, L"1.00 MB"},      {power(30) + 1, L"1.00 GB"}, {power(40) + 1, L"1.00 TB"},
        {power(50) + 1, L"1.00 PB"}, {power(63), L"8.00 EB"},    {power(70) + 1, L"1.00 ZB"}, {power(80), L"1,024.00 ZB"},
        {power(80) + 1, L"1.00 YB"}, {ExactSize::FromUInt64(~0ull), L"16.00 EB"},
    };
    for (const auto& [size, text] : cases) EXPECT_EQ(SizeText(size), text) << size.ToDecimal();
    EXPECT_EQ(SizeSummaryText(1234, SizeSummaryModes::Both), L"1.21 KB (1,234 位元組)");
    EXPECT_EQ(SizeSummaryText(500, SizeSummaryModes::Both), L"500 位元組 (500 位元組)");
}

TEST(DateTexts, InvalidAndUnknownTimesAsWordsOtherwiseToTheMinute)
{
    const FileTimeInfo invalid{true, 45000, 0, 0}, unknown, time{false, *OleDateFromParts({1601, 1, 2, 9, 5, 59}), 0, 0};
    for (auto text : {DateText, ListingDateText})
        EXPECT_EQ(text(invalid) + L" " + text(unknown), L"invalid unknown");
    EXPECT_EQ(ListingDateText(time), L"1601-01-02 09:05");
}

TEST(AttributeText, EachLetterShowsItsOwnBitWithAnExecutableMarkForFiles)
{
    using namespace AttributeBits;
    const std::tuple<std::uint32_t, const wchar_t*, const wchar_t*> cases[] = {
        {ReadOnly, L"a.txt", L"R-------"},  {Hidden, L"a.txt", L"-H------"},     {System, L"a.txt", L"--S-----"},
        {Archive, L"a.txt", L"---A----"},   {Compressed, L"a.txt", L"----C---"}, {Encrypted, L"a.txt", L"-----E--"},
        {Temporary, L"a.txt", L"------T-"}, {0, L"a.txt", L"--------"},          {Directory, L"a.txt", L"-------"},
        {0, L"report.doc", L"-------X"},    {ReadOnly | Archive, L"setup.exe", L"R--A---X"},
        {Directory | Hidden | System, L"run.exe", L"-HS----"},                   {Archive, L"", L"---A---"},
        {ReadOnly | Hidden | System | Archive | Compressed | Encrypted | Temporary, L"all", L"RHSACET-"},
    };
    for (auto [bits, name, letters] : cases) {
        EntryInfo entry;
        entry.FullPath = *name ? std::wstring(L"C:\\x\\") + name : L"";
        entry.Attributes = bits;
        EXPECT_EQ(AttributeText(entry), letters) << bits << " " << name;
    }
}

TEST(NameTexts, ExecutablesExtensionRemovalEscapesAndVisibleControlCharacters)
{
    // The piece from the last dot of the whole text, folders included.
    const std::tuple<const wchar_t*, bool, bool> marks[] = {
        {L"C:\\My.Docs\\readme", false, false}, {L"C:\\x\\run.Exe", true, false}, {L"C:\\x\\file.", false, false},
        {L"a.CLAS", false, false}, {L"a.S", false, false}, {L"page.HTM", false, true}, {L"page.htmlx", false, false},
    };
    for (auto [text, executable, macro] : marks)
        EXPECT_EQ(std::make_pair(IsExecutableName(text), IsMacroDocumentName(text)), std::make_pair(executable, macro)) << text;
    const std::tuple<std::wstring (*)(std::wstring_view), std::wstring, std::wstring> cases[] = {
        {RemoveExtension, L"report.final.doc", L"report.final"}, {RemoveExtension, L"C:\\dir.v2\\file", L"C:\\dir.v2\\file"},
        {RemoveExtension, L"name. txt", L"name. txt"}, {HtmlText, L"a&b<c>d \"e' 中", L"a&amp;b&lt;c&gt;d \"e' 中"},
        {VisibleText, L"a\tb\rc\n", L"a\u2409b\u240Dc\u240A"},
        {VisibleText, std::wstring(L"\0\x01\x1F del\x7F ~\u00A0中", 12), L"\u2400\u2401\u241F del\u2421 ~\u00A0中"},
    };
    for (const auto& [convert, text, expected] : cases) EXPECT_EQ(convert(text), expected) << testing::PrintToString(text);
}
