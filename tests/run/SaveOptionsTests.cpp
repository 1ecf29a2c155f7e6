#include <gtest/gtest.h>

#include "run/SaveOptions.h"
#include "support/TestTimes.h"

namespace {

SizeControls Sizes(int mode, std::wstring first, int firstUnit, std::wstring second, int secondUnit)
{
    return SizeControls{mode, std::move(first), firstUnit, std::move(second), secondUnit};
}

OleDate Date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return *OleDateFromParts({year, month, day, hour, minute, second});
}

}  // namespace

TEST(SizeOptions, LenientNumbersSkipBlanksAndStopAtTheFirstNonNumber)
{
    EXPECT_EQ(LenientNumber(L""), 0);
    EXPECT_EQ(LenientNumber(L"abc"), 0);
    EXPECT_EQ(LenientNumber(L"12abc"), 12);
    EXPECT_EQ(LenientNumber(L" 1 2\t3 "), 123);
    EXPECT_EQ(LenientNumber(L"-5"), -5);
    EXPECT_EQ(LenientNumber(L"+2.5"), 2.5);
    EXPECT_EQ(LenientNumber(L".5"), 0.5);
    EXPECT_EQ(LenientNumber(L"1e3"), 1000);
    EXPECT_EQ(LenientNumber(L"1e"), 1);
    EXPECT_EQ(LenientNumber(L"1,5"), 1);  // the point is always "."
    EXPECT_EQ(LenientNumber(L"2.5.1"), 2.5);
    EXPECT_EQ(LenientNumber(L"-"), 0);
}

TEST(SizeOptions, BoxesRoundHalvesToEvenThenScaleByTheirUnit)
{
    EXPECT_EQ(SizeBoxBytes(L"0.4", SizeUnits::KB), 0);
    EXPECT_EQ(SizeBoxBytes(L"0.5", SizeUnits::KB), 0);
    EXPECT_EQ(SizeBoxBytes(L"1.5", SizeUnits::None), 2);
    EXPECT_EQ(SizeBoxBytes(L"2.5", SizeUnits::None), 2);
    EXPECT_EQ(SizeBoxBytes(L"50", SizeUnits::KB), 51200);
    EXPECT_EQ(SizeBoxBytes(L"10", SizeUnits::MB), 10485760);
    EXPECT_EQ(SizeBoxBytes(L"3000", SizeUnits::MB), 3145728000ll);
    EXPECT_EQ(SizeBoxBytes(L"8796093022207", SizeUnits::MB), 9223372036853727232ll);  // 2^63 - 2^20
    EXPECT_EQ(SizeBoxBytes(L"8796093022208", SizeUnits::MB), std::nullopt);
    EXPECT_EQ(SizeBoxBytes(L"1e30", SizeUnits::None), std::nullopt);
    EXPECT_EQ(SizeBoxBytes(L"1e999", SizeUnits::KB), std::nullopt);
}

TEST(SizeOptions, AtLeastFillsTheUpperBoundFromTheFirstBox)
{
    SizeCheck check = CheckSizeOptions(Sizes(SizeModes::AtLeast, L"50", SizeUnits::KB, L"", SizeUnits::KB));
    EXPECT_TRUE(check.Passed());
    EXPECT_EQ(check.Bounds.Upper, 51200);
    EXPECT_EQ(check.Bounds.Lower, 0);
    EXPECT_EQ(check.Bounds.Test, 2);
    for (const wchar_t* text : {L"", L"0", L"0.4", L"abc", L"99999999999999999999"})
        EXPECT_EQ(CheckSizeOptions(Sizes(SizeModes::AtLeast, text, SizeUnits::KB, L"5", SizeUnits::KB)).Warning,
                  SizeWarning::FirstValue)
            << text;
    SizeCheck negative = CheckSizeOptions(Sizes(SizeModes::AtLeast, L"-5", SizeUnits::KB, L"", SizeUnits::KB));
    EXPECT_TRUE(negative.Passed());
    EXPECT_EQ(negative.Bounds.Test, 0);
}

TEST(SizeOptions, AtMostFillsTheLowerBoundFromTheSecondBox)
{
    SizeCheck check = CheckSizeOptions(Sizes(SizeModes::AtMost, L"", SizeUnits::KB, L"10", SizeUnits::MB));
    EXPECT_TRUE(check.Passed());
    EXPECT_EQ(check.Bounds.Lower, 10485760);
    EXPECT_EQ(check.Bounds.Upper, 0);
    EXPECT_EQ(check.Bounds.Test, 1);
    EXPECT_EQ(CheckSizeOptions(Sizes(SizeModes::AtMost, L"5", SizeUnits::KB, L" ", SizeUnits::KB)).Warning,
              SizeWarning::SecondValue);
    SizeCheck large = CheckSizeOptions(Sizes(SizeModes::AtMost, L"", SizeUnits::KB, L"3000", SizeUnits::MB));
    EXPECT_EQ(large.Bounds.Lower, 3145728000ll);
}

TEST(SizeOptions, BothNeedTwoValuesInRisingOrder)
{
    EXPECT_EQ(CheckSizeOptions(Sizes(SizeModes::Between, L"10", SizeUnits::KB, L"10", SizeUnits::KB)).Warning,
              SizeWarning::Order);
    EXPECT_EQ(CheckSizeOptions(Sizes(SizeModes::Between, L"3", SizeUnits::MB, L"10", SizeUnits::KB)).Warning,
              SizeWarning::Order);
    EXPECT_EQ(CheckSizeOptions(Sizes(SizeModes::Between, L"0", SizeUnits::KB, L"0", SizeUnits::KB)).Warning,
              SizeWarning::FirstValue);
    EXPECT_EQ(CheckSizeOptions(Sizes(SizeModes::Between, L"1", SizeUnits::KB, L"", SizeUnits::KB)).Warning,
              SizeWarning::SecondValue);
    EXPECT_EQ(CheckSizeOptions(Sizes(SizeModes::Between, L"1", SizeUnits::KB, L"9e99", SizeUnits::KB)).Warning,
              SizeWarning::SecondValue);
    SizeCheck check = CheckSizeOptions(Sizes(SizeModes::Between, L"1", SizeUnits::MB, L"2000", SizeUnits::KB));
    EXPECT_TRUE(check.Passed());
    EXPECT_EQ(check.Bounds.Lower, 1048576);
    EXPECT_EQ(check.Bounds.Upper, 2048000);
    EXPECT_EQ(check.Bounds.Test, 3);
    SizeCheck negativeLower = CheckSizeOptions(Sizes(SizeModes::Between, L"-1", SizeUnits::KB, L"2", SizeUnits::KB));
    EXPECT_EQ(negativeLower.Bounds.Test, 2);
}

TEST(SizeOptions, NoModeChecksNothingAndSetsNoBound)
{
    for (int mode : {SizeModes::Any, SizeModes::None}) {
        SizeCheck check = CheckSizeOptions(Sizes(mode, L"", SizeUnits::KB, L"abc", SizeUnits::KB));
        EXPECT_TRUE(check.Passed());
        EXPECT_EQ(check.Bounds.Test, 0);
    }
}

TEST(TimeOptions, AnyTimeRunsFrom150YearsAgoUntilNowOnTheAccessTime)
{
    TimeBounds bounds = ComputeTimeBounds({TimeKinds::Any, 0, 0}, At(2024, 2, 29, 13, 45, 10));
    EXPECT_EQ(bounds.From, Date(1874, 3, 1));
    EXPECT_EQ(bounds.To, Date(2024, 2, 29, 13, 45, 10));
    EXPECT_EQ(bounds.Field, DateFields::Accessed);
    EXPECT_TRUE(bounds.AnyTime);
    // A start before 1899-12-30 is not greater than 0, so only the end is active.
    EXPECT_EQ(bounds.Test, DateTestBits::To);
    EXPECT_EQ(ComputeTimeBounds({TimeKinds::Any, 0, 0}, At(2060, 7, 4)).Test, 3);
    EXPECT_EQ(ComputeTimeBounds({TimeKinds::Any, 0, 0}, At(2060, 7, 4)).From, Date(1910, 7, 4));
}

TEST(TimeOptions, OtherKindsTakeWholeDaysFromThePickers)
{
    OleDate from = Date(2023, 1, 1, 8, 0, 0), to = Date(2022, 1, 1, 9, 30, 15);
    TimeBounds modified = ComputeTimeBounds({TimeKinds::Modified, from, to}, At(2024, 1, 1));
    EXPECT_EQ(modified.From, Date(2023, 1, 1));
    EXPECT_EQ(modified.To, Date(2022, 1, 1, 23, 59, 59));  // a start after the end is accepted
    EXPECT_EQ(modified.Field, DateFields::Modified);
    EXPECT_EQ(modified.Test, 3);
    EXPECT_FALSE(modified.AnyTime);
    EXPECT_EQ(ComputeTimeBounds({TimeKinds::Created, from, to}, At(2024, 1, 1)).Field, DateFields::Created);
    EXPECT_EQ(ComputeTimeBounds({TimeKinds::Accessed, from, to}, At(2024, 1, 1)).Field, DateFields::Accessed);
}

TEST(PrepareRun, SetsTheStateOrReportsTheWarningLeavingTheBounds)
{
    RunState state;
    state.WalkDepth = 4;
    state.DateField = DateFields::Created;
    JobInfo job;
    SizeWarning warning = PrepareRun(state, job, Sizes(SizeModes::AtMost, L"", 0, L"1", SizeUnits::KB),
                                     {TimeKinds::None, Date(2020, 1, 1), Date(2021, 1, 1)}, At(2024, 1, 1));
    EXPECT_EQ(warning, SizeWarning::None);
    EXPECT_EQ(state.WalkDepth, 0);
    EXPECT_EQ(state.RunJob, &job);
    EXPECT_EQ(state.SizeLower, 1024);
    EXPECT_EQ(state.SizeTest, 1);
    // No time kind selected counts as 不指定.
    EXPECT_EQ(state.DateFrom, Date(1874, 1, 1));
    EXPECT_EQ(state.DateField, DateFields::Accessed);
    EXPECT_TRUE(state.AnyTime);

    warning = PrepareRun(state, job, Sizes(SizeModes::AtLeast, L"0", 0, L"", 0),
                         {TimeKinds::Modified, Date(2020, 1, 1), Date(2021, 1, 1)}, At(2024, 1, 1));
    EXPECT_EQ(warning, SizeWarning::FirstValue);
    EXPECT_EQ(state.SizeLower, 1024);
    EXPECT_EQ(state.DateFrom, Date(1874, 1, 1));
    EXPECT_TRUE(state.AnyTime);
}
