#include "ui/MainWindow.h"

#include <cmath>

#include "formats/NumberText.h"
#include "fs/FolderPath.h"
#include "run/ListingRun.h"
#include "run/OptionValues.h"
#include "run/OutputName.h"
#include "run/SaveOptions.h"
#include "ui/FileTypeEditor.h"
#include "ui/FolderHandOver.h"
#include "ui/FolderStatistics.h"
#include "ui/SystemMenu.h"
#include "ui/Texts.h"

namespace {

const wchar_t kCaption[] = L"Quorvane Ver 1.06";
const char kMutexName[] = "Quorvane Ver 1.06";
const wchar_t kReady[] = L"就緒 ...";
const wchar_t kSettingsNotSaved[] = L"設定檔無法儲存：";

constexpr int kClientLeft = 60;   // picClient inside picScrollBox, twips
constexpr int kScrollStep = 120;  // twips per scroll step

// Positions in twips, relative to the parent; parents come before their children.
const PanelSpec kPanels[] = {
    {L"picTreeView", nullptr, 45, 45, 3950, 5235},
    {L"picDefFile", nullptr, 45, 5325, 3950, 750},
    {L"picSaveOption", nullptr, 4140, 60, 810, 240},
    {L"Picture1", nullptr, 4170, 330, 3030, 1875},
    {L"picScrollBox", nullptr, 4065, 2295, 3200, 3330},
    {L"picSave", nullptr, 5415, 5685, 900, 370},
    {L"picStop", nullptr, 5415, 5685, 900, 370},
    {L"picExit", nullptr, 6345, 5685, 900, 370},
    {L"picStatusBar", nullptr, 0, 6105, 7350, 340},
    {L"picMode", L"Picture1", 15, 60, 360, 240},
    {L"picSaveMode", L"Picture1", 480, 0, 1170, 330},
    {L"picSaveFormat", L"Picture1", 1755, 60, 360, 240},
    {L"picFormat", L"Picture1", 2220, 0, 765, 330},
    {L"picEasy", L"Picture1", 0, 405, 2070, 240},
    {L"picDelEXE", L"Picture1", 315, 705, 1290, 240},
    {L"picFullPath", L"Picture1", 1620, 705, 1290, 240},
    {L"lblSepExtra", L"Picture1", 0, 1050, 3000, 60},
    {L"picSubDirSave", L"Picture1", 0, 1200, 1455, 240},
    {L"picIndentLevel0", L"Picture1", 1500, 1200, 1485, 240},
    {L"picEmptyDirectory", L"Picture1", 0, 1530, 1500, 240},
    {L"picIndentLevel1", L"Picture1", 1500, 1530, 800, 240},
    {L"picIndentLevel", L"Picture1", 2220, 1485, 765, 330},
    {L"picClient", L"picScrollBox", kClientLeft, 0, 2820, 6225},
    {L"picFileAttrs", L"picClient", 135, 60, 810, 240},
    {L"picSystemSave", L"picClient", 210, 360, 800, 240},
    {L"picHiddenSave", L"picClient", 1035, 360, 800, 240},
    {L"picReadOnlySave", L"picClient", 1860, 360, 800, 240},
    {L"picSort", L"picClient", 135, 840, 810, 240},
    {L"picSortSave", L"picClient", 195, 1155, 2430, 330},
    {L"picAscSave0", L"picClient", 555, 1545, 800, 240},
    {L"picAscSave1", L"picClient", 1410, 1545, 800, 240},
    {L"picFile", L"picClient", 135, 2025, 810, 240},
    {L"picFileSize", L"picClient", 210, 2415, 540, 240},
    {L"picSize", L"picClient", 795, 2340, 1815, 330},
    {L"picSizeForm", L"picClient", 210, 2805, 540, 240},
    {L"picSize0", L"picClient", 795, 2745, 1100, 330},
    {L"picSizeType0", L"picClient", 1905, 2745, 700, 330},
    {L"picSizeTo", L"picClient", 210, 3210, 540, 240},
    {L"picSize1", L"picClient", 795, 3150, 1100, 330},
    {L"picSizeType1", L"picClient", 1905, 3150, 700, 330},
    {L"picSizes", L"picClient", 135, 3720, 810, 240},
    {L"picTime", L"picClient", 210, 4080, 540, 240},
    {L"picDate", L"picClient", 795, 4035, 1830, 330},
    {L"picTmrForm", L"picClient", 390, 4500, 360, 240},
    {L"picDate1", L"picClient", 795, 4440, 1830, 330},
    {L"picTmrTo", L"picClient", 390, 4875, 360, 240},
    {L"picDate2", L"picClient", 795, 4845, 1830, 330},
    {L"picType", L"picClient", 135, 5415, 810, 240},
    {L"picFFSave", L"picClient", 210, 5715, 1770, 330},
    {L"picFFEditSave", L"picClient", 2010, 5700, 630, 340},
};

struct FrameSpec {
    int Left, Top, Width, Height;
};
const FrameSpec kSaveOptionsFrame = {4065, 150, 3195, 2070};
const FrameSpec kFilterFrames[] = {
    {45, 165, 2730, 570}, {45, 945, 2730, 960}, {45, 2115, 2730, 1470}, {45, 3810, 2730, 1470}, {45, 5505, 2730, 645},
};

RECT PixelRect(const FrameSpec& frame)
{
    return {TwipsToPixelsX(frame.Left), TwipsToPixelsY(frame.Top), TwipsToPixelsX(frame.Left + frame.Width),
            TwipsToPixelsY(frame.Top + frame.Height)};
}

SYSTEMTIME LocalNow()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

// Clears a panel and draws lines into it from pixel (2, top), 15 pixels apart. The
// texts are kept by the window, so a repaint draws them again.
void DrawLines(HostPanel* panel, const std::wstring* lines, std::size_t count, int top)
{
    if (!panel) return;
    panel->Cls();
    HDC dc = panel->hDC();
    SetBkMode(dc, TRANSPARENT);
    for (std::size_t i = 0; i < count; ++i)
        if (!lines[i].empty())
            TextOutW(dc, 2, top + 15 * static_cast<int>(i), lines[i].c_str(), static_cast<int>(lines[i].size()));
}

// Round half to even, as the scroll maximum is given.
int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

frmMain::frmMain(std::wstring programFolder) : programFolder_(std::move(programFolder)) {}

frmMain::~frmMain()
{
    engine_.Terminate();
    wheel_.Wheel = nullptr;
}

HWND frmMain::Window(std::wstring_view name) const
{
    if (name == L"frmMain") return form_.hwnd();
    if (name == L"vscScroll") return vscScroll_.Get();
    if (name == L"Treeview") return Treeview_.hwnd();
    if (name == L"ClsDate1") return ClsDate1_.hwnd();
    if (name == L"ClsDate2") return ClsDate2_.hwnd();
    return named_.Window(name);
}

void frmMain::CreatePanels()
{
    named_.MakePanels(kPanels, form_.hwnd());
    for (const wchar_t* name : {L"picTreeView", L"picDefFile", L"picStatusBar"}) Panel(name)->SetFont(L"Tahoma", 9);
    Panel(L"picStop")->Visible(false);

    // The scroll bar of the filter column, beside picClient in the viewport.
    vscScroll_.Reset(CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 0, 0,
                                     Panel(L"picScrollBox")->hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr));
}

void frmMain::CreateControls()
{
    using K = clsControl;
    named_.MakeControl(L"txtMinSize", L"picSize0", K::TextBox, nullptr, 3);
    named_.MakeControl(L"txtMaxSize", L"picSize1", K::TextBox, nullptr, 3);
    named_.MakeControl(L"optAscSave0", L"picAscSave0", K::OptionButton, L"遞增").Checked(true);
    named_.MakeControl(L"optAscSave1", L"picAscSave1", K::OptionButton, L"遞減").Checked(false);
    named_.MakeControl(L"optIndentLevel0", L"picIndentLevel0", K::OptionButton, L"無限目錄層次").Checked(true);
    named_.MakeControl(L"optIndentLevel1", L"picIndentLevel1", K::OptionButton, L"有限").Checked(false);
    named_.MakeControl(L"cboFFSave", L"picFFSave", K::ComboDropDown);
    named_.MakeControl(L"cboSortSave", L"picSortSave", K::ComboDropDownList);
    named_.MakeControl(L"comSaveMode", L"picSaveMode", K::ComboDropDownList);
    named_.MakeControl(L"cboDate", L"picDate", K::ComboDropDownList);
    named_.MakeControl(L"cboSize", L"picSize", K::ComboDropDownList);
    named_.MakeControl(L"cboSizeType0", L"picSizeType0", K::ComboDropDownList);
    named_.MakeControl(L"cboSizeType1", L"picSizeType1", K::ComboDropDownList);
    named_.MakeControl(L"comFormat", L"picFormat", K::ComboDropDownList);
    named_.MakeControl(L"comIndentLevel", L"picIndentLevel", K::ComboDropDownList);
    named_.MakeControl(L"chkSystemSave", L"picSystemSave", K::CheckBox, L"系統");
    named_.MakeControl(L"chkHiddenSave", L"picHiddenSave", K::CheckBox, L"隱藏");
    named_.MakeControl(L"chkReadOnlySave", L"picReadOnlySave", K::CheckBox, L"唯讀");
    named_.MakeControl(L"chkEasy", L"picEasy", K::CheckBox, L"使用簡易的儲存模式");
    named_.MakeControl(L"chkDelEXE", L"picDelEXE", K::CheckBox, L"移除副檔名");
    named_.MakeControl(L"chkFullPath", L"picFullPath", K::CheckBox, L"完整路徑");
    named_.MakeControl(L"chkSubDirSave", L"picSubDirSave", K::CheckBox, L"搜尋子資料夾");
    named_.MakeControl(L"chkEmptyFolder", L"picEmptyDirectory", K::CheckBox, L"忽略空資料夾");
    named_.MakeControl(L"lblMode", L"picMode", K::Label, L"模式");
    named_.MakeControl(L"lblSaveFormat", L"picSaveFormat", K::Label, L"格式");
    named_.MakeControl(L"lblFileSize", L"picFileSize", K::Label, L"大小：");
    named_.MakeControl(L"lblSizeForm", L"picSizeForm", K::Label, L"小於：");
    named_.MakeControl(L"lblSizeTo", L"picSizeTo", K::Label, L"大於：");
    named_.MakeControl(L"lblTime", L"picTime", K::Label, L"時間：");
    named_.MakeControl(L"lblTmrForm", L"picTmrForm", K::Label, L"從：");
    named_.MakeControl(L"lblTmrTo", L"picTmrTo", K::Label, L"到：");
    named_.MakeControl(L"lblSaveOption", L"picSaveOption", K::Label, L" 儲存選項");
    named_.MakeControl(L"lblFileAttrs", L"picFileAttrs", K::Label, L" 檔案屬性");
    named_.MakeControl(L"lblSort", L"picSort", K::Label, L" 檔案排序");
    named_.MakeControl(L"lblFile", L"picFile", K::Label, L" 檔案大小");
    named_.MakeControl(L"lblSizes", L"picSizes", K::Label, L" 檔案時間");
    named_.MakeControl(L"lblType", L"picType", K::Label, L" 檔案類型");
    named_.MakeControl(L"cmdSave", L"picSave", K::CommandButton, L"儲 存");
    named_.MakeControl(L"cmdStop", L"picStop", K::CommandButton, L"停 止");
    named_.MakeControl(L"cmdExit", L"picExit", K::CommandButton, L"離 開");
    named_.MakeControl(L"cmdEdit", L"picFFEditSave", K::CommandButton, L"編 輯");

    SYSTEMTIME now = LocalNow();
    OleDate today = OleDateFromSystemTime(now).value_or(0);
    for (auto [picker, host] : {std::pair{&ClsDate1_, L"picDate1"}, std::pair{&ClsDate2_, L"picDate2"}}) {
        picker->Style(ClsDate::StyleDate);
        picker->PictureBox(Panel(host));
        picker->Create();
        picker->Value(today);
        picker->Enabled(true);
    }
}

void frmMain::FillLists()
{
    auto fill = [this](const wchar_t* name, std::initializer_list<const wchar_t*> items) {
        for (const wchar_t* item : items) Control(name)->AddItem(item);
    };
    fill(L"cboSortSave", {L"不排序", L"檔案名稱", L"副檔名", L"檔案大小", L"起始建立時間", L"最後修改時間", L"最後存取時間"});
    fill(L"comSaveMode", {L"僅檔案", L"僅資料夾", L"兩者皆是"});
    fill(L"cboDate", {L"不指定", L"修改日期", L"建立日期", L"最後存取日期"});
    fill(L"cboSize", {L"不指定", L"至少", L"至多", L"兩者"});
    fill(L"cboSizeType0", {L"KB", L"MB"});
    fill(L"cboSizeType1", {L"KB", L"MB"});
    fill(L"comFormat", {L"TXT", L"CSV", L"HTML", L"樹狀"});
    clsControl* levels = Control(L"comIndentLevel");
    for (int level = 1; level <= kDeepestDepthLimit; ++level) levels->AddItem(std::to_wstring(level));
    levels->Enabled(false);
    Control(L"chkDelEXE")->Enabled(false);
    Control(L"chkFullPath")->Enabled(false);
}

void frmMain::WireEvents()
{
    auto on = [this](const wchar_t* name, void (frmMain::*reaction)()) {
        Control(name)->Click = [this, reaction] { (this->*reaction)(); };
    };
    on(L"cboSize", &frmMain::SizeRule);
    on(L"cboDate", &frmMain::TimeRule);
    on(L"cboSortSave", &frmMain::SortRule);
    on(L"comSaveMode", &frmMain::SaveModeRule);
    on(L"chkEasy", &frmMain::EasyModeRule);
    on(L"cboFFSave", &frmMain::FileTypeChoice);
    on(L"cmdEdit", &frmMain::EditFileTypes);
    on(L"cmdSave", &frmMain::cmdSave_Click);
    on(L"cmdStop", &frmMain::cmdStop_Click);
    Control(L"cmdExit")->Click = [this] { form_.Close(); };

    auto pair = [this](const wchar_t* chosen, const wchar_t* other, int levelList) {
        Control(chosen)->Click = [this, chosen, other, levelList] {
            Control(chosen)->Checked(true);
            Control(other)->Checked(false);
            if (levelList >= 0) Control(L"comIndentLevel")->Enabled(levelList == 1);
        };
    };
    pair(L"optAscSave0", L"optAscSave1", -1);
    pair(L"optAscSave1", L"optAscSave0", -1);
    pair(L"optIndentLevel0", L"optIndentLevel1", 0);
    pair(L"optIndentLevel1", L"optIndentLevel0", 1);


    Panel(L"picClient")->Paint = [this](HDC dc) { PaintFrames(dc, true); };
    Panel(L"lblSepExtra")->Paint = [this](HDC dc) {
        RECT line{0, 0, TwipsToPixelsX(3000), TwipsToPixelsY(60)};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    };
    Panel(L"picStatusBar")->Paint = [this](HDC) { DrawStatus(); };
    Panel(L"picDefFile")->Paint = [this](HDC) { DrawFolderInfo(); };
}

bool frmMain::Load()
{
    HANDLE mutex = CreateMutexA(nullptr, TRUE, kMutexName);
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
        return false;
    }
    mutex_.Reset(mutex);

    if (!form_.Create(kCaption, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0, 7350,
                      6450))
        return false;
    form_.Unload = [this] { Unload(); };
    engine_.Subclass(form_.hwnd(), this);
    engine_.AddMessage(form_.hwnd(), WM_CLOSE, SubclassBefore);
    engine_.AddMessage(form_.hwnd(), WM_PAINT, SubclassAfter);
    engine_.AddMessage(form_.hwnd(), WM_QUERYENDSESSION, SubclassBefore);
    engine_.AddMessage(form_.hwnd(), WM_ENDSESSION, SubclassBefore);

    CreatePanels();
    CreateControls();
    FillLists();

    Treeview_.TargetPictureBox(Panel(L"picTreeView"));
    // Raised for every change of the selection, the root and no selection included.
    Treeview_.MouseClick = [this](HTREEITEM node) { OnTreeSelection(node); };
    Treeview_.Create();
    Treeview_.pvAddDrives();
    Treeview_.pvTVExpand(Treeview_.pvTVGetRoot());

    fileTypes_ = LoadFileTypeTable(programFolder_);
    for (const FileTypeEntry& entry : fileTypes_) Control(L"cboFFSave")->AddItem(entry.Title);

    wheel_.Init(form_.hwnd());
    wheel_.Wheel = [this](int delta) { OnWheel(delta); };
    engine_.Subclass(Panel(L"picScrollBox")->hwnd(), this);
    engine_.AddMessage(Panel(L"picScrollBox")->hwnd(), WM_VSCROLL, SubclassBefore);

    job_ = JobInfo();
    DispSaveJob(job_);

    SettingsModel model = ReadSettingsModel();
    LoadSettings(model, fileTypes_, programFolder_);
    if (!startFolder_.empty()) model.ExplorerPath = startFolder_;
    ApplySettingsModel(model);

    ShowStatus(kReady);
    form_.Caption(kCaption);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (const wchar_t* name : {L"picScrollBox", L"picClient", L"Picture1"}) Panel(name)->BackColor(face);
    form_.BackColor(face);
    for (const wchar_t* name : {L"picDefFile", L"picScrollBox", L"picStatusBar"})
        ChangeWindowStyle(Panel(name)->hwnd(), GWL_EXSTYLE, WS_EX_STATICEDGE, WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE);
    LayoutScrollArea();

    SizeRule();
    TimeRule();
    SortRule();
    SaveModeRule();

    WireEvents();
    AcceptFolders();
    form_.Show();
    return true;
}

void frmMain::PaintFrames(HDC dc, bool client)
{
    if (client) {
        for (const FrameSpec& frame : kFilterFrames) {
            RECT rect = PixelRect(frame);
            DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT);
        }
        return;
    }
    RECT rect = PixelRect(kSaveOptionsFrame);
    DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT);
}

void frmMain::WndProc(bool, bool& bHandled, LRESULT& lReturn, HWND lHwnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                      LONG_PTR&)
{
    if (uMsg == WM_COPYDATA) {
        auto folder = HandedOverFolder(lParam);
        if (folder) OnFolderHandedOver(*folder);
        bHandled = folder.has_value();
        lReturn = folder ? TRUE : FALSE;
        return;
    }
    if (uMsg == WM_DROPFILES) {
        if (auto folder = FirstDroppedFolder(reinterpret_cast<HDROP>(wParam))) SelectFolder(*folder);
        bHandled = true;
        lReturn = 0;
        return;
    }
    if (uMsg == WM_CLOSE && runActive_) {
        // A stopped walk is still unwinding through this window's controls: close when it returns.
        closePending_ = true;
        state_.StopRequested = true;
        bHandled = true;
        lReturn = 0;
    } else if (uMsg == WM_QUERYENDSESSION) {
        bHandled = true;
        lReturn = TRUE;
    } else if (uMsg == WM_ENDSESSION) {
        if (wParam) EndSession();
        bHandled = true;
        lReturn = 0;
    } else if (uMsg == WM_PAINT && lHwnd == form_.hwnd()) {
        HDC dc = GetDC(lHwnd);
        PaintFrames(dc, false);
        ReleaseDC(lHwnd, dc);
    } else if (uMsg == WM_VSCROLL) {
        int value = ScrollValue();
        switch (LOWORD(wParam)) {
        case SB_LINEUP: --value; break;
        case SB_LINEDOWN: ++value; break;
        case SB_PAGEUP: value -= 5; break;
        case SB_PAGEDOWN: value += 5; break;
        case SB_TOP: value = 0; break;
        case SB_BOTTOM: value = ScrollMax(); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: value = HIWORD(wParam); break;
        default: return;
        }
        ScrollTo(value);
        bHandled = true;
        lReturn = 0;
    }
}

// ---- Scrolling of the filter column

void frmMain::LayoutScrollArea()
{
    HostPanel* box = Panel(L"picScrollBox");
    HostPanel* client = Panel(L"picClient");
    client->Move(kClientLeft, 0, client->Width(), client->Height());
    int barWidth = static_cast<int>(GetSystemMetrics(SM_CYHSCROLL) * TwipsPerPixelX());
    int innerWidth = box->ScaleWidth();
    int innerHeight = box->ScaleHeight();
    MoveWindow(vscScroll_.Get(), TwipsToPixelsX(innerWidth - barWidth), 0, TwipsToPixelsX(barWidth),
               TwipsToPixelsY(innerHeight), TRUE);
    int maximum = RoundHalfEven(static_cast<double>(client->Height() - innerHeight) / kScrollStep);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = maximum < 0 ? 0 : maximum;
    info.nPage = 0;
    info.nPos = 0;
    SetScrollInfo(vscScroll_.Get(), SB_CTL, &info, TRUE);
}

int frmMain::ScrollValue() const { return GetScrollPos(vscScroll_.Get(), SB_CTL); }

int frmMain::ScrollMax() const
{
    int minimum = 0, maximum = 0;
    GetScrollRange(vscScroll_.Get(), SB_CTL, &minimum, &maximum);
    return maximum;
}

void frmMain::ScrollTo(int value)
{
    if (value < 0) value = 0;
    if (value > ScrollMax()) value = ScrollMax();
    SetScrollPos(vscScroll_.Get(), SB_CTL, value, TRUE);
    HostPanel* client = Panel(L"picClient");
    client->Move(client->Left(), -kScrollStep * value, client->Width(), client->Height());
}

void frmMain::OnWheel(int delta)
{
    if (delta == 0) return;
    int value = ScrollValue();
    int target = delta < 0 ? std::min(value + 2, ScrollMax()) : std::max(value - 2, 0);
    if (target != value) ScrollTo(target);
}

// ---- Rules between the options

int frmMain::Choice(const wchar_t* name) const { return Control(name)->ListIndex(); }

void frmMain::SizeRule()
{
    int mode = Choice(L"cboSize");
    bool first = mode == 1 || mode == 3 || mode < 0;
    bool second = mode == 2 || mode == 3 || mode < 0;
    for (const wchar_t* name : {L"lblSizeForm", L"txtMinSize", L"cboSizeType0"}) Control(name)->Enabled(first);
    for (const wchar_t* name : {L"lblSizeTo", L"txtMaxSize", L"cboSizeType1"}) Control(name)->Enabled(second);
    bool range = mode == 3 || mode < 0;
    Control(L"lblSizeForm")->Text(range ? L"從：" : L"小於：");
    Control(L"lblSizeTo")->Text(range ? L"到：" : L"大於：");
}

void frmMain::TimeRule()
{
    bool enabled = Choice(L"cboDate") != 0;
    ClsDate1_.Enabled(enabled);
    ClsDate2_.Enabled(enabled);
    Control(L"lblTmrForm")->Enabled(enabled);
    Control(L"lblTmrTo")->Enabled(enabled);
}

void frmMain::SortRule()
{
    bool enabled = Choice(L"cboSortSave") != 0;
    Control(L"optAscSave0")->Enabled(enabled);
    Control(L"optAscSave1")->Enabled(enabled);
}

void frmMain::SaveModeRule()
{
    int mode = Choice(L"comSaveMode");
    bool sorting = mode != 1;
    for (const wchar_t* name : {L"cboSortSave", L"optAscSave0", L"optAscSave1"}) Control(name)->Enabled(sorting);
    Control(L"chkEmptyFolder")->Enabled(mode == 1 || mode == 2);
}

void frmMain::EasyModeRule()
{
    bool easy = Control(L"chkEasy")->Checked();
    Control(L"chkDelEXE")->Enabled(easy);
    Control(L"chkFullPath")->Enabled(easy);
    Control(L"comFormat")->Enabled(!easy);
    Control(L"lblSaveFormat")->Enabled(!easy);
    Control(L"chkEmptyFolder")->Enabled(!easy);
}

void frmMain::FileTypeChoice()
{
    clsControl* types = Control(L"cboFFSave");
    int index = types->ListIndex();
    if (index >= 0 && static_cast<std::size_t>(index) < fileTypes_.size()) {
        job_.SetFileFilter(fileTypes_[static_cast<std::size_t>(index)].Type);
    } else {
        std::wstring text = types->Text();
        std::size_t first = text.find_first_not_of(L' ');
        std::size_t last = text.find_last_not_of(L' ');
        text = first == std::wstring::npos ? L"*" : text.substr(first, last - first + 1);
        job_.SetFileFilter(text);
    }
    job_.SetFolderFilter(L"*");
}

void frmMain::EditFileTypes()
{
    {
        frmFFEdit editor(programFolder_);
        editor.ShowModal();
    }
    fileTypes_ = LoadFileTypeTable(programFolder_);
    clsControl* types = Control(L"cboFFSave");
    std::wstring remembered = types->Text();
    types->Clear();
    int match = -1;
    for (std::size_t i = 0; i < fileTypes_.size(); ++i) {
        types->AddItem(fileTypes_[i].Title);
        if (CompareStringOrdinal(fileTypes_[i].Title.c_str(), -1, remembered.c_str(), -1, TRUE) == CSTR_EQUAL)
            match = static_cast<int>(i);
    }
    types->ListIndex(match);
    types->Text(remembered);
}

// ---- Folder tree and statistics

void frmMain::OnTreeSelection(HTREEITEM node)
{
    // A selection made while an earlier one was being counted is handled inside that
    // count; the earlier one's event, arriving afterwards, is stale.
    if (node != Treeview_.SelectedNode()) return;
    unsigned selection = ++selectionCount_;
    std::wstring folder = Treeview_.FolderOf(node);
    // The desktop root, no selection, or a node without a real folder cannot be listed.
    FolderSelected_ = !folder.empty() && folder.front() != L':';
    if (!FolderSelected_) {
        if (node != Treeview_.pvTVGetRoot()) {
            folderInfo_ = {};
            DrawFolderInfo();
        }
        return;
    }
    auto stillSelected = [this, selection] {
        return PumpPendingMessages() && selection == selectionCount_ && !unloaded_;
    };
    std::optional<FolderStatistics> statistics = CountFolder(AddTrailingBackslash(folder), stillSelected);
    if (!statistics || selection != selectionCount_) return;
    folderInfo_ = FolderStatisticsLines(*statistics);
    DrawFolderInfo();
}

void frmMain::DrawFolderInfo() { DrawLines(Panel(L"picDefFile"), folderInfo_.data(), folderInfo_.size(), 2); }

// ---- Save and Stop

void frmMain::ScrapeSaveJob()
{
    job_.SetRootFolder(Treeview_.Path());
    ApplyOptionsToJob(job_, ReadOptionValues(), fileTypes_);
}

void frmMain::DispSaveJob(const JobInfo& job)
{
    // The window's mode goes into the current job first; `job` may be that very job.
    ApplyListingMode(job_, Choice(L"comSaveMode"));
    Control(L"comSaveMode")->ListIndex(ListingModeOf(job));
}

OptionValues frmMain::ReadOptionValues() const
{
    OptionValues values;
    values.Saved = ReadSettingsModel();
    values.chkEasy = Control(L"chkEasy")->Checked();
    values.chkFullPath = Control(L"chkFullPath")->Checked();
    values.chkDelEXE = Control(L"chkDelEXE")->Checked();
    values.optAscSave0 = Control(L"optAscSave0")->Checked();
    values.optIndentLevel0 = Control(L"optIndentLevel0")->Checked();
    values.ClsDate1 = ClsDate1_.Value();
    values.ClsDate2 = ClsDate2_.Value();
    return values;
}

void frmMain::cmdSave_Click()
{
    // A stopped walk may still be unwinding; a new run waits until it has returned.
    if (!FolderSelected_ || runActive_) return;
    // Outside easy mode the format decides what is written: without one nothing would be.
    if (!Control(L"chkEasy")->Checked() && Choice(L"comFormat") < 0) {
        MessageBoxW(form_.hwnd(), kChooseFormat, kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ScrapeSaveJob();
    OptionValues values = ReadOptionValues();
    SizeWarning warning = PrepareRun(state_, job_, SizeControlsOf(values), TimeControlsOf(values), LocalNow());
    if (warning != SizeWarning::None) {
        MessageBoxW(form_.hwnd(), SizeWarningText(warning).c_str(), kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!chooser_.ChooseOutputFolder(form_.hwnd())) return;

    ListingOptions options = ListingOptionsOf(values);
    std::wstring path = OutputFileName(chooser_.OutputFolder(), LocalNow(), options.Format, options.EasyMode)
                            .value_or(std::wstring());
    runActive_ = true;
    RunResult result = RunListing(state_, job_, options, path, *this);
    runActive_ = false;

    if (!result.Started) {
        std::wstring text = CannotCreateText(path, result.WriteError);
        MessageBoxW(form_.hwnd(), text.c_str(), kProgramTitle, MB_OK | MB_ICONERROR);
    } else {
        std::wstring text = RunReportText(result);
        UINT icon = RunFailed(result) ? MB_ICONERROR : MB_ICONINFORMATION;
        if (!closePending_ && !sessionEnding_) MessageBoxW(form_.hwnd(), text.c_str(), kProgramTitle, MB_OK | icon);
        LockWindow(false);
        ShowStatus(kReady);
    }
    if (closePending_) {
        closePending_ = false;
        form_.Close();
    }
}

void frmMain::cmdStop_Click()
{
    state_.StopRequested = true;
    LockWindow(false);
}

void frmMain::EndSession()
{
    // The process may be ended as soon as this returns, even with the walk still on the
    // call stack (this arrives inside its message pump): the listing is completed now.
    sessionEnding_ = true;
    if (runActive_) FinishListingNow(state_);
    Unload();
}

void frmMain::LockWindow(bool locked)
{
    SetCloseMenuEnabled(form_.hwnd(), !locked);
    Control(L"cmdExit")->Enabled(!locked);
    for (const wchar_t* name : {L"Picture1", L"picScrollBox", L"picTreeView"}) Panel(name)->Enabled(!locked);
    Panel(L"picSave")->Visible(!locked);
    Panel(L"picStop")->Visible(locked);
}

void frmMain::RunStarting() { LockWindow(true); }

void frmMain::PumpMessages()
{
    if (!PumpPendingMessages()) state_.StopRequested = true;  // the program is quitting
}

void frmMain::ShowStatus(std::wstring_view text)
{
    statusText_.assign(text);
    DrawStatus();
}

void frmMain::DrawStatus() { DrawLines(Panel(L"picStatusBar"), &statusText_, 1, 3); }

// ---- Folders from outside: the program's argument, a second start, a drop

void frmMain::SelectAtStart(std::wstring_view folder) { startFolder_ = ExistingFolderPath(folder).value_or(L""); }

void frmMain::AcceptFolders()
{
    engine_.AddMessage(form_.hwnd(), WM_COPYDATA, SubclassBefore);
    engine_.AddMessage(form_.hwnd(), WM_DROPFILES, SubclassBefore);
    DragAcceptFiles(form_.hwnd(), TRUE);
}

void frmMain::SelectFolder(std::wstring_view folder)
{
    // The tree is locked during a run, and its root is taken already.
    if (runActive_) return;
    if (auto path = ExistingFolderPath(folder)) Treeview_.Path(*path);
}

void frmMain::OnFolderHandedOver(std::wstring_view folder)
{
    HWND window = form_.hwnd();
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    // A modal window (the file-type editor, a dialog) comes to the front in its owner's place.
    SetForegroundWindow(GetLastActivePopup(window));
    SelectFolder(folder);
}

// ---- Settings

namespace {

// The saved controls and the model members that mirror them, for reading and applying alike.
struct ListBinding {
    const wchar_t* Name;
    ListChoice SettingsModel::*Member;
};
const ListBinding kSavedLists[] = {
    {L"comSaveMode", &SettingsModel::comSaveMode}, {L"cboSortSave", &SettingsModel::cboSortSave},
    {L"comIndentLevel", &SettingsModel::comIndentLevel}, {L"cboDate", &SettingsModel::cboDate},
    {L"cboSize", &SettingsModel::cboSize}, {L"comFormat", &SettingsModel::comFormat},
    {L"cboSizeType0", &SettingsModel::cboSizeType0}, {L"cboSizeType1", &SettingsModel::cboSizeType1},
};

struct CheckBinding {
    const wchar_t* Name;
    bool SettingsModel::*Member;
};
const CheckBinding kSavedChecks[] = {
    {L"chkEmptyFolder", &SettingsModel::chkEmptyFolder}, {L"chkSubDirSave", &SettingsModel::chkSubDirSave},
    {L"chkSystemSave", &SettingsModel::chkSystemSave},   {L"chkHiddenSave", &SettingsModel::chkHiddenSave},
    {L"chkReadOnlySave", &SettingsModel::chkReadOnlySave},
};

struct TextBinding {
    const wchar_t* Name;
    std::wstring SettingsModel::*Member;
};
const TextBinding kSavedTexts[] = {
    {L"txtMinSize", &SettingsModel::txtMinSize},
    {L"txtMaxSize", &SettingsModel::txtMaxSize},
};

}  // namespace

SettingsModel frmMain::ReadSettingsModel() const
{
    SettingsModel model;
    model.ExplorerPath = Treeview_.Path();
    model.OutputFolder = chooser_.OutputFolder();
    for (const ListBinding& list : kSavedLists) (model.*list.Member).Selected = Choice(list.Name);
    for (const CheckBinding& check : kSavedChecks) model.*check.Member = Control(check.Name)->Checked();
    for (const TextBinding& text : kSavedTexts) model.*text.Member = Control(text.Name)->Text();
    model.cboFFSave.Selected = Choice(L"cboFFSave");
    model.cboFFSave.Text = Control(L"cboFFSave")->Text();
    return model;
}

void frmMain::ApplySettingsModel(const SettingsModel& model)
{
    Treeview_.Path(model.ExplorerPath);
    chooser_.SetOutputFolder(model.OutputFolder);
    for (const ListBinding& list : kSavedLists) Control(list.Name)->ListIndex((model.*list.Member).Selected);
    for (const CheckBinding& check : kSavedChecks) Control(check.Name)->Checked(model.*check.Member);
    for (const TextBinding& text : kSavedTexts) Control(text.Name)->Text(model.*text.Member);
    clsControl* types = Control(L"cboFFSave");
    types->ListIndex(model.cboFFSave.Selected);
    if (model.cboFFSave.Selected < 0) types->Text(model.cboFFSave.Text);
}

void frmMain::Unload()
{
    if (unloaded_) return;
    unloaded_ = true;
    if (unsigned long error = SaveSettings(ReadSettingsModel(), fileTypes_, programFolder_)) {
        std::wstring text = std::wstring(kSettingsNotSaved) + L"\r\n" + SettingsFilePath(programFolder_) + L"\r\n" +
                            SystemErrorText(error);
        MessageBoxW(form_.hwnd(), text.c_str(), kProgramTitle, MB_OK | MB_ICONERROR);
    }
    mutex_.Reset();
}
