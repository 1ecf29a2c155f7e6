#pragma once
// clsMouseWheel: turns the mouse-wheel messages of one window into Wheel events with
// a signed number of notches (positive = wheel turned away from the user). The
// window's own procedure still receives the messages.
#include <windows.h>

#include <functional>

#include "controls/Subclass.h"

class clsMouseWheel : private GXISubclass {
public:
    clsMouseWheel() = default;
    ~clsMouseWheel();
    clsMouseWheel(const clsMouseWheel&) = delete;
    clsMouseWheel& operator=(const clsMouseWheel&) = delete;

    // Only the first call has an effect, whatever window later calls name.
    void Init(HWND hwnd);

    // Event. A handler may destroy this object.
    std::function<void(int Delta)> Wheel;

private:
    void WndProc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lHwnd, UINT uMsg, WPARAM wParam,
                 LPARAM lParam, LONG_PTR& lParamUser) override;

    GXMSubclass engine_;
    HWND window_ = nullptr;
    bool initialised_ = false;
};
