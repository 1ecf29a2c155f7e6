#pragma once
// A window's panels and controls, made from one table. Each row is a host panel, placed
// in twips relative to its parent panel, and the control it holds with its caption and
// border, and the Setting.ini key its value is kept under. Code names a part by its
// name in the table, and the name is looked up when the program is built: a name the
// table does not have does not compile. Frames drawn around groups are rows too, and the
// tab order is the table's reading order, worked out when the program is built.
//
// Usage: inline constexpr LayoutRow kLayout[] = {...}; WindowParts<kLayout> parts;
// parts.Create(window); parts.Control(L"cmdSave").Click = ...; keys.Stops(parts.TabStops());
#include <windows.h>

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include "controls/Control.h"
#include "controls/DialogKeys.h"
#include "controls/Form.h"
#include "controls/GuiHandles.h"

// What a row's host panel holds.
enum class Holds {
    Nothing,  // drawn into, or holding other panels
    // Wrappers made with the row's caption and border.
    CheckBox,
    Button,
    OptionButton,
    Label,
    TextBox,
    Combo,     // an editable drop-down combo
    DropList,  // a drop-down list
    // Made in their host by the window itself.
    DatePicker,
    ListView,
    TreeView,
    // A vertical scroll bar in the parent panel, without a host of its own; the window
    // places it.
    ScrollBar,
    // A rectangle drawn around a group in the parent panel, without a host of its own.
    Frame,
};

struct LayoutRow {
    const wchar_t* Name;    // the control's name; null for a panel holding none
    const wchar_t* Host;    // the host panel's name; null for a scroll bar
    const wchar_t* Parent;  // the panel the host is in; null for the window itself
    int Left, Top, Width, Height;
    Holds Kind;
    const wchar_t* Caption;  // null for none
    int Border;              // as clsControl::BorderStyle
    const wchar_t* Key;      // the Setting.ini key of the control's value; null when not kept
};

namespace layout {

constexpr bool Named(const wchar_t* name, std::wstring_view wanted) { return name && wanted == name; }

// The wrapper kind of a row, 0 for a row the wrappers do not make.
constexpr int WrapperKind(Holds kind)
{
    switch (kind) {
    case Holds::CheckBox: return clsControl::CheckBox;
    case Holds::Button: return clsControl::CommandButton;
    case Holds::OptionButton: return clsControl::OptionButton;
    case Holds::Label: return clsControl::Label;
    case Holds::TextBox: return clsControl::TextBox;
    case Holds::Combo: return clsControl::ComboDropDown;
    case Holds::DropList: return clsControl::ComboDropDownList;
    default: return 0;
    }
}

template <std::size_t N>
consteval std::size_t RowOfHost(const LayoutRow (&table)[N], std::wstring_view host)
{
    for (std::size_t row = 0; row < N; ++row)
        if (Named(table[row].Host, host)) return row;
    throw "no host panel of this name in the layout table";
}

// Names are unique, each parent is a host panel made before, and only a scroll bar or
// a frame has no host.
template <std::size_t N>
consteval bool IsSound(const LayoutRow (&table)[N])
{
    for (std::size_t row = 0; row < N; ++row) {
        const LayoutRow& r = table[row];
        if (!r.Host && r.Kind != Holds::ScrollBar && r.Kind != Holds::Frame) return false;
        if (r.Parent && RowOfHost(table, r.Parent) >= row) return false;
        for (std::size_t other = 0; other < row; ++other) {
            for (const wchar_t* name : {r.Name, r.Host}) {
                if (name && (Named(table[other].Name, name) || Named(table[other].Host, name))) return false;
            }
        }
    }
    return true;
}

template <std::size_t N>
consteval std::size_t WrapperCount(const LayoutRow (&table)[N])
{
    std::size_t count = 0;
    for (const LayoutRow& row : table) count += WrapperKind(row.Kind) ? 1 : 0;
    return count;
}

// Each wrapper row's place among the wrappers.
template <std::size_t N>
consteval std::array<std::size_t, N> WrapperSlots(const LayoutRow (&table)[N])
{
    std::array<std::size_t, N> slots{};
    std::size_t next = 0;
    for (std::size_t row = 0; row < N; ++row)
        if (WrapperKind(table[row].Kind)) slots[row] = next++;
    return slots;
}

template <std::size_t N>
consteval std::array<std::size_t, N> ParentRows(const LayoutRow (&table)[N])
{
    std::array<std::size_t, N> parents{};
    for (std::size_t row = 0; row < N; ++row)
        if (table[row].Parent) parents[row] = RowOfHost(table, table[row].Parent);
    return parents;
}

// Whether the row's control takes the keyboard focus.
constexpr bool TakesFocus(Holds kind)
{
    switch (kind) {
    case Holds::Nothing:
    case Holds::Label:
    case Holds::ScrollBar:
    case Holds::Frame: return false;
    default: return true;
    }
}

constexpr bool InParent(const LayoutRow& row, const wchar_t* parent)
{
    return parent ? Named(row.Parent, parent) : !row.Parent;
}

// The row, or a row in its host panel at any depth, takes the focus.
template <std::size_t N>
consteval bool LeadsToFocus(const LayoutRow (&table)[N], std::size_t row)
{
    if (TakesFocus(table[row].Kind)) return true;
    for (std::size_t child = row + 1; child < N; ++child)
        if (table[row].Host && InParent(table[child], table[row].Host) && LeadsToFocus(table, child)) return true;
    return false;
}

// Two parts read as one line when they share at least half the smaller one's height.
constexpr bool OnOneLine(const LayoutRow& a, const LayoutRow& b)
{
    int top = a.Top > b.Top ? a.Top : b.Top;
    int bottom = a.Top + a.Height < b.Top + b.Height ? a.Top + a.Height : b.Top + b.Height;
    return 2 * (bottom - top) >= (a.Height < b.Height ? a.Height : b.Height);
}

template <std::size_t N>
struct RowList {
    std::array<std::size_t, N> Rows{};
    std::size_t Count = 0;
};

// Appends the focus-taking rows in `parent` (null: the window) in reading order: the
// topmost part's line first, left to right on it; a panel's rows where the panel comes.
template <std::size_t N>
consteval void AppendInReadingOrder(const LayoutRow (&table)[N], const wchar_t* parent, RowList<N>& order)
{
    std::array<bool, N> done{};
    for (;;) {
        std::size_t top = N;
        for (std::size_t row = 0; row < N; ++row) {
            if (done[row] || !InParent(table[row], parent) || !LeadsToFocus(table, row)) continue;
            if (top == N || table[row].Top < table[top].Top) top = row;
        }
        if (top == N) return;
        std::size_t next = top;
        for (std::size_t row = 0; row < N; ++row) {
            if (done[row] || !InParent(table[row], parent) || !LeadsToFocus(table, row)) continue;
            if (OnOneLine(table[row], table[top]) && table[row].Left < table[next].Left) next = row;
        }
        done[next] = true;
        if (TakesFocus(table[next].Kind)) order.Rows[order.Count++] = next;
        if (table[next].Host) AppendInReadingOrder(table, table[next].Host, order);
    }
}

// The tab order: every control that takes the focus, in reading order within its panel.
template <std::size_t N>
consteval RowList<N> TabOrder(const LayoutRow (&table)[N])
{
    RowList<N> order;
    AppendInReadingOrder(table, nullptr, order);
    return order;
}

// The option buttons in one panel are one group, numbered after the panel's row; 0 for
// other rows.
template <std::size_t N>
consteval std::array<int, N> OptionGroups(const LayoutRow (&table)[N])
{
    std::array<int, N> groups{};
    for (std::size_t row = 0; row < N; ++row) {
        if (table[row].Kind != Holds::OptionButton) continue;
        groups[row] = table[row].Parent ? static_cast<int>(RowOfHost(table, table[row].Parent)) + 1 : static_cast<int>(N) + 1;
    }
    return groups;
}

}  // namespace layout

// Which names a LayoutName takes: any part's, a wrapper's, or a host panel's.
enum class PartKind { Any, Control, Panel };

// A name of a layout table, found when the program is built.
template <const auto& Table, PartKind What = PartKind::Any>
class LayoutName {
public:
    // A name the table does not have (as a part of this kind) makes no constant
    // expression, and the build fails here.
    consteval LayoutName(const wchar_t* name) : row_(Find(name)), host_(layout::Named(Table[row_].Host, name)) {}

    std::size_t Index() const { return row_; }
    const LayoutRow& Row() const { return Table[row_]; }
    // The name is the host panel's rather than its control's.
    bool IsHost() const { return host_; }
    const wchar_t* Text() const { return host_ ? Table[row_].Host : Table[row_].Name; }
    friend bool operator==(const LayoutName&, const LayoutName&) = default;

private:
    static consteval std::size_t Find(std::wstring_view name)
    {
        for (std::size_t row = 0; row < std::size(Table); ++row) {
            const LayoutRow& r = Table[row];
            bool wrapper = layout::WrapperKind(r.Kind) != 0;
            if (What != PartKind::Panel && layout::Named(r.Name, name) && (wrapper || What == PartKind::Any)) return row;
            if (What != PartKind::Control && layout::Named(r.Host, name)) return row;
        }
        throw "no part of this name and kind in the layout table";
    }

    std::size_t row_;
    bool host_;
};

// The host panels, wrappers and scroll bars of a layout table, made in table order.
template <const auto& Table>
class WindowParts {
public:
    static constexpr std::size_t kRows = std::size(Table);
    static_assert(layout::IsSound(Table), "a layout table repeats a name or names a parent before it is made");

    WindowParts() = default;
    WindowParts(const WindowParts&) = delete;
    WindowParts& operator=(const WindowParts&) = delete;

    // Makes every row's panel and what the wrappers make; the controls are enabled.
    void Create(HWND window)
    {
        for (std::size_t row = 0; row < kRows; ++row) {
            const LayoutRow& r = Table[row];
            HWND parent = r.Parent ? panels_[kParents[row]].hwnd() : window;
            if (r.Host) panels_[row].Create(parent, r.Left, r.Top, r.Width, r.Height);
            if (int kind = layout::WrapperKind(r.Kind)) {
                clsControl& control = controls_[kSlots[row]];
                control.TargetPictureBox(&panels_[row]);
                if (r.Border) control.BorderStyle(r.Border);
                control.Create(kind);
                if (r.Caption) control.Text(r.Caption);
                control.Enabled(true);
            } else if (r.Kind == Holds::ScrollBar) {
                bars_[row].Reset(CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 0, 0,
                                                 parent, nullptr, GetModuleHandleW(nullptr), nullptr));
            }
        }
    }

    HostPanel& Panel(LayoutName<Table, PartKind::Panel> name) { return panels_[name.Index()]; }
    const HostPanel& Panel(LayoutName<Table, PartKind::Panel> name) const { return panels_[name.Index()]; }
    clsControl& Control(LayoutName<Table, PartKind::Control> name) { return controls_[kSlots[name.Index()]]; }
    const clsControl& Control(LayoutName<Table, PartKind::Control> name) const
    {
        return controls_[kSlots[name.Index()]];
    }
    // The wrapper of a row, for code that goes through the table; null for a row
    // holding another kind of control or none.
    const clsControl* ControlAt(std::size_t row) const
    {
        return layout::WrapperKind(Table[row].Kind) ? &controls_[kSlots[row]] : nullptr;
    }
    clsControl* ControlAt(std::size_t row)
    {
        return layout::WrapperKind(Table[row].Kind) ? &controls_[kSlots[row]] : nullptr;
    }

    // The native window of a part: a panel, or the control a row holds (for controls
    // the window made itself, the one window in their host).
    HWND Window(LayoutName<Table> name) const
    {
        return name.IsHost() ? panels_[name.Index()].hwnd() : ControlWindow(name.Index());
    }

    // The controls in tab order, once the window has made its own controls too.
    std::vector<TabStop> TabStops() const
    {
        std::vector<TabStop> stops;
        for (std::size_t i = 0; i < kTabOrder.Count; ++i)
            stops.push_back({ControlWindow(kTabOrder.Rows[i]), kGroups[kTabOrder.Rows[i]]});
        return stops;
    }

    // Draws the frames of the table in a panel, or in the window for none.
    void DrawFrames(HDC dc, const wchar_t* panel = nullptr) const
    {
        for (const LayoutRow& r : Table) {
            if (r.Kind != Holds::Frame || !layout::InParent(r, panel)) continue;
            RECT frame{TwipsToPixelsX(r.Left), TwipsToPixelsY(r.Top), TwipsToPixelsX(r.Left + r.Width),
                       TwipsToPixelsY(r.Top + r.Height)};
            DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        }
    }

private:
    HWND ControlWindow(std::size_t row) const
    {
        if (layout::WrapperKind(Table[row].Kind)) return controls_[kSlots[row]].hwnd();
        if (Table[row].Kind == Holds::ScrollBar) return bars_[row].Get();
        return GetWindow(panels_[row].hwnd(), GW_CHILD);
    }

    static constexpr layout::RowList<kRows> kTabOrder = layout::TabOrder(Table);
    static constexpr std::array<int, kRows> kGroups = layout::OptionGroups(Table);
    static constexpr std::array<std::size_t, kRows> kParents = layout::ParentRows(Table);
    static constexpr std::array<std::size_t, kRows> kSlots = layout::WrapperSlots(Table);

    // Panels first: each wrapper is released before its host.
    std::array<HostPanel, kRows> panels_;
    std::array<UniqueWindow, kRows> bars_;
    std::array<clsControl, layout::WrapperCount(Table)> controls_;
};
