#pragma once
// The small form layer the windows are built from: the screen's twips per pixel, host
// panels (one native control each, laid out in twips), top-level windows, and letting
// pending messages run during long work. Twips are 1/1440 inch.
#include <windows.h>

#include <functional>
#include <string>

#include "controls/DialogKeys.h"
#include "controls/GuiHandles.h"

// The window class of every top-level window of the program.
extern const wchar_t kFormClass[];

// 1440 / the screen's logical dots per inch (15 at 96 dpi).
double TwipsPerPixelX();
double TwipsPerPixelY();
int TwipsToPixelsX(int twips);  // rounded to the nearest pixel
int TwipsToPixelsY(int twips);

// What every message loop of the program does with a message: a key for one of its
// windows goes to the window's dialog keys first (DialogKeys.h), then it is translated
// and dispatched.
void DispatchLoopMessage(MSG& message);
// Dispatches the messages already waiting for this thread, then returns. False when a
// quit request was among them; it is posted again so the main loop still sees it.
bool PumpPendingMessages();
// The program's main loop; returns the exit code of the quit request.
int RunMessageLoop();

// A child window that hosts one native control (or is drawn into), with its position
// and size kept in twips relative to its parent's client area.
class HostPanel {
public:
    enum Border { BorderNone = 0, BorderFixedSingle = 1 };

    HostPanel() = default;
    ~HostPanel();
    HostPanel(const HostPanel&) = delete;
    HostPanel& operator=(const HostPanel&) = delete;

    // parent: a top-level window or another panel.
    bool Create(HWND parent, int left, int top, int width, int height);
    HWND hwnd() const { return window_.Get(); }
    // The panel's own device context (the class keeps one per window); do not release it.
    HDC hDC() const;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Move(int left, int top, int width, int height);
    void SetLeft(int left) { Move(left, top_, width_, height_); }
    void SetTop(int top) { Move(left_, top, width_, height_); }
    void SetWidth(int width) { Move(left_, top_, width, height_); }
    void SetHeight(int height) { Move(left_, top_, width_, height); }
    // Inside the border, in twips.
    int ScaleWidth() const;
    int ScaleHeight() const;

    int BorderStyle() const { return border_; }
    void BorderStyle(int style);
    COLORREF BackColor() const { return backColor_; }
    void BackColor(COLORREF color);
    bool Visible() const;
    void Visible(bool visible);
    bool Enabled() const;
    void Enabled(bool enabled);

    // The font text is drawn and measured with; the panel keeps the font.
    bool SetFont(const std::wstring& face, double points);
    // Size of a text in pixels in the panel's font.
    SIZE TextExtent(const std::wstring& text) const;
    // Fills the client area with the background colour.
    void Cls();

    // Raised after the panel's size changed, however it was changed.
    std::function<void()> Resize;
    // Raised for WM_PAINT, after the background is drawn.
    std::function<void(HDC)> Paint;

private:
    static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnSize();

    UniqueWindow window_;
    UniqueGdiObject brush_;
    UniqueGdiObject font_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int border_ = BorderNone;
    COLORREF backColor_ = GetSysColor(COLOR_BTNFACE);
};

// A top-level window whose client area is laid out in twips.
class TopLevelWindow {
public:
    TopLevelWindow() = default;
    ~TopLevelWindow();
    TopLevelWindow(const TopLevelWindow&) = delete;
    TopLevelWindow& operator=(const TopLevelWindow&) = delete;

    // The window opens hidden and centred on the screen.
    bool Create(const std::wstring& caption, DWORD style, DWORD exStyle, int clientWidth, int clientHeight);
    HWND hwnd() const { return window_.Get(); }

    std::wstring Caption() const;
    void Caption(const std::wstring& text);
    // Outer width in twips, frame included.
    void SetWidth(int width);
    int ScaleWidth() const;
    int ScaleHeight() const;
    COLORREF BackColor() const { return backColor_; }
    void BackColor(COLORREF color);

    // Tab order and the keys of a dialog; the window's focus goes on to its controls.
    DialogKeys& Keys() { return keys_; }

    void Show();
    // Shows the window and returns once it is closed; the thread's other windows are
    // disabled meanwhile.
    void ShowModal();
    // Closes the window as its close box does: Unload is raised, then it is destroyed.
    void Close();

    // Raised once when the window is closed, before it is destroyed.
    std::function<void()> Unload;
    // Set to end the message loop when this window closes.
    bool QuitOnClose = false;

private:
    static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    UniqueWindow window_;
    UniqueGdiObject brush_;
    COLORREF backColor_ = GetSysColor(COLOR_BTNFACE);
    bool closing_ = false;
    DialogKeys keys_;
};

// Adds and removes bits of a window's style value at index (GWL_STYLE or GWL_EXSTYLE)
// and has the frame redrawn.
void ChangeWindowStyle(HWND window, int index, LONG_PTR add, LONG_PTR remove);
