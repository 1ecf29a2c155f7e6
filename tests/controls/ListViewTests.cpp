#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "TestWindows.h"
#include "controls/ListView.h"

namespace {

class ListViewTest : public testing::Test {
protected:
    TestForm form;
    HostPanel& host = form.AddPanel(45, 60, 2610, 3570);
    clsLictView list;
    int clicks = 0;
    int doubleClicks = 0;
    std::string events;

    void SetUp() override
    {
        ASSERT_TRUE(list.Create(host.hwnd()));
        list.Click = [this] {
            ++clicks;
            events += "C";
        };
        list.DBClick = [this] {
            ++doubleClicks;
            events += "D";
        };
    }

    void AddRows(int count)
    {
        for (int i = 0; i < count; ++i) list.ItemAdd(-1, L"row " + std::to_wstring(i));
    }

    // Centre of a row in list-view client pixels.
    POINT RowPoint(int row)
    {
        RECT bounds{};
        bounds.left = LVIR_LABEL;
        SendMessageW(list.hwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
        return {bounds.left + 5, (bounds.top + bounds.bottom) / 2};
    }
};

}  // namespace

TEST_F(ListViewTest, IsAReportWithoutHeadersFillingItsHost)
{
    LONG_PTR style = GetWindowLongPtrW(list.hwnd(), GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(style & LVS_NOCOLUMNHEADER);
    EXPECT_FALSE(style & LVS_SINGLESEL);
    EXPECT_TRUE(SendMessageW(list.hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
    EXPECT_EQ(ClientWidth(host.hwnd()), [&] {
        RECT frame{};
        GetWindowRect(list.hwnd(), &frame);
        return frame.right - frame.left;
    }());
}

TEST_F(ListViewTest, HiddenColumnKeepsItsTexts)
{
    ASSERT_TRUE(list.ColumnAdd(0, 145, L"副檔名備份清單"));
    ASSERT_TRUE(list.ColumnAdd(1, 0, L"副檔名"));
    EXPECT_EQ(list.ItemAdd(-1, L"所有檔案 (*.*)"), 0);
    EXPECT_EQ(list.ItemAdd(-1, L"文件"), 1);
    EXPECT_TRUE(list.ItemAddSub(0, 1, L"*.*"));
    EXPECT_TRUE(list.ItemAddSub(1, 1, L"*.txt;*.rtf"));
    EXPECT_EQ(ListView_GetColumnWidth(list.hwnd(), 1), 0);
    EXPECT_EQ(list.SubItemText(1, 1), L"*.txt;*.rtf");
    EXPECT_EQ(list.SubItemText(0, 1), L"*.*");
    EXPECT_EQ(list.ItemText(1), L"文件");
    EXPECT_TRUE(list.SubItemText(1, 1, L"*.doc"));
    EXPECT_EQ(list.SubItemText(1, 1), L"*.doc");
}

TEST_F(ListViewTest, LongTextsComeBackWhole)
{
    list.ColumnAdd(0, 145, L"a");
    list.ColumnAdd(1, 0, L"b");
    std::wstring name(300, L'名');
    std::wstring patterns;
    for (int i = 0; i < 400; ++i) patterns += L"*.e" + std::to_wstring(i) + L";";
    list.ItemAdd(-1, name);
    list.ItemAddSub(0, 1, patterns);
    EXPECT_EQ(list.ItemText(0), name);
    EXPECT_EQ(list.SubItemText(0, 1), patterns);
    // Just around the old read limits.
    for (size_t length : {254u, 255u, 256u, 260u, 261u, 262u, 263u, 264u}) {
        std::wstring text(length, L'x');
        list.ItemText(0, text);
        list.SubItemText(0, 1, text);
        EXPECT_EQ(list.ItemText(0).size(), length);
        EXPECT_EQ(list.SubItemText(0, 1).size(), length);
    }
}

TEST_F(ListViewTest, MissingRowsAndEmptyTextsReadEmpty)
{
    list.ColumnAdd(0, 145, L"a");
    list.ItemAdd(-1, L"");
    EXPECT_EQ(list.ItemText(0), L"");
    EXPECT_EQ(list.ItemText(7), L"");
    EXPECT_EQ(list.SubItemText(7, 0), L"");
    EXPECT_FALSE(list.ItemRemove(7));
    EXPECT_EQ(list.ItemCount(), 1);
}

TEST_F(ListViewTest, RowsInsertRemoveAndClear)
{
    list.ColumnAdd(0, 145, L"a");
    list.ItemAdd(-1, L"b");
    list.ItemAdd(-1, L"c");
    EXPECT_EQ(list.ItemAdd(0, L"a"), 0);
    EXPECT_EQ(list.ItemText(0), L"a");
    EXPECT_EQ(list.ItemText(2), L"c");
    EXPECT_TRUE(list.ItemRemove(1));
    EXPECT_EQ(list.ItemText(1), L"c");
    EXPECT_TRUE(list.ItemClear());
    EXPECT_EQ(list.ItemCount(), 0);
}

TEST_F(ListViewTest, SelectedItemAddsToTheSelection)
{
    list.ColumnAdd(0, 145, L"a");
    AddRows(5);
    list.SelectedItem(3);
    EXPECT_EQ(list.SelectedIndex(), 3);
    list.SelectedItem(0);
    EXPECT_TRUE(list.Selected(3));
    EXPECT_TRUE(list.Selected(0));
    EXPECT_FALSE(list.Selected(1));
    EXPECT_EQ(list.ItemSelCount(), 2);
    EXPECT_EQ(list.SelectedIndex(), 0);
    EXPECT_EQ(clicks, 0);
}

TEST_F(ListViewTest, SelectedItemOnAnEmptyListSelectsNothing)
{
    list.ColumnAdd(0, 145, L"a");
    list.SelectedItem(-1);
    EXPECT_EQ(list.ItemSelCount(), 0);
    EXPECT_EQ(list.SelectedIndex(), 0);
}

TEST_F(ListViewTest, ClickingARowRaisesClickAndFollowsTheRow)
{
    list.ColumnAdd(0, 145, L"a");
    AddRows(4);
    POINT row = RowPoint(2);
    ClickAt(list.hwnd(), row.x, row.y);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list.SelectedIndex(), 2);
    EXPECT_TRUE(list.Selected(2));
    EXPECT_EQ(list.ItemSelCount(), 1);
}

TEST_F(ListViewTest, ClickOnEmptySpaceRaisesClickWithNothingSelected)
{
    list.ColumnAdd(0, 145, L"a");
    AddRows(3);
    POINT row = RowPoint(1);
    ClickAt(list.hwnd(), row.x, row.y);
    ASSERT_EQ(list.ItemSelCount(), 1);
    ClickAt(list.hwnd(), row.x, ClientHeight(list.hwnd()) - 5);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(list.ItemSelCount(), 0);
    EXPECT_EQ(list.SelectedIndex(), 1);
}

TEST_F(ListViewTest, DoubleClickRaisesClickThenDBClick)
{
    list.ColumnAdd(0, 145, L"a");
    AddRows(2);
    POINT row = RowPoint(0);
    ClickAt(list.hwnd(), row.x, row.y, true);
    EXPECT_EQ(doubleClicks, 1);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), 'C');
    EXPECT_EQ(events.back(), 'D');
}

TEST_F(ListViewTest, KeyboardSelectionRaisesNoEvent)
{
    list.ColumnAdd(0, 145, L"a");
    AddRows(3);
    list.SelectedItem(0);
    SetFocus(list.hwnd());
    PressKey(VK_DOWN);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(list.Selected(1));
    EXPECT_EQ(list.SelectedIndex(), 1);
}

TEST_F(ListViewTest, NotificationsFromOtherWindowsAreIgnored)
{
    NMHDR header{};
    header.hwndFrom = host.hwnd();
    header.code = NM_CLICK;
    SendMessageW(host.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(clicks, 0);
    header.hwndFrom = list.hwnd();
    SendMessageW(host.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(clicks, 1);
}

TEST(ListViewLayer, BeforeCreateEverythingReadsEmpty)
{
    clsLictView list;
    EXPECT_EQ(list.hwnd(), nullptr);
    EXPECT_EQ(list.ItemCount(), 0);
    EXPECT_EQ(list.ItemAdd(-1, L"x"), -1);
    EXPECT_EQ(list.ItemText(0), L"");
    EXPECT_FALSE(list.ColumnAdd(0, 10, L"a"));
    EXPECT_FALSE(list.Selected(0));
}

TEST(ListViewLayer, ReleasingTheWrapperUnhooksItsHost)
{
    TestForm form;
    HostPanel& host = form.AddPanel(0, 0, 1000, 1000);
    WNDPROC hostProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(host.hwnd(), GWLP_WNDPROC));
    HWND window;
    {
        clsLictView list;
        list.Create(host.hwnd());
        window = list.hwnd();
    }
    Pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(host.hwnd(), GWLP_WNDPROC)), hostProc);
}
