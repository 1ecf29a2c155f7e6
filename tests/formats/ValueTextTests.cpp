#include <gtest/gtest.h>

#include <utility>

#include "WrittenText.h"
#include "formats/NumberText.h"
#include "formats/ValueText.h"

namespace {

ExactSize PowerOfTwo(unsigned bits)
{
    return bits < 64 ? ExactSize::FromUInt64(1ull << bits) : ExactSize::FromHalves(0, 1ull << (bits - 64));
}

}  // namespace

TEST(NumberText, UsesRegionalGroupingAndTheGivenDecimals)
{
    EXPECT_EQ(FormatNumber(L"1234.5", 2), L"1,234.50");
    EXPECT_EQ(FormatNumber(L"1234567", 0), L"1,234,567");
    EXPECT_EQ(FormatNumber(L"-1234", 0), L"-1,234");
    EXPECT_EQ(FormatNumber(L"0.5", 3), L"0.500");
    EXPECT_EQ(FormatNumber(L"340282366920938463463374607431768211455", 0),
              L"340,282,366,920,938,463,463,374,607,431,768,211,455");
}

TEST(NumberText, LaysOutNumbersAsThePlatformDoesInEveryStyle)
{
    NumberStyle usual;
    NumberStyle indian = usual;
    indian.Grouping = 32;
    NumberStyle oneGroup = usual;
    oneGroup.Grouping = 30;
    NumberStyle ungrouped = usual;
    ungrouped.Grouping = 0;
    NumberStyle european;
    european.DecimalSeparator = L",";
    european.ThousandSeparator = L"\u00A0";
    european.LeadingZero = 0;
    const wchar_t* const values[] = {L"0",    L"0.5",          L"1",       L"9.995",
                                     L"1023.9990234375", L"1.0048828125", L"1.005859375", L"1234", L"1234567",
                                     L"12345678901234567890.12345", L"-1", L"-1234.5"};
    for (const NumberStyle* style : {&usual, &indian, &oneGroup, &ungrouped, &european})
        for (const wchar_t* value : values)
            for (int decimals : {0, 2, 3})
                EXPECT_EQ(FormatNumberWith(value, decimals, *style), FormatNumberByPlatform(value, decimals, *style))
                    << "value " << testing::PrintToString(std::wstring(value)) << ", " << decimals
                    << " decimals, grouping " << style->Grouping;
    // Where rounding adds a digit, the groups follow the rounded number (a formatter
    // that groups first writes "1000.00").
    EXPECT_EQ(FormatNumberWith(L"999.995", 2, usual), L"1,000.00");
    EXPECT_EQ(FormatNumberWith(L"99999.9995", 0, indian), L"1,00,000");
    EXPECT_EQ(FormatNumberWith(L"0.004", 0, european), L"0");
    EXPECT_EQ(FormatNumberWith(L"0.5", 2, european), L",50");
}

TEST(SizeText, SwitchesUnitOnlyAboveEachBoundary)
{
    EXPECT_EQ(SizeText(0), L"0 Bytes");
    EXPECT_EQ(SizeText(-1), L"-1 Bytes");
    EXPECT_EQ(SizeText(1024), L"1,024 Bytes");
    EXPECT_EQ(SizeText(1025), L"1.00 KB");
    EXPECT_EQ(SizeText(1500), L"1.46 KB");
    EXPECT_EQ(SizeText(1048576), L"1,024.00 KB");
    EXPECT_EQ(SizeText(1048577), L"1.00 MB");
    EXPECT_EQ(SizeText(3000000), L"2.86 MB");
    EXPECT_EQ(SizeText(PowerOfTwo(30) + ExactSize(1)), L"1.00 GB");
    EXPECT_EQ(SizeText(PowerOfTwo(40) + ExactSize(1)), L"1.00 TB");
    EXPECT_EQ(SizeText(PowerOfTwo(50) + ExactSize(1)), L"1.00 PB");
    EXPECT_EQ(SizeText(PowerOfTwo(63)), L"8.00 EB");
    EXPECT_EQ(SizeText(ExactSize::FromUInt64(~0ull)), L"16.00 EB");
    EXPECT_EQ(SizeText(PowerOfTwo(70) + ExactSize(1)), L"1.00 ZB");
    EXPECT_EQ(SizeText(PowerOfTwo(80)), L"1,024.00 ZB");
    EXPECT_EQ(SizeText(PowerOfTwo(80) + ExactSize(1)), L"1.00 YB");
}

TEST(SizeText, RoundsFromTheExactQuotient)
{
    // 1034 / 1024 = 1.009765625: just under the half of the second decimal.
    EXPECT_EQ(SizeText(1034), L"1.01 KB");
    // 1029 / 1024 = 1.0048828125 rounds down; 1030 / 1024 = 1.005859375 rounds up.
    EXPECT_EQ(SizeText(1029), L"1.00 KB");
    EXPECT_EQ(SizeText(1030), L"1.01 KB");
    // 1048575 / 1024 = 1023.9990234375 rounds over to the next whole number.
    EXPECT_EQ(SizeText(1048575), L"1,024.00 KB");
}

TEST(SizeSummaryText, GivesBytesUnitOrBoth)
{
    EXPECT_EQ(SizeSummaryText(1234, SizeSummaryModes::Both), L"1.21 KB (1,234 位元組)");
    EXPECT_EQ(SizeSummaryText(1234, SizeSummaryModes::UnitOnly), L"1.21 KB");
    EXPECT_EQ(SizeSummaryText(1234, SizeSummaryModes::BytesOnly), L"1,234 位元組");
    EXPECT_EQ(SizeSummaryText(500, SizeSummaryModes::Both), L"500 位元組 (500 位元組)");
    EXPECT_EQ(SizeSummaryText(500, SizeSummaryModes::UnitOnly), L"500 位元組");
    EXPECT_EQ(SizeSummaryText(500, SizeSummaryModes::BytesOnly), L"500 位元組");
    EXPECT_EQ(SizeSummaryText(1048577, 7), L"1.00 MB (1,048,577 位元組)");
}

TEST(DateTexts, ShowInvalidAndUnknownTimesAsWords)
{
    FileTimeInfo invalid;
    invalid.Invalid = true;
    invalid.Local = 45000;
    FileTimeInfo unknown;
    EXPECT_EQ(DateText(invalid), L"invalid");
    EXPECT_EQ(ListingDateText(invalid), L"invalid");
    EXPECT_EQ(DateText(unknown), L"unknown");
    EXPECT_EQ(ListingDateText(unknown), L"unknown");
}

TEST(DateTexts, ListingDateDropsSecondsAndPadsEveryField)
{
    EXPECT_EQ(ListingDateText(LocalTime(2023, 5, 1, 15, 4, 59)), L"2023-05-01 15:04");
    EXPECT_EQ(ListingDateText(LocalTime(2024, 12, 31, 0, 0)), L"2024-12-31 00:00");
    EXPECT_EQ(ListingDateText(LocalTime(1601, 1, 2, 9, 5)), L"1601-01-02 09:05");
}

TEST(DateTexts, RegionalDateTextUsesTheTwentyFourHourClock)
{
    std::wstring text = DateText(LocalTime(2023, 5, 1, 15, 4, 59));
    EXPECT_NE(text.find(L"2023"), std::wstring::npos) << text;
    EXPECT_TRUE(text.ends_with(L" 15:04")) << text;
}

TEST(AttributeText, LettersInFixedPositionsWithAnExecutableMarkForFiles)
{
    using namespace AttributeBits;
    EXPECT_EQ(AttributeText(FileEntry(L"C:\\x\\", L"setup.exe", 1, ReadOnly | Archive)), L"R--A---X");
    EXPECT_EQ(AttributeText(FileEntry(L"C:\\x\\", L"notes.txt", 1, 0)), L"--------");
    EXPECT_EQ(AttributeText(FileEntry(L"C:\\x\\", L"report.doc", 1, Temporary)), L"------TX");
    EXPECT_EQ(AttributeText(FileEntry(L"C:\\x\\", L"all", 1,
                                      ReadOnly | Hidden | System | Archive | Compressed | Encrypted | Temporary)),
              L"RHSACET-");
    EXPECT_EQ(AttributeText(FileEntry(L"C:\\x\\", L"hidden", 1, Directory | Hidden | System)), L"-HS----");
    EntryInfo noPath;
    noPath.Attributes = Archive;
    EXPECT_EQ(AttributeText(noPath), L"---A---");
}

TEST(ExtensionLists, TestThePieceAfterTheLastDotOfTheWholeText)
{
    EXPECT_FALSE(IsExecutableName(L"C:\\My.Docs\\readme"));
    EXPECT_TRUE(IsExecutableName(L"C:\\x\\run.Exe"));
    EXPECT_FALSE(IsExecutableName(L"C:\\x\\file."));
    EXPECT_FALSE(IsExecutableName(L"noextension"));
    EXPECT_TRUE(IsExecutableName(L"a.class"));
    EXPECT_FALSE(IsExecutableName(L"a.CLAS"));  // a piece of a list entry is no entry
    EXPECT_FALSE(IsExecutableName(L"a.S"));
    EXPECT_TRUE(IsMacroDocumentName(L"page.html"));
    EXPECT_TRUE(IsMacroDocumentName(L"page.HTM"));
    EXPECT_FALSE(IsMacroDocumentName(L"page.htmlx"));
    EXPECT_FALSE(IsMacroDocumentName(L"setup.exe"));
}

TEST(RemoveExtension, CutsTheLastDotOnlyWhenNoSeparatorOrBlankFollows)
{
    EXPECT_EQ(RemoveExtension(L"report.final.doc"), L"report.final");
    EXPECT_EQ(RemoveExtension(L"C:\\dir.v2\\file"), L"C:\\dir.v2\\file");
    EXPECT_EQ(RemoveExtension(L"name. txt"), L"name. txt");
    EXPECT_EQ(RemoveExtension(L"C:\\x\\a.tar.gz"), L"C:\\x\\a.tar");
    EXPECT_EQ(RemoveExtension(L"plain"), L"plain");
    EXPECT_EQ(RemoveExtension(L""), L"");
}

TEST(HtmlText, EscapesOnlyTheMarkupCharacters)
{
    EXPECT_EQ(HtmlText(L"a&b<c>d \"e' 中"), L"a&amp;b&lt;c&gt;d \"e' 中");
    EXPECT_EQ(HtmlText(L"&amp;"), L"&amp;amp;");
}

TEST(VisibleText, ShowsEachControlCharacterAsItsPicture)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"a\tb", L"a\u2409b"},
        {L"a\rb\n", L"a\u240Db\u240A"},
        {std::wstring(L"\0\x01\x1F", 3), L"\u2400\u2401\u241F"},
        {L"del\x7F", L"del\u2421"},
        {L"plain name ~!.txt \u00A0中", L"plain name ~!.txt \u00A0中"},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(VisibleText(text), shown);
        std::wstring appended = L"x\t";
        AppendVisibleText(appended, text);
        EXPECT_EQ(appended, L"x\t" + shown) << "only the appended text changes";
    }
}
