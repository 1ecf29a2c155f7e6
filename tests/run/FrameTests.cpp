#include <gtest/gtest.h>

#include "TestTimes.h"

#include "formats/ListingOptions.h"
#include "run/Frame.h"
#include "run/RunReport.h"

TEST(OutputFileName, DateTimeStampThenNameThenTheFormatsExtension)
{
    SYSTEMTIME now = At(2024, 5, 7, 15, 4, 5);
    EXPECT_EQ(OutputFileName(L"C:\\Lists\\", now, ListingFormats::Txt, false), L"C:\\Lists\\20240507_150405_Quorvane.txt");
    EXPECT_EQ(OutputFileName(L"C:\\Lists\\", now, ListingFormats::Csv, false), L"C:\\Lists\\20240507_150405_Quorvane.csv");
    EXPECT_EQ(OutputFileName(L"C:\\", now, ListingFormats::Html, false), L"C:\\20240507_150405_Quorvane.html");
    EXPECT_EQ(OutputFileName(L"C:\\", now, ListingFormats::Tree, false), L"C:\\20240507_150405_Quorvane.txt");
    EXPECT_EQ(OutputFileName(L"C:\\", now, ListingFormats::Html, true), L"C:\\20240507_150405_Quorvane.txt");
    EXPECT_EQ(OutputFileName(L"C:\\", now, ListingFormats::None, true), L"C:\\20240507_150405_Quorvane.txt");
    EXPECT_EQ(OutputFileName(L"C:\\", now, ListingFormats::None, false), std::nullopt);
    EXPECT_EQ(OutputFileName(L"D:\\", At(987, 12, 31, 0, 0, 9), ListingFormats::Txt, false),
              L"D:\\09871231_000009_Quorvane.txt");
}

TEST(FrameTimeText, TwelveHourClockWithTheRegionalDesignator)
{
    EXPECT_EQ(FrameTimeText(At(2024, 5, 7, 15, 4, 5)), L"2024 年 05 月 07 日 - PM 03 時 04 分 05 秒");
    EXPECT_EQ(FrameTimeText(At(2024, 1, 2, 0, 30, 0)), L"2024 年 01 月 02 日 - AM 12 時 30 分 00 秒");
    EXPECT_EQ(FrameTimeText(At(2024, 1, 2, 12, 0, 59)), L"2024 年 01 月 02 日 - PM 12 時 00 分 59 秒");
    EXPECT_EQ(FrameTimeText(At(2024, 1, 2, 11, 59, 59)), L"2024 年 01 月 02 日 - AM 11 時 59 分 59 秒");
}

TEST(ElapsedText, MillisecondsSecondsAndMinutes)
{
    EXPECT_EQ(ElapsedText(0), L"0 毫秒");
    EXPECT_EQ(ElapsedText(532), L"532 毫秒");
    EXPECT_EQ(ElapsedText(999), L"999 毫秒");
    EXPECT_EQ(ElapsedText(1000), L"1.000 秒");
    EXPECT_EQ(ElapsedText(2350), L"2.350 秒");
    EXPECT_EQ(ElapsedText(59999), L"59.999 秒");
    EXPECT_EQ(ElapsedText(60000), L"1 分");
    EXPECT_EQ(ElapsedText(60500), L"1 分, 0.500 秒");
    EXPECT_EQ(ElapsedText(61000), L"1 分, 1 秒");
    EXPECT_EQ(ElapsedText(61001), L"1 分, 1.001 秒");
    EXPECT_EQ(ElapsedText(125500), L"2 分, 5.500 秒");
    EXPECT_EQ(ElapsedText(4294967295ull), L"71582 分, 47.295 秒");
}

TEST(CompletionMessage, ElapsedTimeOnlyWhenAboveZero)
{
    EXPECT_EQ(CompletionMessageText(2350, 120, 8), L"OK！！ 花費時間共： (2.350 秒)\r\n120 個檔案 , 8 個資料夾");
    EXPECT_EQ(CompletionMessageText(0, 0, 0), L"OK！！ 花費時間共：\r\n0 個檔案 , 0 個資料夾");
    EXPECT_EQ(CompletionMessageText(5, 1234567, 1), L"OK！！ 花費時間共： (5 毫秒)\r\n1234567 個檔案 , 1 個資料夾");
}

TEST(CompletionMessage, SaysWhenTheListingIsIncompleteAndWhy)
{
    RunResult result;
    result.Started = true;
    result.ElapsedMs = 2350;
    result.FileCount = 3;
    EXPECT_EQ(RunReportText(result), L"OK！！ 花費時間共： (2.350 秒)\r\n3 個檔案 , 0 個資料夾");
    EXPECT_FALSE(RunFailed(result));
    result.OutOfMemory = true;
    EXPECT_EQ(RunReportText(result), L"記憶體不足，清單不完整！ 花費時間共： (2.350 秒)\r\n3 個檔案 , 0 個資料夾");
    EXPECT_TRUE(RunFailed(result));
    result.AllWritten = false;
    EXPECT_EQ(RunReportText(result), L"清單檔案寫入失敗，內容不完整！ 花費時間共： (2.350 秒)\r\n3 個檔案 , 0 個資料夾");
}

TEST(Ticks, DifferencesAllowForOneWrapOfTheCounter)
{
    EXPECT_EQ(TicksBetween(1000, 3350), 2350u);
    EXPECT_EQ(TicksBetween(4294967000ull, 200), 496u);
    EXPECT_EQ(TicksBetween(7, 7), 0u);
    EXPECT_LE(TickStamp(), 4294967295ull);
    EXPECT_LT(TicksSince(TickStamp()), 1000u);
}
