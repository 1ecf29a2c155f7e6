#include <gtest/gtest.h>

#include <memory>

#include "TestWindows.h"
#include "controls/Control.h"

namespace {

struct Counts {
    int Click = 0, DblClick = 0, DropDown = 0, Change = 0, TextChanged = 0;
};

class ControlTest : public testing::Test {
protected:
    TestForm form;
    HostPanel& host = form.AddPanel(150, 150, 2400, 330);
    clsControl control;
    Counts counts;

    void Make(int kind, int border = 0)
    {
        control.TargetPictureBox(&host);
        if (border) control.BorderStyle(border);
        ASSERT_TRUE(control.Create(kind));
        control.Click = [this] { ++counts.Click; };
        control.DblClick = [this] { ++counts.DblClick; };
        control.DropDown = [this] { ++counts.DropDown; };
        control.Change = [this] { ++counts.Change; };
        control.TextChanged = [this] { ++counts.TextChanged; };
    }
};

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

LONG_PTR StyleOf(HWND window)
{
    return GetWindowLongPtrW(window, GWL_STYLE);
}

LONG_PTR ExStyleOf(HWND window)
{
    return GetWindowLongPtrW(window, GWL_EXSTYLE);
}

}  // namespace

TEST_F(ControlTest, DropDownComboTextIsItsEditPart)
{
    Make(clsControl::ComboDropDown);
    control.Text(L"*.txt;*.rtf");
    EXPECT_EQ(control.Text(), L"*.txt;*.rtf");
    HWND edit = GetWindow(control.hwnd(), GW_CHILD);
    wchar_t shown[64] = {};
    GetWindowTextW(edit, shown, 64);
    EXPECT_STREQ(shown, L"*.txt;*.rtf");
}

TEST_F(ControlTest, DropDownListAnswersEmptyTextAndIsReadThroughItsSelection)
{
    Make(clsControl::ComboDropDownList);
    control.AddItem(L"TXT");
    control.AddItem(L"CSV");
    control.ListIndex(1);
    control.Text(L"ignored");
    EXPECT_EQ(control.Text(), L"");
    EXPECT_EQ(control.ListIndex(), 1);
    EXPECT_EQ(control.List(control.ListIndex()), L"CSV");
    EXPECT_EQ(control.ListCount(), 2);
    control.ListIndex(-1);
    EXPECT_EQ(control.ListIndex(), -1);
    EXPECT_EQ(control.List(-1), L"");
    EXPECT_EQ(control.List(5), L"");
}

TEST_F(ControlTest, TypingInADropDownComboRaisesChange)
{
    Make(clsControl::ComboDropDown);
    SetFocus(control.hwnd());
    Pump();
    TypeText(L"ab");
    EXPECT_EQ(control.Text(), L"ab");
    EXPECT_EQ(counts.Change, 2);
    EXPECT_EQ(counts.Click, 0);
}

TEST_F(ControlTest, SelectingAnItemRaisesClickButSettingItFromCodeDoesNot)
{
    Make(clsControl::ComboDropDownList);
    control.AddItem(L"不指定");
    control.AddItem(L"至少");
    control.ListIndex(0);
    EXPECT_EQ(counts.Click, 0);
    SetFocus(control.hwnd());
    PressKey(VK_DOWN);
    EXPECT_EQ(control.ListIndex(), 1);
    EXPECT_EQ(counts.Click, 1);
}

TEST_F(ControlTest, OpeningTheListRaisesDropDown)
{
    Make(clsControl::ComboDropDownList);
    control.AddItem(L"1");
    SetFocus(control.hwnd());
    PressKey(VK_F4);
    EXPECT_EQ(counts.DropDown, 1);
    SendMessageW(control.hwnd(), CB_SHOWDROPDOWN, FALSE, 0);
    Pump();
}

TEST_F(ControlTest, ComboIgnoresCommandsFromOtherWindows)
{
    Make(clsControl::ComboDropDownList);
    HWND stranger = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD, 0, 0, 1, 1, host.hwnd(), nullptr, nullptr, nullptr);
    SendMessageW(host.hwnd(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(stranger));
    EXPECT_EQ(counts.Click, 0);
    SendMessageW(host.hwnd(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(control.hwnd()));
    EXPECT_EQ(counts.Click, 1);
    DestroyWindow(stranger);
}

TEST_F(ControlTest, EditBoxRaisesClickForChangesAndFocus)
{
    Make(clsControl::TextBox, 3);
    HWND other = form.AddPanel(150, 600, 600, 330).hwnd();
    SetFocus(control.hwnd());
    Pump();
    int afterFocus = counts.Click;
    EXPECT_GE(afterFocus, 1);
    TypeText(L"1");
    int afterTyping = counts.Click;
    EXPECT_GE(afterTyping, afterFocus + 1);
    SetFocus(other);
    Pump();
    EXPECT_GE(counts.Click, afterTyping + 1);
    EXPECT_EQ(control.Text(), L"1");
    // Only the changes of the text raise TextChanged, those made from code included.
    EXPECT_EQ(counts.TextChanged, 1);
    control.Text(L"12");
    EXPECT_EQ(counts.TextChanged, 2);
}

TEST_F(ControlTest, ButtonClickRaisesClickAndCheckBoxToggles)
{
    Make(clsControl::CheckBox);
    control.Text(L"搜尋子資料夾");
    EXPECT_FALSE(control.Checked());
    ClickAt(control.hwnd(), 5, ClientHeight(control.hwnd()) / 2);
    EXPECT_EQ(counts.Click, 1);
    EXPECT_TRUE(control.Checked());
    control.Checked(false);
    EXPECT_FALSE(control.Checked());
    EXPECT_EQ(counts.Click, 1);
    EXPECT_EQ(control.Text(), L"搜尋子資料夾");
}

TEST_F(ControlTest, EnabledReadsFalseUntilFirstWritten)
{
    Make(clsControl::CommandButton);
    EXPECT_TRUE(IsWindowEnabled(control.hwnd()));
    EXPECT_FALSE(control.Enabled());
    control.Enabled(false);
    EXPECT_FALSE(IsWindowEnabled(control.hwnd()));
    control.Enabled(true);
    EXPECT_TRUE(control.Enabled());
    EXPECT_TRUE(IsWindowEnabled(control.hwnd()));
}

TEST_F(ControlTest, AddItemWithAndWithoutItemData)
{
    Make(clsControl::ListSingle);
    EXPECT_EQ(control.AddItem(L"a"), 0);
    EXPECT_EQ(control.ItemData(0), 0);
    EXPECT_EQ(control.AddItem(L"b", -1, 77), 1);
    EXPECT_EQ(control.ItemData(1), 77);
    EXPECT_EQ(control.AddItem(L"c", 0), 0);
    EXPECT_EQ(control.NewIndex(), 0);
    EXPECT_EQ(control.List(0), L"c");
    EXPECT_EQ(control.List(2), L"b");
    EXPECT_EQ(control.ItemData(2), 77);
    EXPECT_EQ(control.AddItem(L"d", -2), -1);
    EXPECT_EQ(control.ListCount(), 3);
    EXPECT_EQ(control.NewIndex(), 0);
}

TEST_F(ControlTest, AppendedItemsKeepTheirOrderAndRemoveReportsMissingRows)
{
    Make(clsControl::ComboDropDownList);
    for (const wchar_t* text : {L"僅檔案", L"僅資料夾", L"兩者皆是"}) control.AddItem(text);
    EXPECT_EQ(control.List(0), L"僅檔案");
    EXPECT_EQ(control.List(2), L"兩者皆是");
    EXPECT_TRUE(control.RemoveItem(1));
    EXPECT_FALSE(control.RemoveItem(5));
    EXPECT_EQ(control.List(1), L"兩者皆是");
    control.Clear();
    EXPECT_EQ(control.ListCount(), 0);
}

TEST_F(ControlTest, TextIsReturnedWhole)
{
    Make(clsControl::TextBox);
    SendMessageW(control.hwnd(), EM_SETLIMITTEXT, 0, 0);
    std::wstring text(5000, L'x');
    text += L"end";
    control.Text(text);
    EXPECT_EQ(control.Text(), text);
}

TEST_F(ControlTest, HostResizeGivesTheControlTheSamePixelSize)
{
    Make(clsControl::TextBox);
    EXPECT_EQ(ClientWidth(host.hwnd()), TwipsToPixelsX(2400));
    host.Move(150, 150, 3000, 600);
    RECT frame{};
    GetWindowRect(control.hwnd(), &frame);
    EXPECT_EQ(frame.right - frame.left, static_cast<int>(3000 / TwipsPerPixelX()));
    EXPECT_EQ(frame.bottom - frame.top, static_cast<int>(600 / TwipsPerPixelY()));
    EXPECT_EQ(frame.right - frame.left, ClientWidth(host.hwnd()));
}

TEST_F(ControlTest, KindsGetTheirClassesAndStyles)
{
    struct Case {
        int Kind;
        const wchar_t* Class;
        LONG_PTR Bits;
    };
    const Case cases[] = {
        {clsControl::CheckBox, L"Button", BS_AUTOCHECKBOX},
        {clsControl::OptionButton, L"Button", BS_AUTORADIOBUTTON},
        {clsControl::Label, L"Static", SS_NOTIFY | SS_LEFTNOWORDWRAP},
        {clsControl::TextBox, L"Edit", ES_AUTOHSCROLL},
        {clsControl::ComboSimple, L"ComboBox", CBS_SIMPLE | CBS_HASSTRINGS},
        {clsControl::ListExtended, L"ListBox", LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT},
        {clsControl::ListMulti, L"ListBox", LBS_MULTIPLESEL | LBS_HASSTRINGS},
        {clsControl::RichText, L"RichEdit20W", ES_AUTOHSCROLL},
    };
    for (const Case& c : cases) {
        clsControl wrapper;
        wrapper.TargetPictureBox(&host);
        ASSERT_TRUE(wrapper.Create(c.Kind)) << c.Kind;
        EXPECT_EQ(_wcsicmp(ClassOf(wrapper.hwnd()).c_str(), c.Class), 0) << c.Kind;
        EXPECT_EQ(StyleOf(wrapper.hwnd()) & c.Bits, c.Bits) << c.Kind;
        EXPECT_EQ(StyleOf(wrapper.hwnd()) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE) << c.Kind;
    }
}

TEST_F(ControlTest, UnknownKindCreatesNothingAndEverythingReadsEmpty)
{
    control.TargetPictureBox(&host);
    EXPECT_FALSE(control.Create(13));
    EXPECT_EQ(control.hwnd(), nullptr);
    EXPECT_EQ(control.AddItem(L"x"), 0);
    EXPECT_EQ(control.Text(), L"");
    EXPECT_EQ(control.ListCount(), 0);
    EXPECT_FALSE(control.Checked());
    EXPECT_FALSE(control.RemoveItem(0));
    EXPECT_EQ(GetWindow(host.hwnd(), GW_CHILD), nullptr);
}

TEST_F(ControlTest, BorderStylesAndRightToLeft)
{
    Make(clsControl::TextBox, 3);
    EXPECT_TRUE(ExStyleOf(control.hwnd()) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(StyleOf(control.hwnd()) & WS_BORDER);

    clsControl single;
    single.TargetPictureBox(&form.AddPanel(150, 900, 1000, 330));
    single.BorderStyle(1);
    single.FontRightLeading(true);
    single.Create(clsControl::Label);
    EXPECT_TRUE(StyleOf(single.hwnd()) & WS_BORDER);
    EXPECT_TRUE(ExStyleOf(single.hwnd()) & WS_EX_RTLREADING);

    // A combo box gets a static edge instead of a sunken one.
    clsControl combo;
    combo.TargetPictureBox(&form.AddPanel(150, 1500, 1000, 330));
    combo.BorderStyle(3);
    combo.Create(clsControl::ComboDropDownList);
    EXPECT_EQ(combo.BorderStyle(), 2);
    EXPECT_TRUE(ExStyleOf(combo.hwnd()) & WS_EX_STATICEDGE);
    EXPECT_FALSE(ExStyleOf(combo.hwnd()) & WS_EX_CLIENTEDGE);
}

TEST_F(ControlTest, ReleasingTheWrapperRemovesTheControlAndUnhooksTheHost)
{
    WNDPROC hostProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(host.hwnd(), GWLP_WNDPROC));
    auto wrapper = std::make_unique<clsControl>();
    wrapper->TargetPictureBox(&host);
    wrapper->Create(clsControl::CommandButton);
    HWND button = wrapper->hwnd();
    EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(host.hwnd(), GWLP_WNDPROC)), hostProc);
    wrapper.reset();
    Pump();
    EXPECT_FALSE(IsWindow(button));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(host.hwnd(), GWLP_WNDPROC)), hostProc);
}

TEST_F(ControlTest, ClickHandlerMayReleaseTheWrapper)
{
    auto wrapper = std::make_unique<clsControl>();
    wrapper->TargetPictureBox(&host);
    wrapper->Create(clsControl::CommandButton);
    HWND button = wrapper->hwnd();
    wrapper->Click = [&] { wrapper.reset(); };
    SendMessageW(button, BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(wrapper, nullptr);
    EXPECT_FALSE(IsWindow(button));
}

TEST(ControlLayer, WrapperOutlivesItsHostWindow)
{
    auto panels = std::make_unique<TestForm>();
    HostPanel& host = panels->AddPanel(0, 0, 1000, 330);
    clsControl control;
    control.TargetPictureBox(&host);
    control.Create(clsControl::TextBox);
    HWND edit = control.hwnd();
    panels.reset();
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(control.Text(), L"");
}
