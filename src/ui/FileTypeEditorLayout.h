#pragma once
// The file-type editor's panels and controls. Positions are twips relative to the
// parent panel; parents come before their children. The tab order is the reading order
// of the table (Layout.h), with the editing panel after the browsing controls.
#include "ui/Layout.h"

// Twips. The window shows one panel's width; designed, the editing panel fraFF sits
// beside the group list, and is moved over it when the window loads.
inline constexpr int kEditorWidth = 4695;
inline constexpr int kEditorDesignedWidth = 2 * kEditorWidth;
inline constexpr int kEditorHeight = 3840;  // the client area

inline constexpr LayoutRow kEditorLayout[] = {
    // name          host            parent     left         top  width height  kind               caption                  border key
    {L"LvFFs",       L"picFFs",      nullptr,   45,           60, 2610, 3570, Holds::ListView, nullptr,                  0, nullptr},
    {L"cmdNewFF",    L"picNewFF",    nullptr,   2745,         75, 1800,  400, Holds::Button,   L"新 增",                 0, nullptr},
    {L"cmdEditFF",   L"picEditFF",   nullptr,   2745,        540, 1800,  400, Holds::Button,   L"編 輯",                 0, nullptr},
    {L"cmdDelFF",    L"picDelFF",    nullptr,   2745,       1005, 1800,  400, Holds::Button,   L"刪 除",                 0, nullptr},
    {L"cmdRestore",  L"picRestore",  nullptr,   2745,       1455, 1800,  400, Holds::Button,   L"還原預設設定",          0, nullptr},
    {L"cmdDone",     L"picDone",     nullptr,   2745,       2790, 1800,  400, Holds::Button,   L"儲 存",                 0, nullptr},
    {L"cmdCancel",   L"picCancel",   nullptr,   2745,       3255, 1800,  400, Holds::Button,   L"返回主畫面",            0, nullptr},
    // The editing panel
    {nullptr,        L"fraFF",       nullptr,   kEditorWidth,  0, 4680, 3750, Holds::Nothing,  nullptr,                  0, nullptr},
    {L"lblDesc",     L"picExeDesc",  L"fraFF",  105,         150,  900,  240, Holds::Label,    L"指定名稱：",            0, nullptr},
    {L"txtDesc",     L"picDesc",     L"fraFF",  105,         525, 4450,  330, Holds::TextBox,  nullptr,                  3, nullptr},
    {L"LvExts",      L"picLvExts",   L"fraFF",  105,        1020, 2550, 2595, Holds::ListView, nullptr,                  0, nullptr},
    {L"lblExe",      L"picExec",     L"fraFF",  2790,       1050, 1770,  240, Holds::Label,    L"副檔名範例：*.txt",     0, nullptr},
    {L"txtExe",      L"picExe",      L"fraFF",  2715,       1410, 1800,  330, Holds::TextBox,  nullptr,                  3, nullptr},
    {L"cmdExtAdd",   L"picExtAdd",   L"fraFF",  2715,       1905, 1800,  400, Holds::Button,   L"加 入",                 0, nullptr},
    {L"cmdExtDel",   L"picExtDel",   L"fraFF",  2715,       2355, 1800,  400, Holds::Button,   L"移 除",                 0, nullptr},
    {L"cmdFFSave",   L"picFFSave",   L"fraFF",  2715,       2805, 1800,  400, Holds::Button,   L"儲 存",                 0, nullptr},
    {L"cmdFFCancel", L"picFFCancel", L"fraFF",  2715,       3255, 1800,  400, Holds::Button,   L"取 消",                 0, nullptr},
};

using EditorPart = LayoutName<kEditorLayout>;
using EditorControl = LayoutName<kEditorLayout, PartKind::Control>;
using EditorPanel = LayoutName<kEditorLayout, PartKind::Panel>;

// The lists' columns: width in pixels (0 hides a column that keeps its texts), header.
struct ListColumn {
    EditorPart List;
    int Width;
    const wchar_t* Header;
};
inline constexpr ListColumn kEditorColumns[] = {
    {L"LvExts", 145, L"副檔名清單"},
    {L"LvFFs", 145, L"副檔名備份清單"},  // the group's title
    {L"LvFFs", 0, L"副檔名"},           // its patterns, joined with ";"
};
