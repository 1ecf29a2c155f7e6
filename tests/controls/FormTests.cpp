#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "TestWindows.h"
#include "controls/Form.h"

namespace {

const UINT kPosted = WM_APP + 20;

RECT WindowRectIn(HWND window)
{
    RECT frame{};
    GetWindowRect(window, &frame);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&frame), 2);
    return frame;
}

}  // namespace

TEST(Form, PanelIsPlacedAndSizedInTwips)
{
    TestForm form;
    HostPanel& panel = form.AddPanel(4140, 60, 810, 240);
    RECT frame = WindowRectIn(panel.hwnd());
    EXPECT_EQ(frame.left, TwipsToPixelsX(4140));
    EXPECT_EQ(frame.top, TwipsToPixelsY(60));
    EXPECT_EQ(frame.right - frame.left, TwipsToPixelsX(810));
    EXPECT_EQ(frame.bottom - frame.top, TwipsToPixelsY(240));
    EXPECT_EQ(panel.Width(), 810);
    EXPECT_EQ(panel.ScaleHeight(), static_cast<int>(std::lround(TwipsToPixelsY(240) * TwipsPerPixelY())));

    panel.SetTop(-120);  // scrolled out above its parent
    EXPECT_EQ(WindowRectIn(panel.hwnd()).top, TwipsToPixelsY(-120));
    EXPECT_EQ(panel.Top(), -120);
}

TEST(Form, PanelRaisesResizeHoweverItIsResized)
{
    TestForm form;
    HostPanel& panel = form.AddPanel(0, 0, 1500, 300);
    int resizes = 0;
    panel.Resize = [&] { ++resizes; };
    panel.Move(0, 0, 3000, 600);
    EXPECT_EQ(resizes, 1);
    panel.SetLeft(150);  // a move alone is no resize
    EXPECT_EQ(resizes, 1);

    MoveWindow(panel.hwnd(), 0, 0, 100, 50, TRUE);
    EXPECT_EQ(resizes, 2);
    EXPECT_EQ(TwipsToPixelsX(panel.Width()), 100);
    EXPECT_EQ(TwipsToPixelsY(panel.Height()), 50);
}

TEST(Form, PanelBorderAndBackground)
{
    TestForm form;
    HostPanel& panel = form.AddPanel(0, 0, 1500, 600);
    panel.BorderStyle(HostPanel::BorderFixedSingle);
    EXPECT_TRUE(GetWindowLongPtrW(panel.hwnd(), GWL_STYLE) & WS_BORDER);
    EXPECT_LT(ClientWidth(panel.hwnd()), TwipsToPixelsX(1500));
    panel.BorderStyle(HostPanel::BorderNone);
    EXPECT_FALSE(GetWindowLongPtrW(panel.hwnd(), GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(ClientWidth(panel.hwnd()), TwipsToPixelsX(1500));

    panel.BackColor(RGB(10, 200, 30));
    panel.Cls();
    EXPECT_EQ(GetPixel(panel.hDC(), 3, 3), RGB(10, 200, 30));
    HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageW(panel.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(panel.hDC()), 0));
    LOGBRUSH info{};
    ASSERT_TRUE(GetObjectW(brush, sizeof(info), &info));
    EXPECT_EQ(info.lbColor, RGB(10, 200, 30));
}

TEST(Form, PanelFontMeasuresText)
{
    TestForm form;
    HostPanel& panel = form.AddPanel(0, 0, 1500, 600);
    ASSERT_TRUE(panel.SetFont(L"Tahoma", 9));
    int small = panel.TextExtent(L"|").cy;
    ASSERT_TRUE(panel.SetFont(L"Tahoma", 18));
    int large = panel.TextExtent(L"|").cy;
    EXPECT_GT(small, 0);
    EXPECT_GT(large, small);
    EXPECT_EQ(panel.TextExtent(L"").cx, 0);
}

TEST(Form, PumpDispatchesWhatIsWaitingAndKeepsAQuitRequest)
{
    ProbeWindow probe;
    PostMessageW(probe.hwnd(), kPosted, 0, 0);
    EXPECT_TRUE(PumpPendingMessages());
    EXPECT_EQ(probe.Seen, std::vector<UINT>{kPosted});

    PostQuitMessage(3);
    EXPECT_FALSE(PumpPendingMessages());
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);
}

TEST(Form, ChangeWindowStyleAddsAndRemovesBits)
{
    TestForm form;
    HostPanel& panel = form.AddPanel(0, 0, 1500, 600);
    ChangeWindowStyle(panel.hwnd(), GWL_EXSTYLE, WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, 0);
    ChangeWindowStyle(panel.hwnd(), GWL_EXSTYLE, WS_EX_STATICEDGE, WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE);
    LONG_PTR exStyle = GetWindowLongPtrW(panel.hwnd(), GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_STATICEDGE);
    EXPECT_FALSE(exStyle & (WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE));
    // The frame was recomputed: a static edge takes a pixel on each side.
    EXPECT_EQ(ClientWidth(panel.hwnd()), TwipsToPixelsX(1500) - 2);
}

TEST(Form, TopLevelWindowHasTheClientSizeAndClosesThroughUnload)
{
    TopLevelWindow window;
    ASSERT_TRUE(window.Create(L"Quorvane Ver 1.06", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 3000, 1500));
    EXPECT_FALSE(IsWindowVisible(window.hwnd()));
    EXPECT_EQ(ClientWidth(window.hwnd()), TwipsToPixelsX(3000));
    EXPECT_EQ(ClientHeight(window.hwnd()), TwipsToPixelsY(1500));
    EXPECT_EQ(window.Caption(), L"Quorvane Ver 1.06");
    HWND handle = window.hwnd();
    int unloads = 0;
    window.Unload = [&] { ++unloads; };
    SendMessageW(handle, WM_CLOSE, 0, 0);  // the close box
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(window.hwnd(), nullptr);
    window.Close();
    EXPECT_EQ(unloads, 1);
}

TEST(Form, ShowModalReturnsWhenClosedAndFreesTheOtherWindows)
{
    TestForm owner;
    HWND main = owner.hwnd();
    TopLevelWindow dialog;
    ASSERT_TRUE(dialog.Create(L"", WS_POPUP | WS_DLGFRAME, 0, 3000, 1500));
    bool ownerDisabledMeanwhile = false;
    dialog.Unload = [&] { ownerDisabledMeanwhile = !IsWindowEnabled(main); };
    PostMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
    dialog.ShowModal();
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(dialog.hwnd(), nullptr);
}
