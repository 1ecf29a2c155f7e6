#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cmath>

#include "TestWindows.h"
#include "controls/DatePicker.h"

namespace {

class DatePickerTest : public testing::Test {
protected:
    TestForm form;
    HostPanel& host = form.AddPanel(795, 4440, 1830, 330);
    ClsDate date;

    void Make(int style)
    {
        date.Style(style);
        date.PictureBox(&host);
        date.Create();
    }
};

// 2024-03-05 is day 45356 of the OLE calendar.
const double kMarch5th2024 = 45356.0;

double At(int hour, int minute, int second, int milliseconds = 0)
{
    return kMarch5th2024 + (hour * 3600 + minute * 60 + second + milliseconds / 1000.0) / 86400.0;
}

}  // namespace

TEST_F(DatePickerTest, StyleZeroIsALongDate)
{
    Make(ClsDate::StyleDate);
    ASSERT_NE(date.hwnd(), nullptr);
    LONG_PTR style = GetWindowLongPtrW(date.hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & DTS_LONGDATEFORMAT);
    EXPECT_FALSE(style & DTS_UPDOWN);
}

TEST_F(DatePickerTest, StyleOneIsATimeWithUpDownArrows)
{
    Make(ClsDate::StyleTime);
    ASSERT_NE(date.hwnd(), nullptr);
    LONG_PTR style = GetWindowLongPtrW(date.hwnd(), GWL_STYLE);
    EXPECT_EQ(style & DTS_TIMEFORMAT, DTS_TIMEFORMAT);
    EXPECT_TRUE(style & DTS_UPDOWN);
}

TEST_F(DatePickerTest, OtherStylesCreateNoPicker)
{
    Make(2);
    EXPECT_EQ(date.hwnd(), nullptr);
    EXPECT_EQ(date.Value(), 0.0);
    EXPECT_EQ(GetWindow(host.hwnd(), GW_CHILD), nullptr);
}

TEST_F(DatePickerTest, ValueRoundTripsWholeSeconds)
{
    Make(ClsDate::StyleDate);
    ASSERT_TRUE(date.Value(At(13, 14, 15)));
    SYSTEMTIME shown{};
    ASSERT_EQ(DateTime_GetSystemtime(date.hwnd(), &shown), GDT_VALID);
    EXPECT_EQ(shown.wYear, 2024);
    EXPECT_EQ(shown.wMonth, 3);
    EXPECT_EQ(shown.wDay, 5);
    EXPECT_EQ(shown.wDayOfWeek, 2);  // a Tuesday
    EXPECT_EQ(shown.wHour, 13);
    EXPECT_EQ(shown.wSecond, 15);
    EXPECT_EQ(shown.wMilliseconds, 0);
    EXPECT_NEAR(date.Value(), At(13, 14, 15), 1e-9);
}

TEST_F(DatePickerTest, MillisecondsAreDroppedOnARoundTrip)
{
    Make(ClsDate::StyleTime);
    date.Value(At(23, 59, 58, 300));
    EXPECT_NEAR(date.Value(), At(23, 59, 58), 1e-9);

    // Milliseconds the picker itself holds are dropped on reading too.
    SYSTEMTIME time{};
    time.wYear = 2024;
    time.wMonth = 3;
    time.wDay = 5;
    time.wHour = 8;
    time.wMinute = 30;
    time.wSecond = 1;
    time.wMilliseconds = 999;
    DateTime_SetSystemtime(date.hwnd(), GDT_VALID, &time);
    EXPECT_NEAR(date.Value(), At(8, 30, 1), 1e-9);
}

TEST_F(DatePickerTest, PictureBoxTakesTheBorderAwayAndFitsOneLine)
{
    host.BorderStyle(HostPanel::BorderFixedSingle);
    date.PictureBox(&host);
    EXPECT_EQ(host.BorderStyle(), HostPanel::BorderNone);
    EXPECT_FALSE(GetWindowLongPtrW(host.hwnd(), GWL_STYLE) & WS_BORDER);
    int lineHeight = host.TextExtent(L"|").cy;
    ASSERT_GT(lineHeight, 0);
    EXPECT_EQ(ClientHeight(host.hwnd()), lineHeight + 8);
    date.Create();
    RECT frame{};
    GetWindowRect(date.hwnd(), &frame);
    EXPECT_EQ(frame.bottom - frame.top, lineHeight + 8);
    EXPECT_EQ(frame.right - frame.left, ClientWidth(host.hwnd()));
}

TEST_F(DatePickerTest, EnabledIsStoredAndApplied)
{
    Make(ClsDate::StyleDate);
    EXPECT_FALSE(date.Enabled());
    date.Enabled(false);
    EXPECT_FALSE(IsWindowEnabled(date.hwnd()));
    date.Enabled(true);
    EXPECT_TRUE(date.Enabled());
    EXPECT_TRUE(IsWindowEnabled(date.hwnd()));
}

TEST(DatePickerLayer, EnabledBeforeCreateIsOnlyStored)
{
    ClsDate date;
    date.Enabled(true);
    EXPECT_TRUE(date.Enabled());
    EXPECT_EQ(date.Value(), 0.0);
    EXPECT_FALSE(date.Create());  // no host
}
