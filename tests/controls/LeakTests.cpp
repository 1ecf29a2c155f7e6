#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestWindows.h"
#include "controls/Control.h"
#include "controls/DatePicker.h"
#include "controls/ListView.h"
#include "controls/MouseWheel.h"

namespace {

const int kRounds = 2000;

struct Resources {
    DWORD Gdi = 0;
    DWORD User = 0;
    int Windows = 0;
};


BOOL CALLBACK CountChild(HWND, LPARAM lParam)
{
    ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

// A top-level window of this thread with all its descendants.
BOOL CALLBACK CountTopLevel(HWND window, LPARAM lParam)
{
    ++*reinterpret_cast<int*>(lParam);
    EnumChildWindows(window, &CountChild, lParam);
    return TRUE;
}

Resources Measure()
{
    Pump();
    Resources now;
    HANDLE self = GetCurrentProcess();
    now.Gdi = GetGuiResources(self, GR_GDIOBJECTS);
    now.User = GetGuiResources(self, GR_USEROBJECTS);
    EnumThreadWindows(GetCurrentThreadId(), &CountTopLevel, reinterpret_cast<LPARAM>(&now.Windows));
    return now;
}

// One wrapper of the round's kind in a fresh panel, used a little, then released.
// Returns the GDI objects the panel made, to check afterwards that they are gone.
struct Made {
    std::vector<HGDIOBJ> Objects;
    std::vector<HWND> Windows;
};

Made OneRound(TestForm& form, int round)
{
    auto panel = std::make_unique<HostPanel>();
    panel->Create(form.hwnd(), 0, 0, 2400, 1200);
    if (round % 4 == 0) panel->SetFont(L"Tahoma", 9);
    Made made;
    made.Objects.push_back(reinterpret_cast<HGDIOBJ>(
        SendMessageW(panel->hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(panel->hDC()), 0)));
    if (round % 4 == 0) made.Objects.push_back(GetCurrentObject(panel->hDC(), OBJ_FONT));
    made.Windows.push_back(panel->hwnd());

    int kind = round % 15 + 1;
    if (kind <= 12) {
        clsControl control;
        control.TargetPictureBox(panel.get());
        control.BorderStyle(round % 5);
        control.Create(kind);
        made.Windows.push_back(control.hwnd());
        control.Text(L"文字 " + std::to_wstring(round));
        control.AddItem(L"item", -1, round);
        SendMessageW(panel->hwnd(), WM_COMMAND, 0, reinterpret_cast<LPARAM>(control.hwnd()));
        panel->SetWidth(2000);
    } else if (kind == 13) {
        clsLictView list;
        list.Create(panel->hwnd());
        made.Windows.push_back(list.hwnd());
        list.ColumnAdd(0, 100, L"a");
        list.ItemAdd(-1, L"row");
        list.SelectedItem(0);
    } else if (kind == 14) {
        ClsDate date;
        date.Style(round % 2);
        date.PictureBox(panel.get());
        date.Create();
        made.Windows.push_back(date.hwnd());
        date.Value(45356.5);
    } else {
        clsMouseWheel wheel;
        wheel.Init(panel->hwnd());
        SendMessageW(panel->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    }
    return made;
}

}  // namespace

TEST(Leaks, ThousandsOfWrappersLeaveNothingBehind)
{
    TestForm form;
    for (int round = 0; round < 15; ++round) OneRound(form, round);  // first-use set-up
    Resources before = Measure();
    std::vector<HGDIOBJ> objects;
    std::vector<HWND> windows;
    for (int round = 0; round < kRounds; ++round) {
        Made made = OneRound(form, round);
        objects.insert(objects.end(), made.Objects.begin(), made.Objects.end());
        windows.insert(windows.end(), made.Windows.begin(), made.Windows.end());
        if (round % 50 == 0) PumpPendingMessages();
    }
    Resources after = Measure();

    std::cout << "GDI objects " << before.Gdi << " -> " << after.Gdi << ", USER objects " << before.User << " -> "
              << after.User << ", windows " << before.Windows << " -> " << after.Windows << "\n";
    EXPECT_EQ(after.Gdi, before.Gdi);
    EXPECT_EQ(after.User, before.User);
    EXPECT_EQ(after.Windows, before.Windows);
    // Wine answers 0 for both counters, so check each handle made as well.
    ASSERT_GE(objects.size(), static_cast<size_t>(kRounds));
    ASSERT_GE(windows.size(), static_cast<size_t>(kRounds));
    int liveObjects = 0;
    for (HGDIOBJ object : objects) liveObjects += GetObjectType(object) != 0;
    int liveWindows = 0;
    for (HWND window : windows) liveWindows += window && IsWindow(window);
    EXPECT_EQ(liveObjects, 0);
    EXPECT_EQ(liveWindows, 0);
}

TEST(Leaks, OneHostReusedByThousandsOfWrappersEndsUnhooked)
{
    TestForm form;
    HostPanel& host = form.AddPanel(0, 0, 2400, 330);
    WNDPROC hostProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(host.hwnd(), GWLP_WNDPROC));
    int clicks = 0;
    for (int round = 0; round < kRounds; ++round) {
        clsControl control;
        control.TargetPictureBox(&host);
        control.Create(clsControl::CommandButton);
        control.Click = [&] { ++clicks; };
        SendMessageW(control.hwnd(), BM_CLICK, 0, 0);
    }
    Pump();
    EXPECT_EQ(clicks, kRounds);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(host.hwnd(), GWLP_WNDPROC)), hostProc);
    EXPECT_EQ(GetPropW(host.hwnd(), L"Quorvane.SubclassChain"), nullptr);
    EXPECT_EQ(GetWindow(host.hwnd(), GW_CHILD), nullptr);
}
