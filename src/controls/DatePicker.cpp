#include "controls/DatePicker.h"

#include <commctrl.h>

#include <cmath>

#include "controls/Control.h"


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
    SYSTEMTIME time = SystemTimeFromOleDate(dtmNewValue);
    return SendMessageW(picker_.Get(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time)) != 0;
}
