#include <gtest/gtest.h>

#include "run/CommandLine.h"
#include "run/ListingRun.h"
#include "ui/Texts.h"

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

TEST(CommandLine, BadFlagsAreNamedInTheMessage)
{
    struct Case {
        std::vector<std::wstring> Arguments;
        const wchar_t* Message;
    };
    const Case cases[] = {
        {{L"/list"}, L"/list 後面要接要列出的資料夾"},
        {{L"/list", L"X", L"/bogus"}, L"無法辨識的參數：/bogus"},
        {{L"/list", L"X", L"/format"}, L"/format 後面缺少值"},
        {{L"/list", L"X", L"/format", L"pdf"}, L"/format 的值無效：pdf"},
        {{L"/list", L"X", L"/mode", L"all"}, L"/mode 的值無效：all"},
        {{L"/list", L"X", L"/sort", L"date"}, L"/sort 的值無效：date"},
        {{L"/list", L"X", L"/time", L"any"}, L"/time 的值無效：any"},
        {{L"/list", L"X", L"/depth", L"0"}, L"/depth 的值必須是 1 到 99 的整數：0"},
        {{L"/list", L"X", L"/depth", L"100"}, L"/depth 的值必須是 1 到 99 的整數：100"},
        {{L"/list", L"X", L"/size-min", L"abc"}, L"/size-min 的值不是有效的大小：abc"},
        {{L"/list", L"X", L"/size-max", L"1.5MB"}, L"/size-max 的值不是有效的大小：1.5MB"},
        {{L"/list", L"X", L"/size-max", L"-5"}, L"/size-max 的值不是有效的大小：-5"},
        {{L"/list", L"X", L"/size-min", L"10GB"}, L"/size-min 的值不是有效的大小：10GB"},
        {{L"/list", L"X", L"/from", L"2024-02-30"}, L"/from 的值不是有效的日期：2024-02-30"},
        {{L"/list", L"X", L"/to", L"2024-1-5"}, L"/to 的值不是有效的日期：2024-1-5"},
        {{L"/list", L"X", L"/to", L"yesterday"}, L"/to 的值不是有效的日期：yesterday"},
    };
    for (const Case& c : cases) {
        CommandLine command = ParseCommandLine(c.Arguments);
        EXPECT_EQ(command.Kind, CommandKind::BadArguments) << c.Message;
        std::wstring text = CommandErrorText(command.Error);
        EXPECT_NE(text.find(c.Message), std::wstring::npos) << c.Message << " gave " << text;
    }
}
