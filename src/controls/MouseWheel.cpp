#include "controls/MouseWheel.h"

#include <cmath>
#include <cstdint>

clsMouseWheel::~clsMouseWheel()
{
    if (!initialised_) return;
    engine_.DeleteMessage(window_, WM_MOUSEWHEEL, SubclassBefore);
    engine_.UnSubclass(window_);
}

void clsMouseWheel::Init(HWND hwnd)
{
    if (initialised_) return;
    window_ = hwnd;
    engine_.Subclass(hwnd, this, 0, true);
    engine_.AddMessage(hwnd, WM_MOUSEWHEEL, SubclassBefore);
    initialised_ = true;
}

void clsMouseWheel::WndProc(bool, bool&, LRESULT&, HWND, UINT, WPARAM wParam, LPARAM, LONG_PTR&)
{
    // The distance sits in the high half, the key state in the low half; dividing the
    // whole word by one notch (120 << 16) lets held keys tip an exact half notch upwards.
    auto word = static_cast<std::int32_t>(static_cast<std::uint32_t>(wParam & 0xFFFFFFFFu));
    int delta = static_cast<int>(std::nearbyint(word / 7864320.0));
    if (auto handler = Wheel) handler(delta);
}
