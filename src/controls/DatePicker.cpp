#include "controls/DatePicker.h"

#include <commctrl.h>

#include <cmath>

#include "controls/Control.h"

namespace {

// 0 = Sunday, for a date in the Gregorian calendar.
WORD DayOfWeek(int year, int month, int day)
{
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) year -= 1;
    return static_cast<WORD>((year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7);
}

}  // namespace

ClsDate::ClsDate()
{
    InitControlClasses(ICC_DATE_CLASSES);
}

void ClsDate::Enabled(bool value)
{
    enabled_ = value;
    if (!picker_) return;
    EnableWindow(picker_.Get(), value);
    InvalidateRect(picker_.Get(), nullptr, TRUE);
    UpdateWindow(picker_.Get());
}

void ClsDate::PictureBox(HostPanel* ctlNewPictureBox)
{
    host_ = ctlNewPictureBox;
    if (!host_) return;
    host_->BorderStyle(HostPanel::BorderNone);
    int textHeight = host_->TextExtent(L"|").cy;
    host_->SetHeight(static_cast<int>(std::lround((textHeight + 8) * TwipsPerPixelY())));
}

bool ClsDate::Create()
{
    if (picker_ || !host_) return false;
    if (style_ == StyleDate || style_ == StyleTime) {
        DWORD style = WS_CHILD | WS_VISIBLE | (style_ == StyleDate ? DTS_LONGDATEFORMAT : DTS_TIMEFORMAT);
        // Nearest pixel, ties to even.
        int width = static_cast<int>(std::nearbyint(host_->Width() / TwipsPerPixelX()));
        int height = static_cast<int>(std::nearbyint(host_->Height() / TwipsPerPixelY()));
        picker_.Reset(CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", style, 0, 0, width, height, host_->hwnd(), nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
    }
    if (!font_) font_ = StockGuiFont();
    SendMessageW(picker_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    return static_cast<bool>(picker_);
}

OleDate ClsDate::Value() const
{
    SYSTEMTIME time{};
    if (!picker_ || DateTime_GetSystemtime(picker_.Get(), &time) != GDT_VALID) return 0;
    return OleDateFromSystemTime(time).value_or(0);
}

bool ClsDate::Value(OleDate dtmNewValue)
{
    DateParts parts = PartsFromOleDate(dtmNewValue);
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(parts.Year);
    time.wMonth = static_cast<WORD>(parts.Month);
    time.wDay = static_cast<WORD>(parts.Day);
    time.wHour = static_cast<WORD>(parts.Hour);
    time.wMinute = static_cast<WORD>(parts.Minute);
    time.wSecond = static_cast<WORD>(parts.Second);
    time.wDayOfWeek = DayOfWeek(parts.Year, parts.Month, parts.Day);
    return SendMessageW(picker_.Get(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time)) != 0;
}
