#pragma once
// The main window's panels, controls and frames. Positions are twips relative to the
// parent panel; parents come before their children. The labels' texts here are their
// start texts; the output folder, kept as SavePath, is no control. The tab order is the
// reading order of the table (Layout.h).
#include "settings/Settings.h"
#include "ui/Layout.h"

// The client area, in twips.
inline constexpr int kMainWidth = 7350;
inline constexpr int kMainHeight = 6450;

inline constexpr LayoutRow kMainLayout[] = {
    // name              host                 parent          left   top  width height  kind                caption              border key
    {L"Treeview",        L"picTreeView",      nullptr,          45,   45, 3950, 5235, Holds::TreeView,     nullptr,              0, L"ExplorerPath"},
    {nullptr,            L"picDefFile",       nullptr,          45, 5325, 3950,  750, Holds::Nothing,      nullptr,              0, nullptr},
    {nullptr,            nullptr,             nullptr,        4065,  150, 3195, 2070, Holds::Frame,        nullptr,              0, nullptr},
    {L"lblSaveOption",   L"picSaveOption",    nullptr,        4140,   60,  810,  240, Holds::Label,        L" 儲存選項",         0, nullptr},
    {nullptr,            L"Picture1",         nullptr,        4170,  330, 3030, 1875, Holds::Nothing,      nullptr,              0, nullptr},
    {nullptr,            L"picScrollBox",     nullptr,        4065, 2295, 3200, 3330, Holds::Nothing,      nullptr,              0, nullptr},
    {L"cmdSave",         L"picSave",          nullptr,        5415, 5685,  900,  370, Holds::Button,       L"儲 存",             0, nullptr},
    {L"cmdStop",         L"picStop",          nullptr,        5415, 5685,  900,  370, Holds::Button,       L"停 止",             0, nullptr},
    {L"cmdExit",         L"picExit",          nullptr,        6345, 5685,  900,  370, Holds::Button,       L"離 開",             0, nullptr},
    {nullptr,            L"picStatusBar",     nullptr,           0, 6105, 7350,  340, Holds::Nothing,      nullptr,              0, nullptr},
    // The save options
    {L"lblMode",         L"picMode",          L"Picture1",      15,   60,  360,  240, Holds::Label,        L"模式",              0, nullptr},
    {L"comSaveMode",     L"picSaveMode",      L"Picture1",     480,    0, 1170,  330, Holds::DropList,     nullptr,              0, L"SaveMode"},
    {L"lblSaveFormat",   L"picSaveFormat",    L"Picture1",    1755,   60,  360,  240, Holds::Label,        L"格式",              0, nullptr},
    {L"comFormat",       L"picFormat",        L"Picture1",    2220,    0,  765,  330, Holds::DropList,     nullptr,              0, L"Format"},
    {L"chkEasy",         L"picEasy",          L"Picture1",       0,  405, 2070,  240, Holds::CheckBox,     L"使用簡易的儲存模式", 0, nullptr},
    {L"chkDelEXE",       L"picDelEXE",        L"Picture1",     315,  705, 1290,  240, Holds::CheckBox,     L"移除副檔名",        0, nullptr},
    {L"chkFullPath",     L"picFullPath",      L"Picture1",    1620,  705, 1290,  240, Holds::CheckBox,     L"完整路徑",          0, nullptr},
    {nullptr,            L"lblSepExtra",      L"Picture1",       0, 1050, 3000,   60, Holds::Nothing,      nullptr,              0, nullptr},
    {L"chkSubDirSave",   L"picSubDirSave",    L"Picture1",       0, 1200, 1455,  240, Holds::CheckBox,     L"搜尋子資料夾",      0, L"ScanSubFolders"},
    {L"optIndentLevel0", L"picIndentLevel0",  L"Picture1",    1500, 1200, 1485,  240, Holds::OptionButton, L"無限目錄層次",      0, nullptr},
    {L"chkEmptyFolder",  L"picEmptyDirectory", L"Picture1",      0, 1530, 1500,  240, Holds::CheckBox,     L"忽略空資料夾",      0, L"EmptyDirectory"},
    {L"optIndentLevel1", L"picIndentLevel1",  L"Picture1",    1500, 1530,  800,  240, Holds::OptionButton, L"有限",              0, nullptr},
    {L"comIndentLevel",  L"picIndentLevel",   L"Picture1",    2220, 1485,  765,  330, Holds::DropList,     nullptr,              0, L"DirectoryLevel"},
    // The scrolling column of filters
    {nullptr,            L"picClient",        L"picScrollBox",  60,    0, 2820, 6225, Holds::Nothing,      nullptr,              0, nullptr},
    {L"vscScroll",       nullptr,             L"picScrollBox",   0,    0,    0,    0, Holds::ScrollBar,    nullptr,              0, nullptr},
    {L"lblFileAttrs",    L"picFileAttrs",     L"picClient",    135,   60,  810,  240, Holds::Label,        L" 檔案屬性",         0, nullptr},
    {nullptr,            nullptr,             L"picClient",     45,  165, 2730,  570, Holds::Frame,        nullptr,              0, nullptr},
    {L"chkSystemSave",   L"picSystemSave",    L"picClient",    210,  360,  800,  240, Holds::CheckBox,     L"系統",              0, L"ScanSystem"},
    {L"chkHiddenSave",   L"picHiddenSave",    L"picClient",   1035,  360,  800,  240, Holds::CheckBox,     L"隱藏",              0, L"ScanHidden"},
    {L"chkReadOnlySave", L"picReadOnlySave",  L"picClient",   1860,  360,  800,  240, Holds::CheckBox,     L"唯讀",              0, L"ScanReadOnly"},
    {L"lblSort",         L"picSort",          L"picClient",    135,  840,  810,  240, Holds::Label,        L" 檔案排序",         0, nullptr},
    {nullptr,            nullptr,             L"picClient",     45,  945, 2730,  960, Holds::Frame,        nullptr,              0, nullptr},
    {L"cboSortSave",     L"picSortSave",      L"picClient",    195, 1155, 2430,  330, Holds::DropList,     nullptr,              0, L"SortSave"},
    {L"optAscSave0",     L"picAscSave0",      L"picClient",    555, 1545,  800,  240, Holds::OptionButton, L"遞增",              0, nullptr},
    {L"optAscSave1",     L"picAscSave1",      L"picClient",   1410, 1545,  800,  240, Holds::OptionButton, L"遞減",              0, nullptr},
    {L"lblFile",         L"picFile",          L"picClient",    135, 2025,  810,  240, Holds::Label,        L" 檔案大小",         0, nullptr},
    {nullptr,            nullptr,             L"picClient",     45, 2115, 2730, 1470, Holds::Frame,        nullptr,              0, nullptr},
    {L"lblFileSize",     L"picFileSize",      L"picClient",    210, 2415,  540,  240, Holds::Label,        L"大小：",            0, nullptr},
    {L"cboSize",         L"picSize",          L"picClient",    795, 2340, 1815,  330, Holds::DropList,     nullptr,              0, L"Size"},
    {L"lblSizeForm",     L"picSizeForm",      L"picClient",    210, 2805,  540,  240, Holds::Label,        L"小於：",            0, nullptr},
    {L"txtMinSize",      L"picSize0",         L"picClient",    795, 2745, 1100,  330, Holds::TextBox,      nullptr,              3, L"Size0"},
    {L"cboSizeType0",    L"picSizeType0",     L"picClient",   1905, 2745,  700,  330, Holds::DropList,     nullptr,              0, L"SizeType0"},
    {L"lblSizeTo",       L"picSizeTo",        L"picClient",    210, 3210,  540,  240, Holds::Label,        L"大於：",            0, nullptr},
    {L"txtMaxSize",      L"picSize1",         L"picClient",    795, 3150, 1100,  330, Holds::TextBox,      nullptr,              3, L"Size1"},
    {L"cboSizeType1",    L"picSizeType1",     L"picClient",   1905, 3150,  700,  330, Holds::DropList,     nullptr,              0, L"SizeType1"},
    {L"lblSizes",        L"picSizes",         L"picClient",    135, 3720,  810,  240, Holds::Label,        L" 檔案時間",         0, nullptr},
    {nullptr,            nullptr,             L"picClient",     45, 3810, 2730, 1470, Holds::Frame,        nullptr,              0, nullptr},
    {L"lblTime",         L"picTime",          L"picClient",    210, 4080,  540,  240, Holds::Label,        L"時間：",            0, nullptr},
    {L"cboDate",         L"picDate",          L"picClient",    795, 4035, 1830,  330, Holds::DropList,     nullptr,              0, L"Date"},
    {L"lblTmrForm",      L"picTmrForm",       L"picClient",    390, 4500,  360,  240, Holds::Label,        L"從：",              0, nullptr},
    {L"ClsDate1",        L"picDate1",         L"picClient",    795, 4440, 1830,  330, Holds::DatePicker,   nullptr,              0, nullptr},
    {L"lblTmrTo",        L"picTmrTo",         L"picClient",    390, 4875,  360,  240, Holds::Label,        L"到：",              0, nullptr},
    {L"ClsDate2",        L"picDate2",         L"picClient",    795, 4845, 1830,  330, Holds::DatePicker,   nullptr,              0, nullptr},
    {L"lblType",         L"picType",          L"picClient",    135, 5415,  810,  240, Holds::Label,        L" 檔案類型",         0, nullptr},
    {nullptr,            nullptr,             L"picClient",     45, 5505, 2730,  645, Holds::Frame,        nullptr,              0, nullptr},
    {L"cboFFSave",       L"picFFSave",        L"picClient",    210, 5715, 1770,  330, Holds::Combo,        nullptr,              0, L"SaveFilter"},
    {L"cmdEdit",         L"picFFEditSave",    L"picClient",   2010, 5700,  630,  340, Holds::Button,       L"編 輯",             0, nullptr},
};

// The filter column moves by steps of this many twips; a control reached with the
// keyboard comes into view with this many twips above and below it.
inline constexpr int kScrollStep = 120;
inline constexpr int kScrollMargin = 300;

// What the size labels read while cboSize asks for a range; otherwise their captions above.
inline constexpr const wchar_t* kSizeRangeFrom = L"從：";
inline constexpr const wchar_t* kSizeRangeTo = L"到：";

// Lines of text drawn into a panel: where the first starts and how far apart they are,
// in pixels.
struct DrawnLines {
    int Left, Top, Spacing;
};
inline constexpr DrawnLines kFolderInfoLines = {2, 2, 15};  // picDefFile
inline constexpr DrawnLines kStatusLine = {2, 3, 15};       // picStatusBar

// Whether a control of this kind holds the value of a key of this kind.
constexpr bool HoldsSetting(Holds kind, const SettingMember& member)
{
    if (std::holds_alternative<bool SettingsModel::*>(member)) return kind == Holds::CheckBox;
    if (std::holds_alternative<ListChoice SettingsModel::*>(member)) return kind == Holds::DropList;
    if (std::holds_alternative<ComboChoice SettingsModel::*>(member)) return kind == Holds::Combo;
    return kind == Holds::TextBox || kind == Holds::TreeView;
}

// Every key is one of Setting.ini's, kept by one control only, of a kind that holds
// that key's kind of value.
template <std::size_t N>
consteval bool KeysAreSettings(const LayoutRow (&table)[N])
{
    for (std::size_t row = 0; row < N; ++row) {
        const wchar_t* key = table[row].Key;
        if (!key) continue;
        const SettingField* field = FindSettingField(key);
        if (!field || !HoldsSetting(table[row].Kind, field->Member)) return false;
        for (std::size_t other = 0; other < row; ++other)
            if (layout::Named(table[other].Key, key)) return false;
    }
    return true;
}
static_assert(KeysAreSettings(kMainLayout), "a key of the main window's layout is not Setting.ini's, or repeats");

using MainPart = LayoutName<kMainLayout>;
using MainControl = LayoutName<kMainLayout, PartKind::Control>;
using MainPanel = LayoutName<kMainLayout, PartKind::Panel>;
