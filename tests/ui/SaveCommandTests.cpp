#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <utility>

#include "UiSupport.h"
#include "support/SortedNames.h"
#include "support/TestTimes.h"
#include "ui/OutputFolder.h"

namespace {

struct QuietHost : RunHost {
    void ShowStatus(std::wstring_view) override {}
};

// A listing's options, built by a test from what the chosen options mean.
struct RunOptions {
    JobInfo Job;
    ListingOptions Options;
    SizeControls Sizes;
    TimeControls Times;
};

// A listing's text with the moments in its start and end lines masked.
std::wstring MaskedListing(const std::wstring& path)
{
    static const std::wregex times(L"(開始時間|完成時間)：[^\r\n]*");
    return std::regex_replace(FileText(path), times, L"$1：<time>");
}

bool EndsWithTheClosingLines(const std::wstring& listing)
{
    return listing.rfind(L"########################### - 完成時間：") != std::wstring::npos &&
           listing.ends_with(L" 秒 - ###########################\r\n");
}

// What the engine alone lists for the options, and its counts.
std::wstring EngineListing(const RunOptions& run, RunResult* result)
{
    RunState state;
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_EQ(PrepareRun(state, run.Job, run.Sizes, run.Times, now), SizeWarning::None);
    TestFolder folder;
    QuietHost host;
    RunControl control;
    RunResult ran = RunListing(state, control, run.Job, run.Options, folder / L"expected", host);
    if (result) *result = ran;
    return MaskedListing(folder / L"expected");
}

// Runs the action posted to it: posted before the walk starts, it runs at the walk's
// first message pass, since no messages run between the folder choice and the walk.
LRESULT CALLBACK RunPostedAction(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_APP) return DefWindowProcW(window, message, wParam, lParam);
    auto* action = reinterpret_cast<std::function<void()>*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (action && *action) std::exchange(*action, nullptr)();
    return 0;
}

class SaveCommand : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        listed.MakeFile(L"b.txt", "bbbb");
        SetModifiedTime(listed.MakeFile(L"A.log", std::string(1500, 'a')), At(1999, 6, 1));
        listed.MakeFile(L"z.log", std::string(30, 'z'));
        for (const wchar_t* name : {L"sub", L"sub\\deeper", L"empty"}) listed.MakeFolder(name);
        listed.MakeFile(L"sub\\inner.dat", std::string(70000, 'i'));
        listed.MakeFile(L"sub\\deeper\\d.txt", "dd");
        const std::pair<const wchar_t*, DWORD> marked[] = {
            {L"h.txt", FILE_ATTRIBUTE_HIDDEN}, {L"s.txt", FILE_ATTRIBUTE_SYSTEM}, {L"r.txt", FILE_ATTRIBUTE_READONLY}};
        for (auto [name, bit] : marked)
            EXPECT_TRUE(SetFileAttributesW(listed.MakeFile(name, std::string(2000, 'x')).c_str(), bit));
        WNDCLASSW type{};
        type.lpfnWndProc = RunPostedAction;
        type.lpszClassName = L"QuorvaneTestAction";
        RegisterClassW(&type);
        actionWindow = CreateWindowW(type.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(actionWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&duringTheWalk));
    }
    void TearDown() override { MainWindowTest::TearDown(), DestroyWindow(actionWindow); }

    // Starts the window on the listed folder; the folder choice of Save is answered with
    // `answer`, and the action for the walk is posted then.
    void StartWith(const std::wstring& outputFolder)
    {
        WriteSettings({L"[Setting]", L"ExplorerPath=" + listed.Path() + L"\\", L"SavePath=" + outputFolder + L"\\",
                       L"SaveMode=2", L"SortSave=1", L"ScanSubFolders=1", L"ScanSystem=1", L"ScanHidden=1",
                       L"ScanReadOnly=1", L"Date=0", L"Size=0", L"Format=0", L"SizeType0=0", L"SizeType1=1"});
        Start();
        ASSERT_TRUE(window->FolderSelected());
        window->Chooser().SetBrowser([this](HWND, const std::wstring&) {
            ++asked;
            if (duringTheWalk) PostMessageW(actionWindow, WM_APP, 0, 0);
            return answer;
        });
    }
    // Presses Save and answers its dialogs, dismissing those beyond the answers.
    std::vector<SeenDialog> Save(std::vector<DialogAnswerer::Answer> answers = {})
    {
        DialogAnswerer answerer(std::move(answers));
        ClickButton(Win(L"cmdSave"));
        return answerer.StopLooking();
    }
    // The one file in the output folder, which Clear empties.
    std::wstring Listing() const
    {
        std::vector<std::wstring> files = FilesIn(output.Path());
        EXPECT_EQ(files.size(), 1u);
        return files.empty() ? std::wstring() : output / files.front();
    }
    void Clear() const
    {
        for (const std::wstring& name : FilesIn(output.Path())) DeleteFileW((output / name).c_str());
    }

    TestFolder listed, output;
    std::wstring answer = output.Path();
    int asked = 0;
    std::function<void()> duringTheWalk;
    HWND actionWindow = nullptr;
};

}  // namespace

TEST_F(SaveCommand, EachOptionOfTheWindowReachesTheRun)
{
    StartWith(output.Path());
    window->Date1().Value(*OleDateFromParts({2000, 1, 1}));
    window->Date2().Value(*OleDateFromParts({2099, 12, 31}));
    // What a user does in each step, and what that means for the listing.
    struct Step {
        std::vector<Act> Acts;
        std::function<void(RunOptions&)> Meaning;
        const wchar_t* Ending;
    };
    const Step steps[] = {
        {{}, [](RunOptions&) {}, L"Quorvane.txt"},
        {{{L"comFormat", 1}, {L"comSaveMode", 0}, {L"cboSortSave", 3}, {L"optAscSave1"}, {L"chkReadOnlySave"},
          {L"chkSubDirSave"}, {L"cboFFSave", -1, L"*.log;*.txt"}},
         [](RunOptions& e) {
             e.Options.Format = 1, e.Options.SaveMode = 0, e.Job.SetShowFolders(false), e.Job.SetSortKey(6);
             e.Job.SetSortOrder(1), e.Job.SetIncludeReadOnly(false), e.Job.SetIncludeSubFolders(false);
             e.Job.SetFileFilter(L"*.log;*.txt");
         },
         L"Quorvane.csv"},
        {{{L"comFormat", 3}, {L"comSaveMode", 2}, {L"cboSortSave", 2}, {L"optAscSave0"}, {L"chkReadOnlySave"},
          {L"chkSubDirSave"}, {L"optIndentLevel1"}, {L"comIndentLevel", 0}, {L"cboFFSave", 1}, {L"chkSystemSave"}},
         [](RunOptions& e) {
             e.Options.Format = 3, e.Options.SaveMode = 2, e.Job.SetShowFolders(true), e.Job.SetSortKey(5);
             e.Job.SetSortOrder(0), e.Job.SetIncludeReadOnly(true), e.Job.SetIncludeSubFolders(true);
             e.Options.DepthLimit = 1, e.Job.SetIncludeSystem(false);
             e.Job.SetFileFilter(L"*.txt");  // of the first file type's patterns, the only one listed here
         },
         L"Quorvane.txt"},
        {{{L"comFormat", 2}, {L"comSaveMode", 1}, {L"chkEmptyFolder"}, {L"optIndentLevel0"}, {L"chkHiddenSave"},
          {L"chkSystemSave"}, {L"cboFFSave", 0}},
         [](RunOptions& e) {
             e.Options.Format = 2, e.Options.SaveMode = 1, e.Job.SetShowFiles(false), e.Options.IgnoreEmptyFolders = true;
             e.Options.DepthLimit = 0, e.Job.SetIncludeHidden(false), e.Job.SetIncludeSystem(true);
             e.Job.SetFileFilter(L"*.*");
         },
         L"Quorvane.html"},
        {{{L"comSaveMode", 2}, {L"chkEasy"}, {L"chkFullPath"}, {L"chkDelEXE"}, {L"cboSize", 3}, {L"cboSizeType0", 0},
          {L"cboSizeType1", 1}, {L"txtMinSize", -1, L"1"}, {L"txtMaxSize", -1, L"1"}, {L"cboDate", 1}},
         [](RunOptions& e) {
             e.Options.SaveMode = 2, e.Job.SetShowFiles(true);
             e.Options.EasyMode = e.Options.FullPath = e.Options.DeleteExtension = true;
             e.Sizes = {SizeMode::Between, L"1", SizeUnit::KB, L"1", SizeUnit::MB};
             e.Times = {TimeKind::Modified, *OleDateFromParts({2000, 1, 1}), *OleDateFromParts({2099, 12, 31})};
         },
         L"Quorvane.txt"},
    };
    RunOptions expected;  // as the settings of StartWith mean it
    expected.Job.SetRootFolder(listed.Path() + L"\\");
    expected.Job.SetFolderFilter(L"*");
    for (std::size_t n = 0; n < std::size(steps); ++n) {
        Do(*window, steps[n].Acts);
        steps[n].Meaning(expected);
        Clear();
        std::vector<SeenDialog> seen = Save();
        RunResult result;
        std::wstring engine = EngineListing(expected, &result);
        ASSERT_EQ(seen.size(), 1u) << "step " << n;
        EXPECT_NE(seen[0].Text.find(L"OK！！ 花費時間共："), std::wstring::npos) << seen[0].Text;
        EXPECT_NE(seen[0].Text.find(std::to_wstring(result.FileCount) + L" 個檔案 , " +
                                    std::to_wstring(result.FolderCount) + L" 個資料夾"),
                  std::wstring::npos)
            << n << ": " << seen[0].Text;
        EXPECT_TRUE(Listing().ends_with(steps[n].Ending)) << n << ": " << Listing();
        EXPECT_EQ(MaskedListing(Listing()), engine) << "step " << n;
    }
    EXPECT_EQ(window->StatusText(), L"就緒 ...");

    // Enter presses Save, the focus being on no other button, and lists the same.
    const std::wstring byMouse = MaskedListing(Listing());
    Clear();
    SetFocus(Win(L"chkEasy"));
    DialogAnswerer answerer;
    PressKey(VK_RETURN);
    EXPECT_EQ(answerer.StopLooking().size(), 1u);
    EXPECT_EQ(MaskedListing(Listing()), byMouse);

    // Each sort choice orders a folder's entries as its caption says; a cancelled folder
    // choice then starts nothing.
    answer.clear();
    Clear();
    const std::pair<const wchar_t*, Names> sorts[] = {
        {L"不排序", {L"b.txt", L"A.txt", L"c.TXT", L"d.doc", L"e"}}, {L"檔案名稱", {L"A.txt", L"b.txt", L"c.TXT", L"d.doc", L"e"}},
        {L"副檔名", {L"e", L"d.doc", L"b.txt", L"A.txt", L"c.TXT"}}, {L"檔案大小", {L"b.txt", L"e", L"d.doc", L"A.txt", L"c.TXT"}},
        {L"起始建立時間", {L"A.txt", L"e", L"d.doc", L"b.txt", L"c.TXT"}},
        {L"最後修改時間", {L"b.txt", L"c.TXT", L"d.doc", L"A.txt", L"e"}},
        {L"最後存取時間", {L"b.txt", L"c.TXT", L"A.txt", L"e", L"d.doc"}},
    };
    for (const auto& [caption, order] : sorts) {
        LRESULT item = SendMessageW(Win(L"cboSortSave"), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(caption));
        ChooseItem(Win(L"cboSortSave"), static_cast<int>(item));
        EXPECT_TRUE(Save().empty());
        EXPECT_EQ(SortedNames(kSortedFiles, 0, window->CurrentJob().SortKey()), order);
    }
    EXPECT_TRUE(FilesIn(output.Path()).empty());
}

TEST_F(SaveCommand, TheFolderDialogAndWhatEndsTheCommandWithoutAListing)
{
    // The shell's dialog opens on the output folder and shows the selected one in its status
    // line; cancelled, nothing starts; confirmed, the folder is kept in its short form.
    const std::wstring target = output.MakeFolder(L"\u6e05\u55ae \u8f38\u51fa folder");  // not in the ANSI code page
    StartWith(target);
    window->Chooser().SetBrowser(nullptr);
    auto press = [&target](int button) {
        return [&target, button](HWND dialog) {
            EXPECT_TRUE(WaitForDialogText(dialog, target)) << "the status line shows the selected folder";
            ClickDialogButton(dialog, button);
        };
    };
    std::vector<SeenDialog> seen = Save({press(IDCANCEL)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].Text.find(L"請選擇輸出資料夾："), std::wstring::npos);
    EXPECT_EQ(window->OutputFolder(), target + L"\\");
    EXPECT_TRUE(FilesIn(target).empty() && IsWindowVisible(Win(L"picSave")));
    EXPECT_EQ(Save({press(IDOK)}).size(), 2u);  // the dialog, then the completion message
    EXPECT_EQ(window->OutputFolder(), AddTrailingBackslash(GetShortPath(target)));
    EXPECT_EQ(FilesIn(target).size(), 1u);

    // The size warnings and a missing format end the command before the folder is asked for.
    StartWith(output.Path());
    const struct {
        int Mode;
        const wchar_t *First, *Second, *Says;
    } refused[] = {
        {1, L"", L"10", L"請指定小於數值，不可留空白或設定為 0"},
        {2, L"10", L"abc", L"請指定大於數值，不可留空白或設定為 0"},
        {3, L"10", L"10", L"最小數值不可以大於最大數值"},
        {0, L"", L"", L"請選擇儲存格式"},  // neither a format nor easy mode: nothing would be written
    };
    ChooseItem(Win(L"cboSizeType1"), 0);  // both in KB
    for (const auto& c : refused) {
        Do(*window, {{L"cboSize", c.Mode}, {L"txtMinSize", -1, c.First}, {L"txtMaxSize", -1, c.Second}});
        if (!c.Mode) SendMessageW(Win(L"comFormat"), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        seen = Save();
        ASSERT_EQ(seen.size(), 1u) << c.Says;
        EXPECT_NE(seen[0].Text.find(c.Says), std::wstring::npos) << seen[0].Text;
        EXPECT_TRUE(seen[0].Caption == L"Quorvane Ver 1.06" && seen[0].Owner == window->hwnd());
    }
    EXPECT_EQ(asked, 0);

    // A chosen folder gone when the listing is made: said so, with the window not locked.
    ChooseItem(Win(L"comFormat"), 0);
    answer = output / L"vanished";
    bool locked = true;
    seen = Save({[&](HWND box) {
        locked = IsWindowVisible(Win(L"picStop")) || !IsWindowEnabled(Win(L"cmdExit"));
        DismissDialog(box);
    }});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].Text.find(L"無法建立清單檔案：\r\n" + answer + L"\\"), std::wstring::npos) << seen[0].Text;
    EXPECT_FALSE(locked);
    EXPECT_EQ(window->OutputFolder(), answer + L"\\");  // no short form to take
    EXPECT_TRUE(FilesIn(output.Path()) == std::vector<std::wstring>{} && IsWindowVisible(Win(L"picSave")));
}

TEST_F(SaveCommand, StopAndWhatComesWhileTheStoppedWalkUnwinds)
{
    for (int i = 0; i < 400; ++i) listed.MakeFile(L"sub\\bulk " + std::to_wstring(i) + L".txt");
    // Each folder's reading waits, as on a share: what the test does comes during the walk.
    SetEnvironmentVariableW(L"QUORVANE_SIMULATED_LATENCY_MS", L"100");
    StartWith(output.Path());
    // A run locks the window; Stop unlocks it at once; a Save pressed before the walk has
    // returned does nothing.
    bool locked = false, unlocked = false;
    duringTheWalk = [&] {
        locked = IsWindowVisible(Win(L"picStop")) && !IsWindowEnabled(Win(L"cmdExit")) && !Enabled(L"Picture1");
        ClickButton(Win(L"cmdStop"));
        unlocked = IsWindowVisible(Win(L"picSave")) && IsWindowEnabled(Win(L"cmdExit"));
        ClickButton(Win(L"cmdSave"));
    };
    std::vector<SeenDialog> seen = Save();
    EXPECT_TRUE(locked && unlocked && asked == 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].Text.find(L"OK！！"), std::wstring::npos) << seen[0].Text;
    EXPECT_LT(window->State().FileCount, 400);
    EXPECT_TRUE(EndsWithTheClosingLines(FileText(Listing())));
    // Esc presses Stop.
    Clear();
    duringTheWalk = [] { PressKey(VK_ESCAPE); };
    seen = Save();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_LT(window->State().FileCount, 400);
    EXPECT_TRUE(EndsWithTheClosingLines(FileText(Listing())));

    // Closing waits for the walk; the window then closes without a message and saves the settings.
    Clear();
    DeleteFileW((program / L"Setting.ini").c_str());
    bool openAfterClose = false;
    duringTheWalk = [&] {
        ClickButton(Win(L"cmdStop"));
        SendMessageW(window->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        openAfterClose = window->IsOpen();
    };
    EXPECT_TRUE(Save().empty());
    EXPECT_TRUE(openAfterClose && !window->IsOpen());
    EXPECT_TRUE(EndsWithTheClosingLines(FileText(Listing())));
    EXPECT_NE(SettingsText().find(L"ExplorerPath=" + listed.Path() + L"\\\r\n"), std::wstring::npos);

    // The end of the session completes the listing and saves the settings before the
    // process may end; no message is shown.
    StartWith(output.Path());
    Clear();
    DeleteFileW((program / L"Setting.ini").c_str());
    LRESULT mayEnd = FALSE;
    std::wstring settingsAtEnd, listingAtEnd;
    duringTheWalk = [&] {
        mayEnd = SendMessageW(window->hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        SendMessageW(window->hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        settingsAtEnd = SettingsText();
        listingAtEnd = FileText(Listing());
    };
    EXPECT_TRUE(Save().empty());
    EXPECT_EQ(mayEnd, TRUE);
    EXPECT_NE(settingsAtEnd.find(L"ExplorerPath=" + listed.Path() + L"\\\r\n"), std::wstring::npos);
    EXPECT_TRUE(EndsWithTheClosingLines(listingAtEnd)) << listingAtEnd.size();
    EXPECT_EQ(FileText(Listing()), listingAtEnd) << "written to after the session ended";
    EXPECT_LT(window->State().FileCount, 400);
    SetEnvironmentVariableW(L"QUORVANE_SIMULATED_LATENCY_MS", nullptr);
}
