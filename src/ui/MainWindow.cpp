#include "ui/MainWindow.h"

#include <cmath>

#include "formats/ListingFormat.h"
#include "formats/NumberText.h"
#include "fs/FolderPath.h"
#include "run/Choices.h"
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

// Posted by the folder count with the selection's number when its figures are ready.
constexpr UINT kFolderCounted = WM_APP + 1;
// How often the window redraws the status text of a run, at most.
constexpr DWORD kStatusIntervalMs = 20;

// Clears a panel and draws lines into it. The texts are kept by the window, so a repaint
// draws them again.
void DrawLines(HostPanel& panel, const std::wstring* lines, std::size_t count, DrawnLines place)
{
    panel.Cls();
    HDC dc = panel.hDC();
    SetBkMode(dc, TRANSPARENT);
    for (std::size_t i = 0; i < count; ++i)
        if (!lines[i].empty())
            TextOutW(dc, place.Left, place.Top + place.Spacing * static_cast<int>(i), lines[i].c_str(),
                     static_cast<int>(lines[i].size()));
}

// A list's items are the choices the window offers, at their Setting.ini numbers.
template <typename Value, std::size_t N>
void FillChoices(clsControl& list, const Choice<Value> (&choices)[N])
{
    for (const Choice<Value>& choice : choices)
        if (choice.Caption) list.AddItem(choice.Caption);
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

void frmMain::CreateControls()
{
    parts_.Create(form_.hwnd());
    for (HostPanel* panel : {&picTreeView, &picDefFile, &picStatusBar}) panel->SetFont(L"Tahoma", 9);
    picStop.Visible(false);
    optAscSave0.Checked(true);
    optAscSave1.Checked(false);
    optIndentLevel0.Checked(true);
    optIndentLevel1.Checked(false);

    SYSTEMTIME now = LocalNow();
    OleDate today = OleDateFromSystemTime(now).value_or(0);
    for (auto [picker, host] : {std::pair{&ClsDate1_, &picDate1}, std::pair{&ClsDate2_, &picDate2}}) {
        picker->Style(ClsDate::StyleDate);
        picker->PictureBox(host);
        picker->Create();
        picker->Value(today);
        picker->Enabled(true);
    }
}

void frmMain::FillLists()
{
    FillChoices(cboSortSave, kSortChoices);
    FillChoices(comSaveMode, kModeChoices);
    FillChoices(cboDate, kTimeChoices);
    FillChoices(cboSize, kSizeChoices);
    FillChoices(cboSizeType0, kSizeUnits);
    FillChoices(cboSizeType1, kSizeUnits);
    FillChoices(comFormat, kFormatChoices);
    for (int level = 1; level <= kDeepestDepthLimit; ++level) comIndentLevel.AddItem(std::to_wstring(level));
    comIndentLevel.Enabled(false);
    chkDelEXE.Enabled(false);
    chkFullPath.Enabled(false);
}

void frmMain::WireEvents()
{
    cboSize.Click = [this] { SizeRule(); };
    cboDate.Click = [this] { TimeRule(); };
    cboSortSave.Click = [this] { SortRule(); };
    comSaveMode.Click = [this] { SaveModeRule(); };
    chkEasy.Click = [this] { EasyModeRule(); };
    cmdEdit.Click = [this] { EditFileTypes(); };
    cmdSave.Click = [this] { cmdSave_Click(); };
    cmdStop.Click = [this] { cmdStop_Click(); };
    cmdExit.Click = [this] { form_.Close(); };

    // Each option button has a host of its own, so the pairs are made exclusive here.
    auto pair = [](clsControl& chosen, clsControl& other, std::function<void()> then = nullptr) {
        chosen.Click = [&chosen, &other, then] {
            chosen.Checked(true);
            other.Checked(false);
            if (then) then();
        };
    };
    pair(optAscSave0, optAscSave1);
    pair(optAscSave1, optAscSave0);
    pair(optIndentLevel0, optIndentLevel1, [this] { comIndentLevel.Enabled(false); });
    pair(optIndentLevel1, optIndentLevel0, [this] { comIndentLevel.Enabled(true); });

    picClient.Paint = [this](HDC dc) { parts_.DrawFrames(dc, L"picClient"); };
    lblSepExtra.Paint = [this](HDC dc) {
        RECT line{0, 0, TwipsToPixelsX(lblSepExtra.Width()), TwipsToPixelsY(lblSepExtra.Height())};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    };
    picStatusBar.Paint = [this](HDC) { DrawStatus(); };
    picDefFile.Paint = [this](HDC) { DrawFolderInfo(); };
}

bool frmMain::Load()
{
    // The name tells a second start of the program that this one runs.
    HANDLE mutex = CreateMutexW(nullptr, TRUE, kProgramTitle);
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
        return false;
    }
    mutex_.Reset(mutex);

    if (!form_.Create(kProgramTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0,
                      kMainWidth, kMainHeight))
        return false;
    form_.Unload = [this] { Unload(); };
    engine_.Subclass(form_.hwnd(), this);
    engine_.AddMessage(form_.hwnd(), WM_CLOSE, SubclassBefore);
    engine_.AddMessage(form_.hwnd(), WM_PAINT, SubclassAfter);
    engine_.AddMessage(form_.hwnd(), WM_QUERYENDSESSION, SubclassBefore);
    engine_.AddMessage(form_.hwnd(), WM_ENDSESSION, SubclassBefore);
    engine_.AddMessage(form_.hwnd(), kFolderCounted, SubclassBefore);

    CreateControls();
    FillLists();

    Treeview_.TargetPictureBox(&picTreeView);
    // Raised for every change of the selection, the root and no selection included.
    Treeview_.MouseClick = [this](HTREEITEM node) { OnTreeSelection(node); };
    Treeview_.Create();
    Treeview_.pvAddDrives();
    Treeview_.pvTVExpand(Treeview_.pvTVGetRoot());

    fileTypes_ = LoadFileTypeTable(programFolder_);
    for (const FileTypeEntry& entry : fileTypes_) cboFFSave.AddItem(entry.Title);

    wheel_.Init(form_.hwnd());
    wheel_.Wheel = [this](int delta) { OnWheel(delta); };
    engine_.Subclass(picScrollBox.hwnd(), this);
    engine_.AddMessage(picScrollBox.hwnd(), WM_VSCROLL, SubclassBefore);

    job_ = JobInfo();
    DispSaveJob(job_);

    SettingsModel model = ReadSettingsModel();
    LoadSettings(model, fileTypes_, programFolder_);
    if (!startFolder_.empty()) model.ExplorerPath = startFolder_;
    ApplySettingsModel(model);

    ShowStatus(kReady);
    form_.Caption(kProgramTitle);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (HostPanel* panel : {&picScrollBox, &picClient, &Picture1}) panel->BackColor(face);
    form_.BackColor(face);
    for (HostPanel* panel : {&picDefFile, &picScrollBox, &picStatusBar})
        ChangeWindowStyle(panel->hwnd(), GWL_EXSTYLE, WS_EX_STATICEDGE, WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE);
    LayoutScrollArea();

    SizeRule();
    TimeRule();
    SortRule();
    SaveModeRule();

    WireEvents();
    WireKeys();
    AcceptFolders();
    form_.Show();
    return true;
}

// Enter saves; Esc stops a run, since "停 止" shows only then.
void frmMain::WireKeys()
{
    DialogKeys& keys = form_.Keys();
    keys.Stops(parts_.TabStops());
    keys.DefaultButton = [this] { return cmdSave.hwnd(); };
    keys.CancelButton = [this] { return cmdStop.hwnd(); };
    keys.Focused = [this](HWND control) { ScrollIntoView(control); };
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
    if (uMsg == kFolderCounted) {
        OnFolderCounted(static_cast<unsigned>(wParam));
        bHandled = true;
        lReturn = 0;
        return;
    }
    if (uMsg == WM_CLOSE && (phase_ == Phase::Running || phase_ == Phase::Stopping)) {
        // Save's command is still waiting for the listing: close when it has ended.
        EnterPhase(Phase::ClosingAfterRun);
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
        parts_.DrawFrames(dc);
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
    HWND bar = Window(L"vscScroll");
    picClient.Move(MainPanel(L"picClient").Row().Left, 0, picClient.Width(), picClient.Height());
    int barWidth = static_cast<int>(GetSystemMetrics(SM_CYHSCROLL) * TwipsPerPixelX());
    int innerWidth = picScrollBox.ScaleWidth();
    int innerHeight = picScrollBox.ScaleHeight();
    MoveWindow(bar, TwipsToPixelsX(innerWidth - barWidth), 0, TwipsToPixelsX(barWidth), TwipsToPixelsY(innerHeight),
               TRUE);
    int maximum = RoundHalfEven(static_cast<double>(picClient.Height() - innerHeight) / kScrollStep);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = maximum < 0 ? 0 : maximum;
    info.nPage = 0;
    info.nPos = 0;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

int frmMain::ScrollValue() const { return GetScrollPos(Window(L"vscScroll"), SB_CTL); }

int frmMain::ScrollMax() const
{
    int minimum = 0, maximum = 0;
    GetScrollRange(Window(L"vscScroll"), SB_CTL, &minimum, &maximum);
    return maximum;
}

void frmMain::ScrollTo(int value)
{
    if (value < 0) value = 0;
    if (value > ScrollMax()) value = ScrollMax();
    SetScrollPos(Window(L"vscScroll"), SB_CTL, value, TRUE);
    picClient.Move(picClient.Left(), -kScrollStep * value, picClient.Width(), picClient.Height());
}

// A control of the filter column reached with the keyboard comes into view, with the
// line above or below it.
void frmMain::ScrollIntoView(HWND control)
{
    if (!IsChild(picClient.hwnd(), control)) return;
    RECT box{};
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, picClient.hwnd(), reinterpret_cast<POINT*>(&box), 2);
    int top = static_cast<int>(std::lround(box.top * TwipsPerPixelY())) - kScrollMargin;
    int bottom = static_cast<int>(std::lround(box.bottom * TwipsPerPixelY())) + kScrollMargin;
    int shownTop = ScrollValue() * kScrollStep;
    int shownHeight = picScrollBox.ScaleHeight();
    if (top < shownTop)
        ScrollTo(std::max(top, 0) / kScrollStep);
    else if (bottom > shownTop + shownHeight)
        ScrollTo((bottom - shownHeight + kScrollStep - 1) / kScrollStep);
}

void frmMain::OnWheel(int delta)
{
    if (delta == 0) return;
    int value = ScrollValue();
    int target = delta < 0 ? std::min(value + 2, ScrollMax()) : std::max(value - 2, 0);
    if (target != value) ScrollTo(target);
}

// ---- Rules between the options

void frmMain::SizeRule()
{
    SizeMode mode = MeaningOfSaved(kSizeChoices, cboSize.ListIndex(), SizeMode::None);
    bool range = mode == SizeMode::Between || mode == SizeMode::None;
    bool first = range || mode == SizeMode::AtLeast;
    bool second = range || mode == SizeMode::AtMost;
    for (clsControl* control : {&lblSizeForm, &txtMinSize, &cboSizeType0}) control->Enabled(first);
    for (clsControl* control : {&lblSizeTo, &txtMaxSize, &cboSizeType1}) control->Enabled(second);
    lblSizeForm.Text(range ? kSizeRangeFrom : MainControl(L"lblSizeForm").Row().Caption);
    lblSizeTo.Text(range ? kSizeRangeTo : MainControl(L"lblSizeTo").Row().Caption);
}

void frmMain::TimeRule()
{
    bool enabled = MeaningOfSaved(kTimeChoices, cboDate.ListIndex(), TimeKind::None) != TimeKind::Any;
    ClsDate1_.Enabled(enabled);
    ClsDate2_.Enabled(enabled);
    lblTmrForm.Enabled(enabled);
    lblTmrTo.Enabled(enabled);
}

void frmMain::SortRule()
{
    // A list without a selection sorts as the job has it.
    const Choice<std::int32_t>* sort = ChoiceOfSaved(kSortChoices, cboSortSave.ListIndex());
    bool enabled = !sort || sort->Meaning != 0;
    optAscSave0.Enabled(enabled);
    optAscSave1.Enabled(enabled);
}

void frmMain::SaveModeRule()
{
    int mode = MeaningOfSaved(kModeChoices, comSaveMode.ListIndex(), SaveModes::None);
    bool sorting = mode != SaveModes::FoldersOnly;
    for (clsControl* control : {&cboSortSave, &optAscSave0, &optAscSave1}) control->Enabled(sorting);
    chkEmptyFolder.Enabled(mode == SaveModes::FoldersOnly || mode == SaveModes::Both);
}

void frmMain::EasyModeRule()
{
    bool easy = chkEasy.Checked();
    chkDelEXE.Enabled(easy);
    chkFullPath.Enabled(easy);
    comFormat.Enabled(!easy);
    lblSaveFormat.Enabled(!easy);
    chkEmptyFolder.Enabled(!easy);
}

void frmMain::EditFileTypes()
{
    {
        frmFFEdit editor(programFolder_);
        editor.ShowModal();
    }
    fileTypes_ = LoadFileTypeTable(programFolder_);
    std::wstring remembered = cboFFSave.Text();
    cboFFSave.Clear();
    int match = -1;
    for (std::size_t i = 0; i < fileTypes_.size(); ++i) {
        cboFFSave.AddItem(fileTypes_[i].Title);
        if (CompareStringOrdinal(fileTypes_[i].Title.c_str(), -1, remembered.c_str(), -1, TRUE) == CSTR_EQUAL)
            match = static_cast<int>(i);
    }
    cboFFSave.ListIndex(match);
    cboFFSave.Text(remembered);
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
    counter_.Count(form_.hwnd(), kFolderCounted, selection, AddTrailingBackslash(folder));
}

void frmMain::OnFolderCounted(unsigned selection)
{
    // Figures of a folder no longer selected are dropped.
    if (selection != selectionCount_ || phase_ == Phase::Closed) return;
    std::optional<FolderStatistics> statistics = counter_.Result(selection);
    if (!statistics) return;
    folderInfo_ = FolderStatisticsLines(*statistics);
    DrawFolderInfo();
}

void frmMain::DrawFolderInfo() { DrawLines(picDefFile, folderInfo_.data(), folderInfo_.size(), kFolderInfoLines); }

// ---- Save and Stop

void frmMain::ScrapeSaveJob()
{
    job_.SetRootFolder(Treeview_.Path());
    ApplyOptionsToJob(job_, ReadOptionValues(), fileTypes_);
}

void frmMain::DispSaveJob(const JobInfo& job)
{
    // The window's mode goes into the current job first; `job` may be that very job.
    ApplyListingMode(job_, MeaningOfSaved(kModeChoices, comSaveMode.ListIndex(), SaveModes::None));
    comSaveMode.ListIndex(SavedOf(kModeChoices, ListingModeOf(job)));
}

OptionValues frmMain::ReadOptionValues() const
{
    OptionValues values;
    values.Saved = ReadSettingsModel();
    values.chkEasy = chkEasy.Checked();
    values.chkFullPath = chkFullPath.Checked();
    values.chkDelEXE = chkDelEXE.Checked();
    values.optAscSave0 = optAscSave0.Checked();
    values.optIndentLevel0 = optIndentLevel0.Checked();
    values.ClsDate1 = ClsDate1_.Value();
    values.ClsDate2 = ClsDate2_.Value();
    return values;
}

void frmMain::ShowMessage(const std::wstring& text, UINT icon)
{
    MessageBoxW(form_.hwnd(), text.c_str(), kProgramTitle, MB_OK | icon);
}

void frmMain::cmdSave_Click()
{
    if (!FolderSelected_ || phase_ != Phase::Idle) return;
    // Outside easy mode the format decides what is written: without one nothing would be.
    int format = MeaningOfSaved(kFormatChoices, comFormat.ListIndex(), ListingFormats::None);
    if (!WritesListingFile(format, chkEasy.Checked())) {
        ShowMessage(kChooseFormat, MB_ICONEXCLAMATION);
        return;
    }
    run_ = std::make_shared<RunControl>();  // an earlier run's may still be in use
    ScrapeSaveJob();
    OptionValues values = ReadOptionValues();
    SizeWarning warning = PrepareRun(state_, job_, SizeControlsOf(values), TimeControlsOf(values), LocalNow());
    if (warning != SizeWarning::None) {
        ShowMessage(SizeWarningText(warning), MB_ICONEXCLAMATION);
        return;
    }
    if (!chooser_.ChooseOutputFolder(form_.hwnd())) return;

    ListingOptions options = ListingOptionsOf(values);
    std::wstring path = OutputFileName(chooser_.OutputFolder(), LocalNow(), options.Format, options.EasyMode)
                            .value_or(std::wstring());
    // The run owns copies of what it uses: its thread may outlive this command.
    bool started = listing_.Start([job = job_, state = state_, control = run_, options, path](RunHost& host) mutable {
        return RunListing(state, *control, job, options, path, host, kStatusIntervalMs);
    });
    if (!started) {
        ShowMessage(CannotCreateText(path, ERROR_NOT_ENOUGH_MEMORY), MB_ICONERROR);
        return;
    }
    if (!listing_.AwaitStart()) {
        ShowMessage(CannotCreateText(path, listing_.Result().WriteError), MB_ICONERROR);
        return;
    }
    EnterPhase(Phase::Running);
    AwaitListing();
    state_.FolderCount = listing_.Result().FolderCount;
    state_.FileCount = listing_.Result().FileCount;
    RunEnded(listing_.Result());
}

// The window's thread shows the run's progress and answers input until the listing is
// finished; Stop and Close reach the run from here.
void frmMain::AwaitListing()
{
    HANDLE finished = listing_.FinishedEvent();
    while (!listing_.Finished()) {
        MsgWaitForMultipleObjects(1, &finished, FALSE, kStatusIntervalMs, QS_ALLINPUT);
        if (!PumpPendingMessages()) run_->RequestStop();  // the program is quitting
        if (auto status = listing_.TakeStatus()) ShowStatus(*status);
    }
    if (auto status = listing_.TakeStatus()) ShowStatus(*status);
}

// The listing file is complete and closed.
void frmMain::RunEnded(const RunResult& result)
{
    switch (phase_) {
    case Phase::Running:
    case Phase::Stopping:
        ShowMessage(RunReportText(result) + UnreadableSummaryText(result.Report),
                    RunFailed(result) ? MB_ICONERROR : MB_ICONINFORMATION);
        EnterPhase(Phase::Idle);
        break;
    case Phase::ClosingAfterRun:
        EnterPhase(Phase::Idle);
        form_.Close();
        break;
    case Phase::Closed:
        // The session ended during the run; the window was unloaded then.
        form_.Close();
        break;
    case Phase::Idle: break;
    }
}

void frmMain::cmdStop_Click()
{
    if (phase_ == Phase::Running) {
        EnterPhase(Phase::Stopping);
    } else {
        // Before the listing has started (while the folder is chosen) the stop holds for it.
        run_->RequestStop();
    }
}

// The one place the phase changes, with what the window does on entering each.
void frmMain::EnterPhase(Phase next)
{
    if (phase_ == Phase::Closed) return;
    phase_ = next;
    switch (next) {
    case Phase::Idle:
        LockWindow(false);
        ShowStatus(kReady);
        break;
    case Phase::Running: LockWindow(true); break;
    case Phase::Stopping:
        run_->RequestStop();
        LockWindow(false);
        break;
    case Phase::ClosingAfterRun: run_->RequestStop(); break;
    case Phase::Closed:
        if (unsigned long error = SaveSettings(ReadSettingsModel(), fileTypes_, programFolder_)) {
            ShowMessage(std::wstring(kSettingsNotSaved) + L"\r\n" + SettingsFilePath(programFolder_) + L"\r\n" +
                            SystemErrorText(error),
                        MB_ICONERROR);
        }
        mutex_.Reset();
        break;
    }
}

void frmMain::EndSession()
{
    // The process may be ended as soon as this returns: the listing is completed now.
    run_->FinishNow();
    EnterPhase(Phase::Closed);
}

void frmMain::Unload() { EnterPhase(Phase::Closed); }

void frmMain::LockWindow(bool locked)
{
    SetCloseMenuEnabled(form_.hwnd(), !locked);
    cmdExit.Enabled(!locked);
    for (HostPanel* panel : {&Picture1, &picScrollBox, &picTreeView}) panel->Enabled(!locked);
    picSave.Visible(!locked);
    picStop.Visible(locked);
}

void frmMain::ShowStatus(std::wstring_view text)
{
    statusText_.assign(text);
    DrawStatus();
}

void frmMain::DrawStatus() { DrawLines(picStatusBar, &statusText_, 1, kStatusLine); }

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
    if (phase_ != Phase::Idle) return;
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

// ---- Settings: each control whose layout row names a key of Setting.ini

SettingsModel frmMain::ReadSettingsModel() const
{
    SettingsModel model;
    model.SavePath = chooser_.OutputFolder();
    for (std::size_t row = 0; row < std::size(kMainLayout); ++row) {
        if (const wchar_t* key = kMainLayout[row].Key)
            std::visit([&](auto member) { ReadOption(row, model.*member); }, FindSettingField(key)->Member);
    }
    return model;
}

void frmMain::ApplySettingsModel(const SettingsModel& model)
{
    chooser_.SetOutputFolder(model.SavePath);
    for (std::size_t row = 0; row < std::size(kMainLayout); ++row) {
        if (const wchar_t* key = kMainLayout[row].Key)
            std::visit([&](auto member) { ApplyOption(row, model.*member); }, FindSettingField(key)->Member);
    }
}

void frmMain::ReadOption(std::size_t row, bool& flag) const { flag = parts_.ControlAt(row)->Checked(); }

void frmMain::ReadOption(std::size_t row, ListChoice& list) const
{
    list.Selected = parts_.ControlAt(row)->ListIndex();
    list.ItemCount = parts_.ControlAt(row)->ListCount();
}

void frmMain::ReadOption(std::size_t row, std::wstring& text) const
{
    text = kMainLayout[row].Kind == Holds::TreeView ? Treeview_.Path() : parts_.ControlAt(row)->Text();
}

void frmMain::ReadOption(std::size_t row, ComboChoice& combo) const
{
    combo.Selected = parts_.ControlAt(row)->ListIndex();
    combo.Text = parts_.ControlAt(row)->Text();
}

void frmMain::ApplyOption(std::size_t row, bool flag) { parts_.ControlAt(row)->Checked(flag); }

void frmMain::ApplyOption(std::size_t row, const ListChoice& list) { parts_.ControlAt(row)->ListIndex(list.Selected); }

void frmMain::ApplyOption(std::size_t row, const std::wstring& text)
{
    if (kMainLayout[row].Kind == Holds::TreeView) {
        Treeview_.Path(text);
    } else {
        parts_.ControlAt(row)->Text(text);
    }
}

// A file type that is not in the list stays as the combo's typed text.
void frmMain::ApplyOption(std::size_t row, const ComboChoice& combo)
{
    clsControl& control = *parts_.ControlAt(row);
    control.ListIndex(combo.Selected);
    if (combo.Selected < 0) control.Text(combo.Text);
}
