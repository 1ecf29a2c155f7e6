#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <regex>
#include <thread>

#include "MainWindowSupport.h"
#include "ProgramSupport.h"
#include "fs/OutputFile.h"
#include "run/ListingRun.h"
#include "support/Dialogs.h"
#include "ui/OutputFolder.h"

namespace {

class QuietHost : public RunHost {
public:
    void PumpMessages() override {}
    void ShowStatus(std::wstring_view) override {}
};

// Every file directly in a folder.
std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW record;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &record);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(record.cFileName);
    } while (FindNextFileW(find, &record));
    FindClose(find);
    return names;
}

std::wstring Utf16Text(const std::string& bytes)
{
    std::wstring text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return text;
}

// The start and end lines carry the moment of writing; everything else must match.
std::wstring WithoutFrameTimes(std::wstring text)
{
    static const std::wregex times(L"(開始時間|完成時間)：[^\r\n]*");
    return std::regex_replace(text, times, L"$1：<time>");
}

// The clicks a test makes while the walk lets messages run, on the window's own thread,
// so they all happen before the walk goes on.
struct WalkAction {
    HWND StopPanel = nullptr;  // shown while a run is under way
    std::function<void()> Action;
    bool Done = false;
};
WalkAction* walkAction = nullptr;

void CALLBACK ActDuringTheWalk(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!walkAction || walkAction->Done || !IsWindowVisible(walkAction->StopPanel)) return;
    KillTimer(nullptr, timer);
    walkAction->Done = true;
    walkAction->Action();
}

bool EndsWithTheClosingLines(const std::wstring& listing)
{
    return listing.rfind(L"########################### - 完成時間：") != std::wstring::npos &&
           listing.ends_with(L" 秒 - ###########################\r\n");
}

class SaveCommand : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        listed.MakeFile(L"b.txt", "bbbb");
        listed.MakeFile(L"A.log", std::string(1500, 'a'));
        listed.MakeFolder(L"sub");
        listed.MakeFile(L"sub\\inner.dat", std::string(70000, 'i'));
        listed.MakeFolder(L"sub\\deeper");
    }

    void StartWith(int format, const std::wstring& extra = L"", const std::wstring& outputFolder = L"")
    {
        WriteSettings(L"[Setting]\nExplorerPath=" + listed.Path() + L"\\\nSavePath=" +
                      (outputFolder.empty() ? output.Path() : outputFolder) +
                      L"\\\nSaveMode=2\nSortSave=1\nScanSubFolders=1\nDate=0\nSize=0\nSaveFilter=*.*\nFormat=" +
                      std::to_wstring(format) + L"\n" + extra);
        Start();
        ASSERT_TRUE(window->FolderSelected());
    }

    // Presses Save and answers the folder dialog with OK once it shows the output
    // folder, then the message box.
    void SaveAndConfirm(DialogAnswerer::Answer onMessage = {}, std::wstring folder = L"")
    {
        if (folder.empty()) folder = output.Path();
        answerer = std::make_unique<DialogAnswerer>(std::vector<DialogAnswerer::Answer>{
            [folder](HWND dialog) {
                EXPECT_TRUE(WaitForDialogText(dialog, folder)) << DialogText(dialog);
                ClickDialogButton(dialog, IDOK);
            },
            [this, onMessage](HWND box) {
                lockedDuringMessage = IsWindowVisible(Win(L"picStop")) && !IsWindowEnabled(Win(L"cmdExit"));
                if (onMessage) onMessage(box);
                ClickDialogButton(box, IDOK);
            }});
        ClickButton(Win(L"cmdSave"));
        answerer->Wait();
        LetMessagesRun();
    }

    // Enough entries that the walk lets messages run many times.
    void AddBulk()
    {
        for (int folder = 0; folder < 20; ++folder) {
            std::wstring name = L"bulk " + std::to_wstring(folder);
            listed.MakeFolder(name);
            for (int i = 0; i < 250; ++i) listed.MakeFile(name + L"\\file " + std::to_wstring(i) + L".txt");
        }
    }

    // Presses Save, answers the folder dialog with OK and dismisses up to two more
    // dialogs; `duringTheWalk` runs on the window's thread at the walk's first message pass.
    void SaveAndDismiss(std::function<void()> duringTheWalk = [] {})
    {
        std::wstring folder = output.Path();
        answerer = std::make_unique<DialogAnswerer>(std::vector<DialogAnswerer::Answer>{
            [folder](HWND dialog) {
                EXPECT_TRUE(WaitForDialogText(dialog, folder)) << DialogText(dialog);
                ClickDialogButton(dialog, IDOK);
            },
            DismissDialog, DismissDialog});
        WalkAction walk{Win(L"picStop"), std::move(duringTheWalk)};
        walkAction = &walk;
        UINT_PTR timer = SetTimer(nullptr, 0, 10, ActDuringTheWalk);
        ClickButton(Win(L"cmdSave"));
        KillTimer(nullptr, timer);
        walkAction = nullptr;
        answerer->StopLooking();
        actedDuringTheWalk = walk.Done;
    }

    std::wstring ListingFile()
    {
        std::vector<std::wstring> files = FilesIn(output.Path());
        EXPECT_EQ(files.size(), 1u);
        return files.empty() ? std::wstring() : output / files.front();
    }

    TestFolder listed;
    TestFolder output;
    std::unique_ptr<DialogAnswerer> answerer;
    bool lockedDuringMessage = false;
    bool actedDuringTheWalk = false;
};

class EveryFormat : public SaveCommand, public testing::WithParamInterface<int> {};

}  // namespace

TEST_P(EveryFormat, WritesWhatTheEngineWritesAndReportsTheCounts)
{
    int format = GetParam();
    StartWith(format);
    SaveAndConfirm();
    ASSERT_TRUE(answerer->Answered());
    EXPECT_TRUE(lockedDuringMessage);
    EXPECT_TRUE(IsWindowVisible(Win(L"picSave")));
    EXPECT_FALSE(IsWindowVisible(Win(L"picStop")));
    EXPECT_TRUE(IsWindowEnabled(Win(L"cmdExit")));
    EXPECT_EQ(window->StatusText(), L"就緒 ...");

    std::wstring message = answerer->SeenText(1);
    EXPECT_NE(message.find(L"OK！！ 花費時間共："), std::wstring::npos) << message;
    EXPECT_NE(message.find(L"3 個檔案 , 2 個資料夾"), std::wstring::npos) << message;

    std::wstring path = ListingFile();
    static const wchar_t* const kEndings[] = {L"Quorvane.txt", L"Quorvane.csv", L"Quorvane.html", L"Quorvane.txt"};
    EXPECT_TRUE(path.ends_with(kEndings[format])) << path;
    // The chosen folder is kept in its short form, with a trailing backslash.
    EXPECT_EQ(window->OutputFolder(), AddTrailingBackslash(GetShortPath(output.Path())));

    // The same job, listed by the engine alone.
    TestFolder reference;
    RunState state = window->State();
    JobInfo job = window->CurrentJob();
    ListingOptions options;
    options.Format = format;
    options.SaveMode = 2;
    QuietHost host;
    RunControl control;
    RunResult result = RunListing(state, control, job, options, reference / L"expected", host);
    ASSERT_TRUE(result.Started);
    EXPECT_EQ(WithoutFrameTimes(Utf16Text(ReadFileBytes(path))),
              WithoutFrameTimes(Utf16Text(ReadFileBytes(reference / L"expected"))));

    // The command line, given the same settings, lists the same, while the window is open.
    TestFolder copy, listedByCommand;
    ProgramRun command = RunProgram(CopyOfProgram(copy), {L"/list", listed.Path(), L"/settings",
                                                          program / L"Setting.ini", L"/out", listedByCommand.Path()});
    ASSERT_EQ(command.ExitCode, 0u) << command.Errors;
    std::wstring commandPath = command.Output.substr(0, command.Output.find(L"\r\n"));
    EXPECT_TRUE(commandPath.ends_with(kEndings[format])) << commandPath;
    EXPECT_EQ(WithoutFrameTimes(Utf16Text(ReadFileBytes(commandPath))), WithoutFrameTimes(Utf16Text(ReadFileBytes(path))));
}

INSTANTIATE_TEST_SUITE_P(SaveCommand, EveryFormat, testing::Values(0, 1, 2, 3));

TEST_F(SaveCommand, SizeWarningsEndTheCommandBeforeTheFolderIsAsked)
{
    struct Case {
        int Mode;
        const wchar_t* First;
        const wchar_t* Second;
        const wchar_t* Warning;
    };
    const Case cases[] = {
        {1, L"", L"10", L"請指定小於數值，不可留空白或設定為 0"},
        {1, L"0.4", L"10", L"請指定小於數值，不可留空白或設定為 0"},
        {2, L"10", L"abc", L"請指定大於數值，不可留空白或設定為 0"},
        {3, L"10", L"10", L"最小數值不可以大於最大數值"},
    };
    StartWith(0, L"SizeType0=0\nSizeType1=0\n");
    for (const Case& c : cases) {
        ChooseItem(Win(L"cboSize"), c.Mode);
        SetWindowTextW(Win(L"txtMinSize"), c.First);
        SetWindowTextW(Win(L"txtMaxSize"), c.Second);
        DialogAnswerer answer([](HWND box) { ClickDialogButton(box, IDOK); });
        ClickButton(Win(L"cmdSave"));
        answer.Wait();
        ASSERT_TRUE(answer.Answered());
        EXPECT_NE(answer.SeenText().find(c.Warning), std::wstring::npos) << answer.SeenText();
        EXPECT_TRUE(FilesIn(output.Path()).empty());
        EXPECT_TRUE(IsWindowVisible(Win(L"picSave")));
    }
}

TEST_F(SaveCommand, CancellingTheFolderDialogDoesNothing)
{
    StartWith(0);
    DialogAnswerer answer([](HWND dialog) { ClickDialogButton(dialog, IDCANCEL); });
    ClickButton(Win(L"cmdSave"));
    answer.Wait();
    EXPECT_TRUE(answer.Answered());
    EXPECT_TRUE(FilesIn(output.Path()).empty());
    EXPECT_EQ(window->OutputFolder(), output.Path() + L"\\");
    EXPECT_TRUE(IsWindowVisible(Win(L"picSave")));
}

TEST_F(SaveCommand, AFileThatCannotBeCreatedIsReported)
{
    StartWith(0);
    // The chosen folder vanishes between the dialog and the listing.
    const std::wstring chosen = output.Path();
    answerer = std::make_unique<DialogAnswerer>(std::vector<DialogAnswerer::Answer>{
        [chosen](HWND dialog) {
            EXPECT_TRUE(WaitForDialogText(dialog, chosen)) << DialogText(dialog);
            RemoveTree(chosen);
            ClickDialogButton(dialog, IDOK);
        },
        [this](HWND box) {
            lockedDuringMessage = IsWindowVisible(Win(L"picStop")) && !IsWindowEnabled(Win(L"cmdExit"));
            ClickDialogButton(box, IDOK);
        }});
    ClickButton(Win(L"cmdSave"));
    answerer->Wait();
    LetMessagesRun();
    ASSERT_TRUE(answerer->Answered());
    std::wstring message = answerer->SeenText(1);
    EXPECT_NE(message.find(L"無法建立清單檔案：\r\n" + chosen + L"\\"), std::wstring::npos) << message;
    EXPECT_FALSE(lockedDuringMessage);
    EXPECT_TRUE(IsWindowVisible(Win(L"picSave")));
}

TEST_F(SaveCommand, AListingCutShortByAFullDiskIsNotReportedAsSuccess)
{
    const char* volume = std::getenv("QUORVANE_SMALL_VOLUME");
    if (!volume || !*volume) GTEST_SKIP() << "QUORVANE_SMALL_VOLUME is not set";
    std::wstring full(volume, volume + std::strlen(volume));
    std::wstring target = full + L"\\listing-out";
    CreateDirectoryW(target.c_str(), nullptr);
    ULARGE_INTEGER free{};
    GetDiskFreeSpaceExW(target.c_str(), &free, nullptr, nullptr);
    std::wstring filler = full + L"\\filler.bin";
    {
        OutputFile file;
        ASSERT_TRUE(OpenOutputFile(file, filler));
        if (free.QuadPart > 6000) WriteOutputLine(file, std::wstring((free.QuadPart - 6000) / 2, L'f'));
        CloseOutputFile(file);
    }
    for (int i = 0; i < 300; ++i) listed.MakeFile(L"many " + std::to_wstring(i) + L".txt", "x");
    ULARGE_INTEGER left{};
    GetDiskFreeSpaceExW(target.c_str(), &left, nullptr, nullptr);
    ASSERT_LT(left.QuadPart, 20000u) << "the volume could not be filled";

    StartWith(0, L"", target);
    SaveAndConfirm({}, target);
    std::wstring message = answerer->SeenText(1);
    for (const std::wstring& name : FilesIn(target)) DeleteFileW((target + L"\\" + name).c_str());
    RemoveDirectoryW(target.c_str());
    DeleteFileW(filler.c_str());
    EXPECT_TRUE(message.starts_with(L"清單檔案寫入失敗，內容不完整！") ||
                message.find(L"\n清單檔案寫入失敗，內容不完整！") != std::wstring::npos)
        << message;
    EXPECT_EQ(message.find(L"OK！！"), std::wstring::npos);
    EXPECT_NE(message.find(L"303 個檔案 , 2 個資料夾"), std::wstring::npos) << message;
}

TEST_F(SaveCommand, WithoutAFormatSaveAsksForOneAndDoesNothingElse)
{
    StartWith(9);  // no such format: the list has no selection
    std::wstring caption;
    DialogAnswerer answer([&caption](HWND dialog) {
        caption = WindowTextOf(dialog);
        DismissDialog(dialog);
    });
    ClickButton(Win(L"cmdSave"));
    answer.StopLooking();
    ASSERT_EQ(answer.AnsweredCount(), 1u);
    EXPECT_EQ(caption, L"Quorvane Ver 1.06");
    EXPECT_NE(answer.SeenText().find(L"請選擇儲存格式"), std::wstring::npos) << answer.SeenText();
    EXPECT_TRUE(FilesIn(output.Path()).empty());
    EXPECT_TRUE(IsWindowVisible(Win(L"picSave")));
}

TEST_F(SaveCommand, SaveWhileAStoppedWalkUnwindsDoesNothing)
{
    AddBulk();
    StartWith(0);
    SaveAndDismiss([this] {
        ClickButton(Win(L"cmdStop"));
        ClickButton(Win(L"cmdSave"));  // shown again by Stop, before the walk has returned
    });
    ASSERT_TRUE(actedDuringTheWalk);
    // The folder dialog, then the completion message of the stopped run, nothing between.
    EXPECT_EQ(answerer->AnsweredCount(), 2u);
    EXPECT_NE(answerer->SeenText(1).find(L"OK！！"), std::wstring::npos) << answerer->SeenText(1);
    EXPECT_LT(window->State().FileCount, 3 + 20 * 250);
    EXPECT_TRUE(EndsWithTheClosingLines(Utf16Text(ReadFileBytes(ListingFile()))));
}

TEST_F(SaveCommand, ClosingWhileAStoppedWalkUnwindsWaitsForTheWalk)
{
    AddBulk();
    StartWith(0);
    DeleteFileW((program / L"Setting.ini").c_str());
    bool openAfterClose = false;
    SaveAndDismiss([this, &openAfterClose] {
        ClickButton(Win(L"cmdStop"));
        SendMessageW(window->hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        openAfterClose = window->IsOpen();
    });
    ASSERT_TRUE(actedDuringTheWalk);
    EXPECT_TRUE(openAfterClose);
    EXPECT_FALSE(window->IsOpen());
    EXPECT_EQ(answerer->AnsweredCount(), 1u);  // no completion message for a window being closed
    EXPECT_TRUE(EndsWithTheClosingLines(Utf16Text(ReadFileBytes(ListingFile()))));
    EXPECT_NE(SettingsBytes().find(L"ExplorerPath=" + listed.Path() + L"\\\r\n"), std::wstring::npos);
}

TEST_F(SaveCommand, TheEndOfTheSessionDuringARunCompletesTheListingAndSavesTheSettings)
{
    AddBulk();
    StartWith(0);
    DeleteFileW((program / L"Setting.ini").c_str());
    HWND main = window->hwnd();
    HWND stopPanel = Win(L"picStop");
    std::wstring settingsPath = program / L"Setting.ini";
    std::wstring outputFolder = output.Path();
    LRESULT mayEnd = FALSE;
    std::string settingsAtEnd;
    std::wstring listingAtEnd;
    std::thread session([&] {
        for (int i = 0; i < 60000 && !IsWindowVisible(stopPanel); ++i) Sleep(1);
        mayEnd = SendMessageW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        SendMessageW(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        // The process may be ended from here on: what is on disk now is all there is.
        settingsAtEnd = ReadFileBytes(settingsPath);
        std::vector<std::wstring> files = FilesIn(outputFolder);
        if (files.size() == 1) listingAtEnd = Utf16Text(ReadFileBytes(outputFolder + L"\\" + files.front()));
    });
    SaveAndDismiss();
    session.join();
    EXPECT_EQ(mayEnd, TRUE);
    EXPECT_NE(Utf16Text(settingsAtEnd).find(L"ExplorerPath=" + listed.Path() + L"\\\r\n"), std::wstring::npos);
    EXPECT_TRUE(EndsWithTheClosingLines(listingAtEnd)) << listingAtEnd.size();
    EXPECT_LT(window->State().FileCount, 3 + 20 * 250);
    EXPECT_EQ(answerer->AnsweredCount(), 1u);  // no completion message
    EXPECT_TRUE(Utf16Text(ReadFileBytes(ListingFile())) == listingAtEnd) << "written to after the session ended";
}

TEST_F(SaveCommand, StopEndsTheRunAndUnlocksTheWindow)
{
    AddBulk();
    StartWith(0);
    HWND stop = Win(L"cmdStop");
    HWND stopPanel = Win(L"picStop");
    std::thread stopper([stop, stopPanel] {
        for (int i = 0; i < 2000 && !IsWindowVisible(stopPanel); ++i) Sleep(1);
        SendMessageW(stop, BM_CLICK, 0, 0);
    });
    SaveAndConfirm();
    stopper.join();
    ASSERT_TRUE(answerer->Answered());
    EXPECT_TRUE(window->Run().StopRequested());
    EXPECT_LT(window->State().FileCount, 3 + 20 * 250);
    std::wstring text = Utf16Text(ReadFileBytes(ListingFile()));
    EXPECT_NE(text.rfind(L"########################### - 完成時間："), std::wstring::npos);
    EXPECT_TRUE(IsWindowVisible(Win(L"picSave")));
    EXPECT_TRUE(IsWindowEnabled(Win(L"cmdExit")));
}
