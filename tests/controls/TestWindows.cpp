#include "TestWindows.h"

#include <memory>

namespace {

const wchar_t kProbeClass[] = L"QuorvaneTestProbe";

void SendMouse(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

void SendKey(WORD key, wchar_t unicode, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = unicode;
    input.ki.dwFlags = (unicode ? KEYEVENTF_UNICODE : 0) | (up ? KEYEVENTF_KEYUP : 0);
    SendInput(1, &input, sizeof(input));
}

}  // namespace

ProbeWindow::ProbeWindow()
{
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    info.lpfnWndProc = &Proc;
    info.hInstance = GetModuleHandleW(nullptr);
    info.lpszClassName = kProbeClass;
    RegisterClassExW(&info);
    window_ = CreateWindowExW(0, kProbeClass, L"probe", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
}

ProbeWindow::~ProbeWindow()
{
    if (IsWindow(window_)) DestroyWindow(window_);
}

WNDPROC ProbeWindow::OriginalProc() const
{
    return &Proc;
}

WNDPROC ProbeWindow::CurrentProc() const
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window_, GWLP_WNDPROC));
}

LRESULT CALLBACK ProbeWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* probe = reinterpret_cast<ProbeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (probe && ((message >= WM_APP && message < 0xC000) || message == WM_MOUSEWHEEL)) {
        probe->Seen.push_back(message);
        if (probe->OnMessage) probe->OnMessage(message);
        return kProbeResult;
    }
    if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return DefWindowProcW(window, message, wParam, lParam);
}

TestForm::~TestForm()
{
    panels_.clear();
    Pump();
}

HWND TestForm::hwnd() const
{
    static TopLevelWindow* form = [] {
        auto* window = new TopLevelWindow;  // lives as long as the test program
        window->Create(L"Quorvane test", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 7350, 6450);
        window->Show();
        SetForegroundWindow(window->hwnd());
        Pump();
        return window;
    }();
    return form->hwnd();
}

HostPanel& TestForm::AddPanel(int left, int top, int width, int height)
{
    panels_.push_back(std::make_unique<HostPanel>());
    panels_.back()->Create(hwnd(), left, top, width, height);
    return *panels_.back();
}

void Pump()
{
    for (int i = 0; i < 3; ++i) {
        PumpPendingMessages();
        Sleep(10);
    }
    PumpPendingMessages();
}

void ClickAt(HWND window, int x, int y, bool doubleClick)
{
    POINT point{x, y};
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
    Pump();
    for (int i = 0; i < (doubleClick ? 2 : 1); ++i) {
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        SendMouse(MOUSEEVENTF_LEFTUP);
    }
    Pump();
}

void PressKey(WORD key)
{
    SendKey(key, 0, false);
    SendKey(key, 0, true);
    Pump();
}

void TypeText(const wchar_t* text)
{
    for (; *text; ++text) {
        SendKey(0, *text, false);
        SendKey(0, *text, true);
    }
    Pump();
}

int ClientWidth(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return client.right;
}

int ClientHeight(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return client.bottom;
}
