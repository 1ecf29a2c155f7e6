#include "controls/Form.h"

#include <cmath>
#include <vector>

namespace {

// The inner size of a window in twips; 0 by 0 without a window.
SIZE ClientTwips(HWND window)
{
    RECT client{};
    if (window) GetClientRect(window, &client);
    return {static_cast<LONG>(std::lround(client.right * TwipsPerPixelX())),
            static_cast<LONG>(std::lround(client.bottom * TwipsPerPixelY()))};
}

const wchar_t kPanelClass[] = L"QuorvaneHostPanel";
// Ties a top-level window to its dialog keys, for the message loops.
const wchar_t kKeysProperty[] = L"Quorvane.DialogKeys";

int ScreenDpi(int axis)
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, axis) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

bool RegisterOnce(const wchar_t* name, WNDPROC proc, UINT style)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    if (GetClassInfoExW(instance, name, &info)) return true;
    info.style = style;
    info.lpfnWndProc = proc;
    info.hInstance = instance;
    info.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    info.lpszClassName = name;
    return RegisterClassExW(&info) != 0;
}

// Attaches the object passed to CreateWindowExW to its window at WM_NCCREATE.
template <typename T>
T* AttachedObject(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void FillBackground(HWND window, HDC dc, HBRUSH brush)
{
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, brush);
}

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM lParam)
{
    if (IsWindowEnabled(window) && IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    return TRUE;
}

// Background and the colour of labels and check boxes, answered alike by panels and
// forms; true when the message was one of them.
bool AnswerBackground(HWND window, UINT message, WPARAM wParam, HBRUSH brush, COLORREF color, LRESULT& result)
{
    switch (message) {
    case WM_ERASEBKGND:
        FillBackground(window, reinterpret_cast<HDC>(wParam), brush);
        result = 1;
        return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // Child controls take the window's colour instead of the system's.
        SetBkColor(reinterpret_cast<HDC>(wParam), color);
        result = reinterpret_cast<LRESULT>(brush);
        return true;
    default:
        return false;
    }
}

}  // namespace

const wchar_t kFormClass[] = L"QuorvaneForm";

double TwipsPerPixelX()
{
    return 1440.0 / ScreenDpi(LOGPIXELSX);
}

double TwipsPerPixelY()
{
    return 1440.0 / ScreenDpi(LOGPIXELSY);
}

int TwipsToPixelsX(int twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixelX()));
}

int TwipsToPixelsY(int twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixelY()));
}

void DispatchLoopMessage(MSG& message)
{
    bool key = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
    // What may move the focus or change the mode of a window.
    bool input = key || message.message == WM_LBUTTONDOWN || message.message == WM_LBUTTONUP;
    auto keysOf = [&message] {
        return static_cast<DialogKeys*>(GetPropW(GetAncestor(message.hwnd, GA_ROOT), kKeysProperty));
    };
    DialogKeys* keys = input && message.hwnd ? keysOf() : nullptr;
    if (!keys || !key || !keys->Handle(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The window may be gone now, with its keys.
    if (keys && IsWindow(message.hwnd) && keysOf() == keys) keys->ShowDefault();
}

bool PumpPendingMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        DispatchLoopMessage(message);
    }
    return true;
}

int RunMessageLoop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchLoopMessage(message);
    return static_cast<int>(message.wParam);
}

void ChangeWindowStyle(HWND window, int index, LONG_PTR add, LONG_PTR remove)
{
    LONG_PTR style = GetWindowLongPtrW(window, index);
    SetWindowLongPtrW(window, index, (style & ~remove) | add);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
}

// ---- HostPanel ----

HostPanel::~HostPanel()
{
    // The window must not call back into a half-destroyed object.
    if (window_) SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
}

bool HostPanel::Create(HWND parent, int left, int top, int width, int height)
{
    // CS_OWNDC: text drawn by the owner keeps its font and colours between calls.
    if (window_ || !RegisterOnce(kPanelClass, &PanelProc, CS_OWNDC)) return false;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    brush_.Reset(CreateSolidBrush(backColor_));
    window_.Reset(CreateWindowExW(0, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                  TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
                                  TwipsToPixelsY(height), parent, nullptr, GetModuleHandleW(nullptr), this));
    if (!window_) return false;
    HDC dc = hDC();
    SelectObject(dc, StockGuiFont());
    SetBkMode(dc, TRANSPARENT);
    return true;
}

HDC HostPanel::hDC() const
{
    // With CS_OWNDC this is the same context every time and releasing it does nothing.
    return window_ ? GetDC(window_.Get()) : nullptr;
}

void HostPanel::Move(int left, int top, int width, int height)
{
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (window_)
        MoveWindow(window_.Get(), TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
                   TwipsToPixelsY(height), TRUE);
}

int HostPanel::ScaleWidth() const { return ClientTwips(window_.Get()).cx; }

int HostPanel::ScaleHeight() const { return ClientTwips(window_.Get()).cy; }

void HostPanel::BorderStyle(int style)
{
    border_ = style == BorderFixedSingle ? BorderFixedSingle : BorderNone;
    if (window_) ChangeWindowStyle(window_.Get(), GWL_STYLE, border_ ? WS_BORDER : 0, border_ ? 0 : WS_BORDER);
}

void HostPanel::BackColor(COLORREF color)
{
    backColor_ = color;
    brush_.Reset(CreateSolidBrush(color));
    if (window_) InvalidateRect(window_.Get(), nullptr, TRUE);
}

bool HostPanel::Visible() const
{
    return window_ && (GetWindowLongPtrW(window_.Get(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void HostPanel::Visible(bool visible)
{
    if (window_) ShowWindow(window_.Get(), visible ? SW_SHOWNA : SW_HIDE);
}

bool HostPanel::Enabled() const
{
    return window_ && IsWindowEnabled(window_.Get());
}

void HostPanel::Enabled(bool enabled)
{
    if (window_) EnableWindow(window_.Get(), enabled);
}

bool HostPanel::SetFont(const std::wstring& face, double points)
{
    LOGFONTW font{};
    HDC dc = hDC();
    int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    font.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    UniqueGdiObject created(CreateFontIndirectW(&font));
    if (!created) return false;
    if (dc) SelectObject(dc, created.Get());
    font_ = std::move(created);  // the previous font is deselected above before it is deleted
    return true;
}

SIZE HostPanel::TextExtent(const std::wstring& text) const
{
    SIZE size{};
    if (HDC dc = hDC()) GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void HostPanel::Cls()
{
    if (window_) FillBackground(window_.Get(), hDC(), static_cast<HBRUSH>(brush_.Get()));
}

LRESULT CALLBACK HostPanel::PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HostPanel* panel = AttachedObject<HostPanel>(window, message, lParam);
    if (!panel || panel->window_.Get() != window) return DefWindowProcW(window, message, wParam, lParam);
    return panel->OnMessage(message, wParam, lParam);
}

LRESULT HostPanel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = window_.Get();
    LRESULT result = 0;
    if (AnswerBackground(window, message, wParam, static_cast<HBRUSH>(brush_.Get()), backColor_, result))
        return result;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        if (auto handler = Paint) handler(hDC());
        return 0;
    }
    case WM_SIZE:
        OnSize();
        return 0;
    case WM_NCDESTROY:
        // Destroyed with its parent: forget the handle.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_.Release();
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void HostPanel::OnSize()
{
    // Resized from outside Move: keep the twips size in step with the pixels.
    RECT frame{};
    GetWindowRect(window_.Get(), &frame);
    if (TwipsToPixelsX(width_) != frame.right - frame.left)
        width_ = static_cast<int>(std::lround((frame.right - frame.left) * TwipsPerPixelX()));
    if (TwipsToPixelsY(height_) != frame.bottom - frame.top)
        height_ = static_cast<int>(std::lround((frame.bottom - frame.top) * TwipsPerPixelY()));
    if (auto handler = Resize) handler();
}

// ---- TopLevelWindow ----

TopLevelWindow::~TopLevelWindow()
{
    if (!window_) return;
    SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
    RemovePropW(window_.Get(), kKeysProperty);
}

bool TopLevelWindow::Create(const std::wstring& caption, DWORD style, DWORD exStyle, int clientWidth, int clientHeight)
{
    if (window_ || !RegisterOnce(kFormClass, &FormProc, 0)) return false;
    brush_.Reset(CreateSolidBrush(backColor_));
    RECT frame{0, 0, TwipsToPixelsX(clientWidth), TwipsToPixelsY(clientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    window_.Reset(CreateWindowExW(exStyle, kFormClass, caption.c_str(), style & ~WS_VISIBLE, left, top, width, height,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), this));
    closing_ = false;
    if (window_) SetPropW(window_.Get(), kKeysProperty, &keys_);
    return static_cast<bool>(window_);
}

std::wstring TopLevelWindow::Caption() const
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window_.Get())) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window_.Get(), text.data(), static_cast<int>(text.size()))));
    return text;
}

void TopLevelWindow::Caption(const std::wstring& text)
{
    if (window_) SetWindowTextW(window_.Get(), text.c_str());
}

void TopLevelWindow::SetWidth(int width)
{
    RECT frame{};
    if (!window_ || !GetWindowRect(window_.Get(), &frame)) return;
    SetWindowPos(window_.Get(), nullptr, 0, 0, TwipsToPixelsX(width), frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int TopLevelWindow::ScaleWidth() const { return ClientTwips(window_.Get()).cx; }

int TopLevelWindow::ScaleHeight() const { return ClientTwips(window_.Get()).cy; }

void TopLevelWindow::BackColor(COLORREF color)
{
    backColor_ = color;
    brush_.Reset(CreateSolidBrush(color));
    if (window_) InvalidateRect(window_.Get(), nullptr, TRUE);
}

void TopLevelWindow::Show()
{
    if (window_) ShowWindow(window_.Get(), SW_SHOW);
}

void TopLevelWindow::ShowModal()
{
    if (!window_) return;
    HWND self = window_.Get();
    HWND previous = GetActiveWindow();
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), &CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    std::erase(disabled, self);
    for (HWND other : disabled) EnableWindow(other, FALSE);
    ShowWindow(self, SW_SHOW);
    SetActiveWindow(self);

    MSG message;
    bool quit = false;
    // The owner may release this object while it closes, so only locals from here on.
    while (IsWindow(self)) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            quit = true;
            break;
        }
        DispatchLoopMessage(message);
    }
    for (HWND other : disabled) {
        if (IsWindow(other)) EnableWindow(other, TRUE);
    }
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
    if (quit) PostQuitMessage(static_cast<int>(message.wParam));
}

void TopLevelWindow::Close()
{
    if (window_) SendMessageW(window_.Get(), WM_CLOSE, 0, 0);
}

LRESULT CALLBACK TopLevelWindow::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TopLevelWindow* form = AttachedObject<TopLevelWindow>(window, message, lParam);
    if (!form || form->window_.Get() != window) return DefWindowProcW(window, message, wParam, lParam);
    return form->OnMessage(message, wParam, lParam);
}

LRESULT TopLevelWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = window_.Get();
    LRESULT result = 0;
    if (AnswerBackground(window, message, wParam, static_cast<HBRUSH>(brush_.Get()), backColor_, result))
        return result;
    switch (message) {
    case WM_CLOSE: {
        if (closing_) return 0;
        closing_ = true;
        bool quit = QuitOnClose;
        if (auto handler = Unload) handler();
        // Unload may have released this object's owner; only locals from here on.
        DestroyWindow(window);
        if (quit) PostQuitMessage(0);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) keys_.RememberFocus(window);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_SETFOCUS:
        // As a dialog: the focus goes on to a control.
        keys_.FocusControl(window);
        return 0;
    case WM_NCDESTROY:
        // Destroyed by the system or by Close: forget the handle without destroying again.
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        RemovePropW(window, kKeysProperty);
        window_.Release();
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
