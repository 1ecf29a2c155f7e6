#include <gtest/gtest.h>

#include "formats/TxtFormat.h"
#include "support/TestTimes.h"

TEST(FrameTimeText, TwelveHourClockWithTheRegionalDesignator)
{
    EXPECT_EQ(FrameTimeText(At(2024, 5, 7, 15, 4, 5)), L"2024 年 05 月 07 日 - PM 03 時 04 分 05 秒");
    EXPECT_EQ(FrameTimeText(At(2024, 1, 2, 0, 30, 0)), L"2024 年 01 月 02 日 - AM 12 時 30 分 00 秒");
    EXPECT_EQ(FrameTimeText(At(2024, 1, 2, 12, 0, 59)), L"2024 年 01 月 02 日 - PM 12 時 00 分 59 秒");
    EXPECT_EQ(FrameTimeText(At(2024, 1, 2, 11, 59, 59)), L"2024 年 01 月 02 日 - AM 11 時 59 分 59 秒");
}
