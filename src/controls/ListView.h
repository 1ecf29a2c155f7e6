#pragma once
// clsLictView: a report-style list view without column headers, created in a host
// window, with several rows selectable at once. Rows and columns count from 0.
//
// Usage: Create(host.hwnd()); ColumnAdd(0, 145, L"..."); ItemAdd(-1, L"text");
// ItemAddSub(row, 1, L"..."); Click / DBClick events.
#include <windows.h>

#include <functional>
#include <string>

#include "controls/GuiHandles.h"
#include "controls/Subclass.h"

class clsLictView : private GXISubclass {
public:
    clsLictView();
    ~clsLictView();
    clsLictView(const clsLictView&) = delete;
    clsLictView& operator=(const clsLictView&) = delete;

    // Attributes
    HWND hwnd() const { return list_.Get(); }
    int ItemCount() const;
    int ItemSelCount() const;
    bool Selected(int iIndex) const;
    // The row of the latest item-change notification (clicks and code alike); 0 before
    // the first one, and kept when the selection becomes empty.
    int SelectedIndex() const { return selectedIndex_; }
    // Selects and focuses a row, keeping the other selected rows; -1 applies to every row.
    void SelectedItem(int ListIndex);
    // Whole texts, however long.
    std::wstring ItemText(int lItem) const;
    bool ItemText(int lItem, const std::wstring& sText);
    std::wstring SubItemText(int lItem, int lSubItem) const;
    bool SubItemText(int lItem, int lSubItem, const std::wstring& sText);

    // Operations
    bool Create(HWND hwnd);
    // Width in pixels; 0 makes a hidden column that still keeps its texts.
    bool ColumnAdd(int Index, int Width, const std::wstring& Text);
    bool ItemRemove(int iIndex);
    // iIndex -1 appends. Returns the new row's index, -1 on failure.
    int ItemAdd(int iIndex, const std::wstring& Text, int SmallIcon = -1, int Icon = -1);
    bool ItemAddSub(int iIndex, int SubIndex, const std::wstring& Text);
    bool ItemClear();
    // Off while many rows are added; turned on again, the list is repainted.
    void Redraw(bool on);

    // Events. A handler may destroy this object.
    std::function<void()> Click;
    std::function<void()> DBClick;

private:
    void WndProc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND lHwnd, UINT uMsg, WPARAM wParam,
                 LPARAM lParam, LONG_PTR& lParamUser) override;

    // Declared first so that it is released last.
    GXMSubclass engine_;
    UniqueWindow list_;
    HWND host_ = nullptr;
    HFONT font_ = nullptr;  // stock font: never deleted
    int selectedIndex_ = 0;
};
