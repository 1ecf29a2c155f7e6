#include <gtest/gtest.h>

#include <optional>

#include "settings/ValueText.h"

TEST(ValueText, IntegerFromTextTakesWholeDecimalNumbersRoundedHalfToEven)
{
    EXPECT_EQ(IntegerFromText(L"2"), 2);
    EXPECT_EQ(IntegerFromText(L"  3 "), 3);
    EXPECT_EQ(IntegerFromText(L"-1"), -1);
    EXPECT_EQ(IntegerFromText(L"+4"), 4);
    EXPECT_EQ(IntegerFromText(L"2.5"), 2);
    EXPECT_EQ(IntegerFromText(L"3.5"), 4);
    EXPECT_EQ(IntegerFromText(L"-2.5"), -2);
    EXPECT_EQ(IntegerFromText(L"1.49"), 1);
    EXPECT_EQ(IntegerFromText(L".5"), 0);
    EXPECT_EQ(IntegerFromText(L"6."), 6);
    EXPECT_EQ(IntegerFromText(L"1e1"), 10);
    EXPECT_EQ(IntegerFromText(L"2147483647"), 2147483647);
    EXPECT_EQ(IntegerFromText(L"-2147483648"), -2147483647 - 1);
}

TEST(ValueText, IntegerFromTextRejectsEverythingElse)
{
    for (const wchar_t* text : {L"", L" ", L"abc", L"12abc", L"1 2", L"-", L".", L"e5", L"0x10", L"1,000",
                                L"2147483648", L"99999999999", L"1e12", L"1e999", L"--1"})
        EXPECT_EQ(IntegerFromText(text), std::nullopt) << text;
}

TEST(ValueText, TruthFromTextAcceptsNumbersAndTheWordsInAnyCase)
{
    EXPECT_EQ(TruthFromText(L"1"), true);
    EXPECT_EQ(TruthFromText(L"2"), true);
    EXPECT_EQ(TruthFromText(L"-1"), true);
    EXPECT_EQ(TruthFromText(L"0.4"), true);
    EXPECT_EQ(TruthFromText(L"0"), false);
    EXPECT_EQ(TruthFromText(L"0.0"), false);
    EXPECT_EQ(TruthFromText(L"True"), true);
    EXPECT_EQ(TruthFromText(L" TRUE "), true);
    EXPECT_EQ(TruthFromText(L"false"), false);
    for (const wchar_t* text : {L"", L"abc", L"yes", L"truex", L"1x"}) EXPECT_EQ(TruthFromText(text), std::nullopt) << text;
}

TEST(ValueText, LeadingNumberReadsAsFarAsTheNumberGoes)
{
    EXPECT_EQ(LeadingNumber(L"12abc"), 12);
    EXPECT_EQ(LeadingNumber(L"  7 8"), 7);
    EXPECT_EQ(LeadingNumber(L"\t-3.25x"), -3.25);
    EXPECT_EQ(LeadingNumber(L"1.5e1;"), 15);
    EXPECT_EQ(LeadingNumber(L"4e"), 4);
    EXPECT_EQ(LeadingNumber(L"4e+"), 4);
    EXPECT_EQ(LeadingNumber(L"abc"), 0);
    EXPECT_EQ(LeadingNumber(L""), 0);
    EXPECT_EQ(LeadingNumber(L"-"), 0);
    EXPECT_EQ(LeadingNumber(L"x12"), 0);
    EXPECT_EQ(LeadingNumber(L"1e-999"), 0);
    EXPECT_EQ(RoundToInt32(LeadingNumber(L"1e999")), std::nullopt);
    EXPECT_EQ(RoundToInt32(LeadingNumber(L"-1e999")), std::nullopt);
}
