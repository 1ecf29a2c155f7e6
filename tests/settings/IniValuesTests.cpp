#include <gtest/gtest.h>

#include <optional>

#include "settings/IniValues.h"

TEST(IniValues, IntegerFromTextTakesOnlyWholeNumbersAndRoundsHalvesToEven)
{
    std::pair<const wchar_t*, int> accepted[] = {{L"  3 ", 3}, {L"-1", -1}, {L"+4", 4},   {L"2.5", 2},
                                                 {L"3.5", 4},  {L"-2.5", -2}, {L".5", 0}, {L"6.", 6},
                                                 {L"1e1", 10}, {L"-2147483648", -2147483647 - 1}};
    for (auto [text, value] : accepted) EXPECT_EQ(IntegerFromText(text), value) << text;
    for (const wchar_t* text : {L"", L"abc", L"12abc", L"1 2", L"-", L".", L"e5", L"0x10", L"1,000", L"2147483648",
                                L"99999999999", L"1e999"})
        EXPECT_EQ(IntegerFromText(text), std::nullopt) << text;
}

TEST(IniValues, TruthFromTextTakesNumbersAndTheWordsInAnyCase)
{
    for (const wchar_t* text : {L"1", L"2", L"-1", L"0.4", L" TRUE "}) EXPECT_EQ(TruthFromText(text), true) << text;
    for (const wchar_t* text : {L"0", L"0.0", L"false"}) EXPECT_EQ(TruthFromText(text), false) << text;
    for (const wchar_t* text : {L"", L"abc", L"yes", L"1x"}) EXPECT_EQ(TruthFromText(text), std::nullopt) << text;
}

TEST(IniValues, LeadingNumberReadsAsFarAsTheNumberGoes)
{
    std::pair<const wchar_t*, double> cases[] = {{L"12abc", 12}, {L"  7 8", 7}, {L"\t-3.25x", -3.25}, {L"1.5e1;", 15},
                                                 {L"4e+", 4},    {L"abc", 0},   {L"", 0},             {L"1e-999", 0}};
    for (auto [text, value] : cases) EXPECT_EQ(LeadingNumber(text), value) << text;
    EXPECT_EQ(RoundToInt32(LeadingNumber(L"-1e999")), std::nullopt);
}
