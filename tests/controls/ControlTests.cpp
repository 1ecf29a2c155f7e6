#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "controls/Control.h"
#include "controls/DatePicker.h"
#include "controls/Form.h"
#include "controls/ListView.h"
#include "controls/MouseWheel.h"
#include "controls/Subclass.h"

namespace {

// Records every WM_APP-range message and WM_MOUSEWHEEL it gets and answers kProbeResult.
struct ProbeWindow {
    static constexpr LRESULT kProbeResult = 7;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* probe = reinterpret_cast<ProbeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!probe || ((message < WM_APP || message >= 0xC000) && message != WM_MOUSEWHEEL))
            return DefWindowProcW(window, message, wParam, lParam);
        probe->Seen.push_back(message);
        return kProbeResult;
    }
    ProbeWindow()
    {
        WNDCLASSW info{};
        info.lpfnWndProc = &Proc;
        info.lpszClassName = L"QuorvaneTestProbe";
        RegisterClassW(&info);
        Window = CreateWindowExW(0, info.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 99, 99, nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~ProbeWindow() { DestroyWindow(Window); }
    HWND hwnd() const { return Window; }
    LRESULT Send(UINT message, WPARAM wParam = 0) const { return SendMessageW(Window, message, wParam, 0); }

    HWND Window;
    std::vector<UINT> Seen;
};

WNDPROC ProcOf(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
}

SIZE WindowSize(HWND window)
{
    RECT frame{};
    GetWindowRect(window, &frame);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// Panels, placed in twips on the form all tests share (shown, and never destroyed: Wine
// takes seconds to let go of a shown top-level window); they go with this object.
class TestForm {
public:
    HostPanel& AddPanel(int left, int top, int width, int height)
    {
        static TopLevelWindow* form = [] {
            auto* window = new TopLevelWindow;  // lives as long as the test program
            window->Create(L"Quorvane test", WS_OVERLAPPED | WS_CAPTION, 0, 7350, 6450);
            window->Show();
            return window;
        }();
        panels_.push_back(std::make_unique<HostPanel>());
        panels_.back()->Create(form->hwnd(), left, top, width, height);
        return *panels_.back();
    }

private:
    std::vector<std::unique_ptr<HostPanel>> panels_;
};

const UINT kPing = WM_APP + 1;

// Logs its name and phase ("nb ", "na ") and the message (counted from WM_APP) of every
// call; Act, when set, answers.
struct Recorder : GXISubclass {
    explicit Recorder(std::string* log = nullptr, std::string name = "") : Log(log), Name(std::move(name)) {}
    void WndProc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND, UINT uMsg, WPARAM, LPARAM, LONG_PTR&) override
    {
        Messages.push_back(uMsg - WM_APP);
        if (Log) *Log += Name + (bBefore ? "b " : "a ");
        if (Act) Act(bBefore, bHandled, lReturn);
    }
    std::string* Log;
    std::string Name;
    std::vector<UINT> Messages;
    std::function<void(bool, bool&, LRESULT&)> Act;
};

std::unique_ptr<clsControl> Make(TestForm& form, int kind, int border = 0)
{
    auto control = std::make_unique<clsControl>();
    control->TargetPictureBox(&form.AddPanel(150, 150, 2400, 330));
    control->BorderStyle(border);
    control->Create(kind);
    return control;
}

LONG_PTR Style(HWND window, int index = GWL_STYLE)
{
    return GetWindowLongPtrW(window, index);
}

// The seven control kinds the windows use, the list view, the date picker and the mouse wheel.
constexpr int kKinds = 10;

// One wrapper of the round's kind in a fresh panel, used a little and released; the
// panel must be left as it was. The handles made are kept, to check that they are gone.
void OneRound(int round, std::vector<HGDIOBJ>& objects, std::vector<HWND>& windows)
{
    TestForm form;
    HostPanel& host = form.AddPanel(0, 0, 2400, 1200);
    if (round % 2 && host.SetFont(L"Tahoma", 9)) objects.push_back(GetCurrentObject(host.hDC(), OBJ_FONT));
    auto dc = reinterpret_cast<WPARAM>(host.hDC());
    objects.push_back(reinterpret_cast<HGDIOBJ>(SendMessageW(host.hwnd(), WM_CTLCOLORSTATIC, dc, 0)));
    windows.push_back(host.hwnd());
    auto keep = [&](HWND made) {
        windows.push_back(made);
        auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(made, WM_GETFONT, 0, 0));
        if (font != GetStockObject(DEFAULT_GUI_FONT)) objects.push_back(font);
    };
    WNDPROC hostProc = ProcOf(host.hwnd());
    int kind = round % kKinds + 1;
    if (kind <= clsControl::ComboDropDownList) {
        clsControl control;
        control.TargetPictureBox(&host);
        control.BorderStyle(round % 5);
        control.Create(kind);
        SendMessageW(host.hwnd(), WM_COMMAND, 0, reinterpret_cast<LPARAM>(control.hwnd()));
        keep(control.hwnd());
    } else if (kind == 8) {
        clsLictView list;
        list.Create(host.hwnd());
        list.ColumnAdd(0, 100, L"a");
        list.ItemAdd(-1, L"row");
        keep(list.hwnd());
    } else if (kind == 9) {
        ClsDate date;
        date.Style(round % 2);
        date.PictureBox(&host);
        date.Create();
        keep(date.hwnd());
    } else {
        clsMouseWheel wheel;
        wheel.Init(host.hwnd());
        SendMessageW(host.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    }
    SendMessageW(host.hwnd(), WM_NULL, 0, 0);  // the next message completes an unhooking
    EXPECT_EQ(ProcOf(host.hwnd()), hostProc) << kind;
    EXPECT_EQ(GetWindow(host.hwnd(), GW_CHILD), nullptr) << kind;
}

}  // namespace

TEST(Subclass, TheCallbackAnswersReplacesOrObservesTheWindowsResult)
{
    ProbeWindow probe;
    GXMSubclass engine;
    std::string log;
    Recorder recorder(&log);
    recorder.Act = [](bool before, bool& handled, LRESULT& result) {
        handled = before;
        result = before ? 42 : result + 90;
    };
    EXPECT_FALSE(engine.Subclass(GetDesktopWindow(), &recorder));  // another process's
    ASSERT_TRUE(engine.Subclass(probe.hwnd(), &recorder));
    EXPECT_FALSE(engine.Subclass(probe.hwnd(), &recorder));
    engine.AddMessage(probe.hwnd(), kPing, SubclassBefore);
    engine.AddMessage(probe.hwnd(), kPing + 1, SubclassAfter);
    EXPECT_EQ(probe.Send(kPing), 42);
    EXPECT_EQ(probe.Send(kPing + 1), ProbeWindow::kProbeResult + 90);
    EXPECT_EQ(probe.Send(kPing + 2), ProbeWindow::kProbeResult);
    EXPECT_EQ(log, "b a ");
    EXPECT_EQ(probe.Seen, (std::vector<UINT>{kPing + 1, kPing + 2}));
}

// A message added reaches the callback until it is deleted; deleting one never added is harmless.
TEST(Subclass, MessagesAddedAndDeleted)
{
    ProbeWindow probe;
    GXMSubclass engine;
    Recorder recorder;
    engine.Subclass(probe.hwnd(), &recorder);
    for (int op : {1, 2, -1, -9, 3}) {
        if (op > 0) engine.AddMessage(probe.hwnd(), WM_APP + op, SubclassBefore);
        if (op < 0) engine.DeleteMessage(probe.hwnd(), WM_APP - op, SubclassBefore);
    }
    for (UINT m : {1, 2, 3, 9}) probe.Send(WM_APP + m);
    EXPECT_EQ(recorder.Messages, (std::vector<UINT>{2, 3}));
}

// Someone else's subclassing, installed between two of ours.
struct ForeignProc {
    static inline WNDPROC Previous = nullptr;
    static inline std::string* Log = nullptr;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == kPing) *Log += "f ";
        return CallWindowProcW(Previous, window, message, wParam, lParam);
    }
};

// Two engines on one window run newest first and may be ended in either order; a
// procedure someone else put between them stays. An ended engine lets go of the window
// with its next message.
TEST(Subclass, ChainsOfEnginesAndEnginesOrWindowsGoingFirst)
{
    // Someone else between them, the older ended first; what runs with both, one, none.
    const std::tuple<bool, bool, std::array<std::string, 3>> cases[] = {
        {false, false, {"nb ob oa na ", "ob oa ", ""}},
        {false, true, {"nb ob oa na ", "nb na ", ""}},
        {true, false, {"nb f ob oa na ", "f ob oa ", "f "}},
        {true, true, {"nb f ob oa na ", "nb f na ", "f "}},
    };
    for (const auto& [foreign, olderFirst, logs] : cases) {
        ProbeWindow probe;
        HWND window = probe.hwnd();
        std::string log;
        GXMSubclass older, newer;
        Recorder first(&log, "o"), second(&log, "n");
        older.Subclass(window, &first);
        older.AddMessage(window, kPing, SubclassBeforeAndAfter);
        ForeignProc::Log = &log;
        if (foreign)
            ForeignProc::Previous = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc::Proc)));
        newer.Subclass(window, &second);
        newer.AddMessage(window, kPing, SubclassBeforeAndAfter);
        GXMSubclass* ending[] = {olderFirst ? &older : &newer, olderFirst ? &newer : &older, nullptr};
        for (int i = 0; i < 3; ++i) {
            log.clear();
            EXPECT_EQ(probe.Send(kPing), ProbeWindow::kProbeResult);
            EXPECT_EQ(log, logs[i]) << foreign << olderFirst << i;
            if (ending[i]) ending[i]->UnSubclass(window);
        }
        EXPECT_EQ(ProcOf(window), foreign ? &ForeignProc::Proc : &ProbeWindow::Proc);
    }

    // An engine ended with windows still hooked lets go of them all.
    ProbeWindow a, b;
    Recorder recorder;
    auto engine = std::make_unique<GXMSubclass>();
    for (HWND window : {a.hwnd(), b.hwnd()}) {
        engine->Subclass(window, &recorder);
        engine->AddMessage(window, kPing, SubclassBefore);
    }
    engine.reset();
    a.Send(kPing);
    b.Send(kPing);
    EXPECT_TRUE(recorder.Messages.empty());
    EXPECT_EQ(ProcOf(a.hwnd()), &ProbeWindow::Proc);
    EXPECT_EQ(ProcOf(b.hwnd()), &ProbeWindow::Proc);

    // A window destroyed while hooked, from outside or from inside its own callback.
    for (bool insideCallback : {false, true}) {
        ProbeWindow probe;
        HWND window = probe.hwnd();
        GXMSubclass owner;
        owner.Subclass(window, &recorder);
        owner.AddMessage(window, kPing, SubclassBeforeAndAfter);
        recorder.Act = [&](bool, bool&, LRESULT&) { DestroyWindow(window); };
        insideCallback ? probe.Send(kPing) : DestroyWindow(window);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_FALSE(owner.IsSubclassed(window));
    }
}

// Each kind's native class and style, and the events a notification of it raises, as
// letters: Click, TextChanged. A combo box answers only its own notifications; every
// other kind raises Click for any WM_COMMAND its host gets.
TEST(Control, KindsAndTheirEvents)
{
    const LONG_PTR dropDown = CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
    const std::tuple<int, const wchar_t*, LONG_PTR, WORD, std::string> cases[] = {
        {clsControl::CheckBox, L"Button", BS_AUTOCHECKBOX, BN_CLICKED, "C"},
        {clsControl::CommandButton, L"Button", BS_PUSHBUTTON, BN_CLICKED, "C"},
        {clsControl::OptionButton, L"Button", BS_AUTORADIOBUTTON, BN_CLICKED, "C"},
        {clsControl::Label, L"Static", SS_LEFTNOWORDWRAP | SS_NOTIFY, STN_CLICKED, "C"},
        {clsControl::TextBox, L"Edit", ES_AUTOHSCROLL, EN_CHANGE, "CT"},
        {clsControl::TextBox, L"Edit", ES_AUTOHSCROLL, EN_KILLFOCUS, "C"},
        {clsControl::ComboDropDown, L"ComboBox", dropDown, CBN_SELCHANGE, "C"},
        {clsControl::ComboDropDown, L"ComboBox", dropDown, CBN_EDITCHANGE, ""},
        {clsControl::ComboDropDownList, L"ComboBox", CBS_DROPDOWNLIST | CBS_HASSTRINGS, CBN_SELCHANGE, "C"},
        {clsControl::ComboDropDownList, L"ComboBox", CBS_DROPDOWNLIST | CBS_HASSTRINGS, CBN_SETFOCUS, ""},
    };
    TestForm form;
    for (const auto& [kind, className, style, notification, raised] : cases) {
        auto control = Make(form, kind);
        std::string events;
        control->Click = [&events] { events += 'C'; };
        control->TextChanged = [&events] { events += 'T'; };
        wchar_t name[32]{};
        GetClassNameW(control->hwnd(), name, 32);
        EXPECT_EQ(_wcsicmp(name, className), 0) << kind;
        EXPECT_EQ(Style(control->hwnd()) & (style | WS_CHILD | WS_VISIBLE), style | WS_CHILD | WS_VISIBLE) << kind;
        HWND host = GetParent(control->hwnd());
        for (HWND from : {control->hwnd(), host})
            SendMessageW(host, WM_COMMAND, MAKEWPARAM(0, notification), reinterpret_cast<LPARAM>(from));
        bool combo = kind >= clsControl::ComboDropDown;
        EXPECT_EQ(events, combo ? raised : raised + raised) << kind << " " << notification;
    }
}

TEST(Control, TextsItemsAndFrames)
{
    TestForm form;
    std::wstring text = L"*.txt;" + std::wstring(5000, L'x');  // returned whole
    auto combo = Make(form, clsControl::ComboDropDown);
    combo->Text(text);
    EXPECT_EQ(combo->Text(), text);
    // A drop-down list has no text of its own.
    auto choices = Make(form, clsControl::ComboDropDownList);
    choices->AddItem(L"CSV");
    EXPECT_EQ(choices->AddItem(L"TXT", 0), 0);
    choices->ListIndex(1);
    choices->Text(L"ignored");
    EXPECT_EQ(choices->Text() + choices->List(choices->ListIndex()), L"CSV");

    auto edit = Make(form, clsControl::TextBox, 3);
    EXPECT_EQ(Style(edit->hwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    edit->TargetPictureBox()->Move(150, 150, 3000, 600);
    EXPECT_EQ(WindowSize(edit->hwnd()).cx, static_cast<int>(3000 / TwipsPerPixelX()));
    EXPECT_EQ(WindowSize(edit->hwnd()).cy, static_cast<int>(600 / TwipsPerPixelY()));
}

TEST(Control, AClickHandlerMayReleaseTheWrapperAndAWrapperMayOutliveItsHost)
{
    TestForm form;
    auto button = Make(form, clsControl::CommandButton);
    HWND window = button->hwnd();
    button->Click = [&] { button.reset(); };
    SendMessageW(window, BM_CLICK, 0, 0);
    EXPECT_EQ(button, nullptr);
    EXPECT_FALSE(IsWindow(window));

    auto panels = std::make_unique<TestForm>();
    auto edit = Make(*panels, clsControl::TextBox);
    window = edit->hwnd();
    panels.reset();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(edit->Text(), L"");
}

// A report without headers whose columns, the hidden one too, keep whole texts. Its
// SelectedIndex follows the row of the latest change notification, from code or from a
// click, and stays when the selection empties; only its own clicks raise events.
TEST(ListView, RowsSelectionAndEvents)
{
    TestForm form;
    HostPanel& host = form.AddPanel(45, 60, 2610, 3570);
    clsLictView list;
    ASSERT_TRUE(list.Create(host.hwnd()));
    EXPECT_EQ(Style(list.hwnd()) & (LVS_TYPEMASK | LVS_NOCOLUMNHEADER | LVS_SINGLESEL), LVS_REPORT | LVS_NOCOLUMNHEADER);
    ASSERT_TRUE(list.ColumnAdd(0, 145, L"副檔名備份清單") && list.ColumnAdd(1, 0, L"副檔名"));
    for (const wchar_t* row : {L"0", L"1", L"2", L"3", L"4"}) list.ItemAdd(-1, row);
    std::wstring title(264, L'名'), patterns(2000, L';');
    EXPECT_EQ(list.ItemAdd(0, title), 0);
    EXPECT_TRUE(list.ItemAddSub(0, 1, patterns));
    EXPECT_EQ(list.ItemText(0) + list.SubItemText(0, 1), title + patterns);
    EXPECT_TRUE(list.ItemRemove(0));
    std::string events;
    list.Click = [&] { events += 'C'; };
    list.DBClick = [&] { events += 'D'; };
    list.SelectedItem(3);
    list.SelectedItem(0);  // added to the selection
    EXPECT_TRUE(list.Selected(3));
    EXPECT_FALSE(list.Selected(1));
    EXPECT_EQ(list.SelectedIndex(), 0);
    for (auto [from, code, row] : {std::tuple{list.hwnd(), LVN_ITEMCHANGED, 4}, {list.hwnd(), NM_CLICK, -1},
                                   {list.hwnd(), NM_DBLCLK, -1}, {host.hwnd(), NM_CLICK, -1},
                                   {host.hwnd(), LVN_ITEMCHANGED, 2}}) {
        NMLISTVIEW note{};
        note.hdr = {from, 0, static_cast<UINT>(code)};
        note.iItem = row;
        SendMessageW(host.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
    }
    EXPECT_EQ(events, "CD");
    EXPECT_EQ(list.SelectedIndex(), 4);
}

// One notch is 120; a distance between notches rounds half to even, where held keys
// (the low half of the word) tip an exact half notch up.
TEST(MouseWheel, TurnsBecomeNotches)
{
    ProbeWindow window;
    clsMouseWheel wheel;
    std::vector<int> deltas;
    wheel.Wheel = [&](int delta) { deltas.push_back(delta); };
    wheel.Init(window.hwnd());
    const std::tuple<short, WORD, int> cases[] = {{120, 0, 1}, {-120, MK_SHIFT | MK_LBUTTON, -1}, {240, MK_CONTROL, 2},
                                                  {40, 0, 0},  {60, 0, 0}, {180, 0, 2}, {-60, 0, 0}, {60, MK_SHIFT, 1}};
    for (auto [distance, keys, notches] : cases) {
        deltas.clear();
        window.Send(WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(distance)));
        EXPECT_EQ(deltas, std::vector<int>{notches}) << distance << " " << keys;
    }
}

TEST(Form, PanelsAreLaidOutInTwipsAndReportEveryResize)
{
    TestForm form;
    HostPanel& panel = form.AddPanel(4140, 60, 810, 240);
    POINT origin{};
    MapWindowPoints(panel.hwnd(), GetParent(panel.hwnd()), &origin, 1);
    EXPECT_EQ(origin.x, TwipsToPixelsX(4140));
    EXPECT_EQ(origin.y, TwipsToPixelsY(60));

    int resizes = 0;
    panel.Resize = [&] { ++resizes; };
    panel.SetLeft(150);  // a move alone is no resize
    panel.SetWidth(1500);
    MoveWindow(panel.hwnd(), 0, 0, 100, 50, TRUE);
    EXPECT_EQ(resizes, 2);
    EXPECT_EQ(TwipsToPixelsX(panel.Width()), 100);
    EXPECT_EQ(TwipsToPixelsY(panel.Height()), 50);
}

TEST(Form, PumpingKeepsAQuitRequestAndAModalWindowHoldsTheOthers)
{
    ProbeWindow probe;
    PostMessageW(probe.hwnd(), WM_APP, 0, 0);
    PostQuitMessage(3);
    EXPECT_FALSE(PumpPendingMessages());
    EXPECT_EQ(probe.Seen, std::vector<UINT>{WM_APP});
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 3u);

    // A modal window holds the others until it closes through Unload.
    TestForm form;
    HWND other = GetParent(form.AddPanel(0, 0, 100, 100).hwnd());
    TopLevelWindow window;
    ASSERT_TRUE(window.Create(L"Quorvane Ver 1.06", WS_POPUP | WS_DLGFRAME, 0, 3000, 1500));
    int unloads = 0;
    bool otherEnabled = true;
    window.Unload = [&] {
        ++unloads;
        otherEnabled = IsWindowEnabled(other);
    };
    PostMessageW(window.hwnd(), WM_CLOSE, 0, 0);  // the close box
    window.ShowModal();
    EXPECT_EQ(window.hwnd(), nullptr);
    window.Close();
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(otherEnabled);
    EXPECT_TRUE(IsWindowEnabled(other));
}

// Object counts read 0 under Wine, so each handle a wrapper made is checked instead.
TEST(Leaks, WrappersLeaveNothingBehind)
{
    std::vector<HGDIOBJ> objects;
    std::vector<HWND> windows;
    for (int round = 0; round < kKinds * 2; ++round) OneRound(round, objects, windows);
    int live = 0;
    for (HGDIOBJ object : objects) live += GetObjectType(object) != 0;
    for (HWND window : windows) live += IsWindow(window);
    EXPECT_EQ(live, 0);
}
