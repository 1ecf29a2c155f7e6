#include "controls/ListView.h"

#include <commctrl.h>

#include "controls/Control.h"
#include "controls/Form.h"

namespace {

std::wstring ReadItemText(HWND list, int item, int subItem)
{
    if (!list) return {};
    // LVM_GETITEMTEXTW answers only how much it copied, so grow until the text fits.
    std::wstring text(264, L'\0');
    for (;;) {
        LVITEMW request{};
        request.iSubItem = subItem;
        request.pszText = text.data();
        request.cchTextMax = static_cast<int>(text.size());
        LRESULT copied = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&request));
        if (copied < 0) copied = 0;
        if (static_cast<size_t>(copied) + 1 < text.size()) {
            text.resize(static_cast<size_t>(copied));
            return text;
        }
        text.assign(text.size() * 2, L'\0');
    }
}

bool WriteItemText(HWND list, int item, int subItem, const std::wstring& text)
{
    LVITEMW request{};
    request.iSubItem = subItem;
    request.pszText = const_cast<wchar_t*>(text.c_str());
    return SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&request)) != 0;
}

}  // namespace

clsLictView::clsLictView()
{
    InitControlClasses(ICC_LISTVIEW_CLASSES);
}

clsLictView::~clsLictView()
{
    list_.Reset();
    font_ = nullptr;
}

bool clsLictView::Create(HWND hwnd)
{
    if (list_) return false;
    RECT client{};
    if (hwnd) GetClientRect(hwnd, &client);
    list_.Reset(CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom, hwnd,
                                nullptr, GetModuleHandleW(nullptr), nullptr));
    HWND list = list_.Get();
    SendMessageW(list, CCM_SETUNICODEFORMAT, TRUE, 0);
    if (list) {
        ChangeWindowStyle(list, GWL_STYLE, LVS_REPORT, 0);
        ChangeWindowStyle(list, GWL_STYLE, LVS_NOCOLUMNHEADER, 0);
    }
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    if (!font_) font_ = StockGuiFont();
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    if (hwnd) {
        host_ = hwnd;
        engine_.Subclass(hwnd, this, 0, true);
        engine_.AddMessage(hwnd, WM_NOTIFY, SubclassBefore);
    }
    return list != nullptr;
}

bool clsLictView::ColumnAdd(int Index, int Width, const std::wstring& Text)
{
    if (!list_) return false;
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = Width;
    column.pszText = const_cast<wchar_t*>(Text.c_str());
    return SendMessageW(list_.Get(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&column)) != -1;
}

bool clsLictView::ItemRemove(int iIndex)
{
    return SendMessageW(list_.Get(), LVM_DELETEITEM, static_cast<WPARAM>(iIndex), 0) != 0;
}

int clsLictView::ItemAdd(int iIndex, const std::wstring& Text, int SmallIcon, int Icon)
{
    if (!list_) return -1;
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = iIndex == -1 ? ItemCount() : iIndex;
    item.pszText = const_cast<wchar_t*>(Text.c_str());
    if (SmallIcon != -1 || Icon != -1) {
        item.mask |= LVIF_IMAGE;
        item.iImage = SmallIcon;
    }
    return static_cast<int>(SendMessageW(list_.Get(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool clsLictView::ItemAddSub(int iIndex, int SubIndex, const std::wstring& Text)
{
    return WriteItemText(list_.Get(), iIndex, SubIndex, Text);
}

bool clsLictView::ItemClear()
{
    return SendMessageW(list_.Get(), LVM_DELETEALLITEMS, 0, 0) != 0;
}

void clsLictView::Redraw(bool on)
{
    SendMessageW(list_.Get(), WM_SETREDRAW, on, 0);
    // Turning drawing on again does not repaint by itself.
    if (on) InvalidateRect(list_.Get(), nullptr, TRUE);
}

int clsLictView::ItemCount() const
{
    return static_cast<int>(SendMessageW(list_.Get(), LVM_GETITEMCOUNT, 0, 0));
}

int clsLictView::ItemSelCount() const
{
    return static_cast<int>(SendMessageW(list_.Get(), LVM_GETSELECTEDCOUNT, 0, 0));
}

bool clsLictView::Selected(int iIndex) const
{
    return SendMessageW(list_.Get(), LVM_GETITEMSTATE, static_cast<WPARAM>(iIndex), LVIS_SELECTED) != 0;
}

void clsLictView::SelectedItem(int ListIndex)
{
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_.Get(), LVM_SETITEMSTATE, static_cast<WPARAM>(ListIndex), reinterpret_cast<LPARAM>(&item));
}

std::wstring clsLictView::ItemText(int lItem) const
{
    return ReadItemText(list_.Get(), lItem, 0);
}

bool clsLictView::ItemText(int lItem, const std::wstring& sText)
{
    return WriteItemText(list_.Get(), lItem, 0, sText);
}

std::wstring clsLictView::SubItemText(int lItem, int lSubItem) const
{
    return ReadItemText(list_.Get(), lItem, lSubItem);
}

bool clsLictView::SubItemText(int lItem, int lSubItem, const std::wstring& sText)
{
    return WriteItemText(list_.Get(), lItem, lSubItem, sText);
}

void clsLictView::WndProc(bool, bool&, LRESULT&, HWND, UINT uMsg, WPARAM, LPARAM lParam, LONG_PTR&)
{
    if (uMsg != WM_NOTIFY || !list_) return;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header || header->hwndFrom != list_.Get()) return;
    switch (header->code) {
    case LVN_ITEMCHANGING:
    case LVN_ITEMCHANGED:
        selectedIndex_ = reinterpret_cast<const NMLISTVIEW*>(lParam)->iItem;
        break;
    case NM_CLICK:
        if (auto handler = Click) handler();
        break;
    case NM_DBLCLK:
        if (auto handler = DBClick) handler();
        break;
    default:
        break;
    }
}
