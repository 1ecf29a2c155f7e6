#pragma once
// Real windows for the control tests: a shown top-level form, a probe window that
// records what reaches its own procedure, and real input.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "controls/Form.h"

// A plain top-level window whose procedure records every WM_APP-range message and every
// WM_MOUSEWHEEL it is given and answers kProbeResult; OnMessage, when set, runs inside that procedure.
class ProbeWindow {
public:
    static constexpr LRESULT kProbeResult = 7;

    ProbeWindow();
    ~ProbeWindow();
    ProbeWindow(const ProbeWindow&) = delete;
    ProbeWindow& operator=(const ProbeWindow&) = delete;

    HWND hwnd() const { return window_; }
    WNDPROC OriginalProc() const;
    WNDPROC CurrentProc() const;

    std::vector<UINT> Seen;
    std::function<void(UINT)> OnMessage;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
};

// The panels one test places on a shown form. Every test shares the one form, since
// Wine takes its time to show and hide a top-level window without a window manager.
class TestForm {
public:
    TestForm() = default;
    ~TestForm();
    TestForm(const TestForm&) = delete;
    TestForm& operator=(const TestForm&) = delete;

    HWND hwnd() const;
    // A panel at the given twips; destroyed with this object.
    HostPanel& AddPanel(int left, int top, int width, int height);

private:
    std::vector<std::unique_ptr<HostPanel>> panels_;
};

void Pump();
// Real mouse input at a point of a window's client area (pixels).
void ClickAt(HWND window, int x, int y, bool doubleClick = false);
// Real key presses to the focused window.
void PressKey(WORD key);
void TypeText(const wchar_t* text);
int ClientWidth(HWND window);
int ClientHeight(HWND window);
