// The main window beside a folder of 1,000,000 files: seconds to start with the folder
// beside the selected one, and the longest time it leaves messages unanswered; then
// selecting that folder, with another selection made while it is being counted. A run on
// the folder of 1,000,000 files that bench/make-trees builds: the longest time the window
// leaves messages unanswered, and how soon Stop clicked at random moments ends the run.
// The file-type editor with 100,000 groups: seconds to fill its list, and to open.
#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "BenchTree.h"
#include "controls/Form.h"
#include "fs/OutputFile.h"
#include "run/OutputName.h"
#include "ui/FileTypeEditor.h"
#include "ui/MainWindow.h"

namespace {

constexpr int kCrowdedFiles = 1000000;
constexpr int kGroups = 100000;
constexpr int kRounds = 3;
constexpr UINT kSecondSelectionMs = 5000;

// For the timer that makes the second selection.
HWND secondSelectionTree = nullptr;
HTREEITEM secondSelectionNode = nullptr;
long long secondSelection = 0;

void CALLBACK SelectAgain(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    secondSelection = CounterNow();
    PostMessageW(secondSelectionTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(secondSelectionNode));
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool MakeEmptyFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

// Wine looks a new name up without regard to case by reading the whole folder, which
// makes filling a folder with a million files take hours; its own form of a host path
// ("\\?\unix\...") is taken as it stands. Elsewhere the ordinary path serves.
std::wstring CreationPath(const std::wstring& folder)
{
    using ToUnix = char*(CDECL*)(const wchar_t*);
    auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* hostPath = toUnix ? toUnix(folder.c_str()) : nullptr;
    if (!hostPath) return folder;
    std::wstring path = L"\\\\?\\unix";
    for (const char* c = hostPath; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*c));
    HeapFree(GetProcessHeap(), 0, hostPath);
    return path;
}

// root\selected (a few files) beside root\crowded (kCrowdedFiles files, no subfolder);
// built once and reused.
std::wstring EnsureCrowdedTree()
{
    std::wstring root = TempFolder() + L"quorvane-bench-crowded";
    if (Exists(root + L"\\complete.marker")) return root;
    std::fprintf(stderr, "building the crowded folder (%d files)...\n", kCrowdedFiles);
    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"\\selected").c_str(), nullptr);
    CreateDirectoryW((root + L"\\crowded").c_str(), nullptr);
    for (int i = 0; i < 5; ++i) MakeEmptyFile(root + L"\\selected\\file " + std::to_wstring(i) + L".txt");
    std::wstring crowded = CreationPath(root + L"\\crowded");
    for (int i = 0; i < kCrowdedFiles; ++i) {
        MakeEmptyFile(crowded + L"\\entry " + std::to_wstring(i) + L".dat");
        if (i % 100000 == 0) std::fprintf(stderr, "  %d\n", i);
    }
    MakeEmptyFile(root + L"\\complete.marker");
    return root;
}

void WriteLines(const std::wstring& path, std::initializer_list<std::wstring> head, int groups)
{
    OutputFile file;
    if (!OpenOutputFile(file, path)) return;
    for (const std::wstring& line : head) WriteOutputLine(file, line);
    for (int n = 1; n <= groups; ++n) {
        std::wstring number = std::to_wstring(n);
        WriteOutputLine(file, L"Title" + number + L"=Group " + number + L"\r\nType" + number + L"=*.g" + number);
    }
    CloseOutputFile(file);
}

// Times SendMessageTimeout round trips to the first top-level window of a thread until
// stopped; the longest is how long the window left its messages waiting.
class AnswerWatch {
public:
    explicit AnswerWatch(DWORD threadId)
        : thread_([this, threadId] { Watch(threadId); })
    {
    }
    ~AnswerWatch() { Stop(); }
    // Lets the watched window answer the last round trip while it waits.
    double Stop()
    {
        stop_ = true;
        while (!finished_) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            Sleep(1);
        }
        if (thread_.joinable()) thread_.join();
        return longest_;
    }

private:
    static BOOL CALLBACK First(HWND window, LPARAM found)
    {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }

    void Watch(DWORD threadId)
    {
        HWND window = nullptr;
        while (!stop_ && !window) {
            EnumThreadWindows(threadId, First, reinterpret_cast<LPARAM>(&window));
            Sleep(1);
        }
        while (!stop_) {
            long long start = CounterNow();
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &answer);
            longest_ = std::max(longest_, SecondsSince(start));
            Sleep(10);
        }
        finished_ = true;
    }

    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    double longest_ = 0;
    std::thread thread_;
};

void StartUpBesideACrowdedFolder()
{
    std::wstring root = EnsureCrowdedTree();
    std::wstring program = TempFolder() + L"quorvane-bench-window";
    CreateDirectoryW(program.c_str(), nullptr);
    DeleteFileW((program + L"\\FileType.txt").c_str());
    WriteLines(program + L"\\Setting.ini", {L"[Setting]", L"ExplorerPath=" + root + L"\\selected\\"}, 0);

    frmMain window(program);
    AnswerWatch watch(GetCurrentThreadId());
    long long start = CounterNow();
    bool loaded = window.Load();
    double seconds = SecondsSince(start);
    double longest = watch.Stop();
    std::printf("start-up beside a folder of %d files: %.3f s, longest unanswered %.3f s%s\n", kCrowdedFiles,
                seconds, longest, loaded && window.FolderSelected() ? "" : " (the folder was not selected)");
    if (!loaded) return;

    // Selecting the crowded folder counts it; another selection a while later ends that.
    HTREEITEM selected = TreeView_GetSelection(window.Treeview().hwnd());
    secondSelectionTree = window.Treeview().hwnd();
    secondSelectionNode = selected;
    UINT_PTR timer = SetTimer(nullptr, 0, kSecondSelectionMs, SelectAgain);
    AnswerWatch selecting(GetCurrentThreadId());
    start = CounterNow();
    window.Treeview().Path(root + L"\\crowded");
    seconds = SecondsSince(start);
    double afterSecond = secondSelection ? SecondsSince(secondSelection) : 0;
    longest = selecting.Stop();
    if (secondSelection == 0) {
        KillTimer(nullptr, timer);
        std::printf("selecting the folder of %d files: counted in %.3f s, longest unanswered %.3f s\n", kCrowdedFiles,
                    seconds, longest);
    } else {
        std::printf("selecting the folder of %d files, another selection %.1f s later: the count ended %.3f s after "
                    "it, longest unanswered %.3f s%s\n",
                    kCrowdedFiles, kSecondSelectionMs / 1000.0, afterSecond, longest,
                    TreeView_GetSelection(window.Treeview().hwnd()) == selected ? "" : " (the second selection was lost)");
    }
    window.Close();
}

constexpr int kStopClicks = 10;

BOOL CALLBACK FindMessageBox(HWND window, LPARAM found)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND ShownMessageBox(DWORD thread)
{
    HWND box = nullptr;
    EnumThreadWindows(thread, FindMessageBox, reinterpret_cast<LPARAM>(&box));
    return box;
}

// The thread's message box once it is shown, or nullptr after timeoutMs.
HWND AwaitMessageBox(DWORD thread, DWORD timeoutMs)
{
    for (long long start = CounterNow(); SecondsSince(start) * 1000 < timeoutMs; Sleep(1))
        if (HWND box = ShownMessageBox(thread)) return box;
    return nullptr;
}

// The run holds its file open for writing until the closing lines are in it. Only an
// existing name is asked for: Wine looks a missing one up by reading the folder, which
// would wait for a reader inside its call.
bool Closed(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

struct RunTimes {
    double Seconds = 0;        // from the click on Save until the completion message
    double Longest = 0;        // unanswered
    double UntilClosed = -1;   // from the click on Stop until the file is closed; -1: no click
    double UntilShown = -1;    // from the click on Stop until the completion message
};

// Clicks Save and, after stopAfterMs unless it is 0, Stop; the completion message is
// answered from another thread, since the window shows it before Save's click returns.
RunTimes RunOnce(frmMain& window, const std::wstring& output, DWORD stopAfterMs)
{
    RunTimes times;
    DWORD thread = GetCurrentThreadId();
    SYSTEMTIME now;
    GetLocalTime(&now);
    // The name Save gives the listing, unless the clock passes a second before it does.
    std::wstring listing = OutputFileName(output + L"\\", now, ListingFormats::Txt, false).value_or(L"");
    long long clickedStop = 0, closed = 0, shown = 0;
    std::thread clicker([&] {
        HWND box = stopAfterMs ? AwaitMessageBox(thread, stopAfterMs) : nullptr;  // the run may end first
        if (stopAfterMs && !box) {
            clickedStop = CounterNow();
            PostMessageW(window.Window(L"cmdStop"), BM_CLICK, 0, 0);
            while (!(box = ShownMessageBox(thread)) && !Closed(listing)) Sleep(1);
            if (!box) closed = CounterNow();
        }
        if (!box) box = AwaitMessageBox(thread, 600000);
        shown = CounterNow();
        if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    AnswerWatch watch(thread);
    long long start = CounterNow();
    SendMessageW(window.Window(L"cmdSave"), BM_CLICK, 0, 0);
    clicker.join();
    times.Longest = watch.Stop();
    times.Seconds = SecondsBetween(start, shown);
    if (clickedStop) times.UntilShown = SecondsBetween(clickedStop, shown);
    if (closed) times.UntilClosed = SecondsBetween(clickedStop, closed);
    return times;
}

// Worst and mean of the figures given.
struct Spread {
    double Worst = 0, Sum = 0;
    int Count = 0;
    void Add(double seconds)
    {
        if (seconds < 0) return;
        Worst = std::max(Worst, seconds);
        Sum += seconds;
        ++Count;
    }
    double MeanMs() const { return Count ? Sum * 1000 / Count : 0; }
};

void DeleteFilesIn(const std::wstring& folder)
{
    WIN32_FIND_DATAW record;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &record);
    if (find == INVALID_HANDLE_VALUE) return;
    do
        if (!(record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder + L"\\" + record.cFileName).c_str());
    while (FindNextFileW(find, &record));
    FindClose(find);
}

// TXT sorted by name; the folder's statistics are counted before the run, so that no
// other directory read waits beside it (Wine lets one run at a time).
void RunOnTheMillionFileFolder()
{
    std::wstring folder = TempFolder() + L"quorvane-bench-flat1000000";
    if (!Exists(folder + L".complete")) {
        std::printf("run on the folder of 1,000,000 files skipped: bench/make-trees has not built it\n");
        return;
    }
    std::wstring program = TempFolder() + L"quorvane-bench-window-run", output = program + L"\\listings";
    CreateDirectoryW(program.c_str(), nullptr);
    CreateDirectoryW(output.c_str(), nullptr);
    DeleteFilesIn(output);
    DeleteFileW((program + L"\\FileType.txt").c_str());
    WriteLines(program + L"\\Setting.ini",
               {L"[Setting]", L"ExplorerPath=" + folder + L"\\", L"SavePath=" + output + L"\\", L"SaveMode=2",
                L"SortSave=1", L"ScanSubFolders=1", L"Format=0", L"Date=0", L"Size=0"},
               0);
    frmMain window(program);
    window.Chooser().SetBrowser([&](HWND, const std::wstring&) { return output; });
    if (!window.Load()) return;
    for (long long start = CounterNow(); window.FolderInfoLines()[0].empty() && SecondsSince(start) < 120; Sleep(10))
        PumpPendingMessages();

    RunTimes full = RunOnce(window, output, 0);
    DeleteFilesIn(output);
    double longest = full.Longest;
    Spread closed, shown;
    std::srand(GetTickCount());
    for (int round = 0; round < kStopClicks; ++round) {
        // A random moment between 5% and 95% of a whole run.
        auto delayMs = static_cast<DWORD>(full.Seconds * 1000 * (0.05 + 0.9 * std::rand() / RAND_MAX));
        RunTimes stopped = RunOnce(window, output, delayMs);
        DeleteFilesIn(output);
        longest = std::max(longest, stopped.Longest);
        closed.Add(stopped.UntilClosed);
        shown.Add(stopped.UntilShown);
    }
    window.Close();
    std::printf("a run on the folder of 1,000,000 files (TXT sorted by name): %.3f s; longest unanswered %.3f s "
                "(%.3f s over the runs Stop ended; target 0.100 s)\n",
                full.Seconds, full.Longest, longest);
    std::printf("Stop through the window, %d random clicks during the run (target 100 ms): until the completion "
                "message mean %.0f ms, worst %.0f ms; until the listing file was closed (%d of them) mean %.0f ms, "
                "worst %.0f ms\n",
                shown.Count, shown.MeanMs(), shown.Worst * 1000, closed.Count, closed.MeanMs(), closed.Worst * 1000);
}

// The editor's group list alone: the editor of the default groups, given many more.
void FillTheGroupList()
{
    std::vector<FileTypeRow> rows;
    for (int n = 1; n <= kGroups; ++n) rows.push_back({L"Group " + std::to_wstring(n), L"*.g" + std::to_wstring(n)});
    std::wstring program = TempFolder() + L"quorvane-bench-editor-defaults";
    CreateDirectoryW(program.c_str(), nullptr);
    DeleteFileW((program + L"\\FileType.txt").c_str());
    double best = 1e9;
    int shown = 0;
    for (int round = 0; round < kRounds; ++round) {
        frmFFEdit editor(program);
        editor.Load();
        long long start = CounterNow();
        FillGroupList(editor.LvFFs(), rows);
        ShowWindow(editor.hwnd(), SW_SHOWNA);
        UpdateWindow(editor.hwnd());
        best = std::min(best, SecondsSince(start));
        shown = editor.LvFFs().ItemCount();
        editor.Close();
    }
    std::printf("file-type editor's list, %d groups filled and shown: %.3f s (best of %d)\n", shown, best, kRounds);
}

void OpenTheEditorWithManyGroups()
{
    std::wstring program = TempFolder() + L"quorvane-bench-editor";
    CreateDirectoryW(program.c_str(), nullptr);
    WriteLines(program + L"\\FileType.txt", {L"[FileType]", L"TypeList=" + std::to_wstring(kGroups)}, kGroups);
    frmFFEdit editor(program);
    long long start = CounterNow();
    editor.Load();
    ShowWindow(editor.hwnd(), SW_SHOWNA);
    UpdateWindow(editor.hwnd());
    double seconds = SecondsSince(start);
    std::printf("file-type editor opened with %d groups (FileType.txt read, list filled and shown): %.3f s\n",
                editor.LvFFs().ItemCount(), seconds);
    editor.Close();
}

}  // namespace

// Arguments pick the parts: "start", "run", "list", "editor"; none runs them all.
int wmain(int argc, wchar_t** argv)
{
    auto wanted = [&](const wchar_t* part) {
        if (argc < 2) return true;
        for (int i = 1; i < argc; ++i)
            if (std::wstring(argv[i]) == part) return true;
        return false;
    };
    OleInitialize(nullptr);
    if (wanted(L"start")) StartUpBesideACrowdedFolder();
    if (wanted(L"run")) RunOnTheMillionFileFolder();
    if (wanted(L"list")) FillTheGroupList();
    if (wanted(L"editor")) OpenTheEditorWithManyGroups();
    OleUninitialize();
    return 0;
}
