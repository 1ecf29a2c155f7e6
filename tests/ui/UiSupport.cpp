#include "UiSupport.h"

#include <ole2.h>

#include <filesystem>

#include "fs/OutputFile.h"

void ChooseItem(HWND list, int index)
{
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

void ClickButton(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

void Do(frmMain& window, const std::vector<Act>& acts)
{
    for (const Act& act : acts) {
        HWND part = window.Window(act.Part);
        if (act.Typed) {
            SendMessageW(part, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            SetWindowTextW(part, act.Typed);
        } else if (act.Item >= 0) {
            ChooseItem(part, act.Item);
        } else {
            ClickButton(part);
        }
    }
}

void LetMessagesRun(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    do {
        PumpPendingMessages();
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

bool LetMessagesRunUntil(const std::function<bool()>& done)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000;) {
        if (done()) return true;
        LetMessagesRun(10);
    }
    return done();
}

void PressKey(UINT key, bool shift)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    HWND target = GetFocus() ? GetFocus() : GetActiveWindow();
    LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(target, WM_KEYDOWN, key, scan | 1);
    PostMessageW(target, WM_KEYUP, key, scan | 1 | (3u << 30));
    PumpPendingMessages();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

bool HasFocus(HWND window) { return GetFocus() && (GetFocus() == window || IsChild(window, GetFocus())); }

std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file()) names.push_back(entry.path().filename().wstring());
    return names;
}

void WriteLines(const std::wstring& path, const std::vector<std::wstring>& lines)
{
    OutputFile file;
    ASSERT_TRUE(OpenOutputFile(file, path));
    for (const std::wstring& line : lines) WriteOutputLine(file, line);
    CloseOutputFile(file);
}

void MainWindowTest::SetUp() { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }

void MainWindowTest::TearDown()
{
    if (window && window->IsOpen()) window->Close();
    window.reset();
    OleUninitialize();
}

frmMain& MainWindowTest::Start(const std::wstring& selectAtStart)
{
    if (window && window->IsOpen()) window->Close();
    window = std::make_unique<frmMain>(program.Path());
    if (!selectAtStart.empty()) window->SelectAtStart(selectAtStart);
    EXPECT_TRUE(window->Load());
    LetMessagesRun();
    return *window;
}

std::wstring MainWindowTest::Shown(const MainParts& parts) const
{
    std::wstring texts;
    for (MainPart part : parts) texts += (texts.empty() ? L"" : L"|") + WindowTextOf(Win(part));
    return texts;
}

std::wstring CopyOfProgram(const TestFolder& folder)
{
    wchar_t built[MAX_PATH] = {};
    std::string given = QUORVANE_PROGRAM_PATH;
    GetFullPathNameW(std::wstring(given.begin(), given.end()).c_str(), MAX_PATH, built, nullptr);
    std::wstring copy = folder / L"Quorvane.exe";
    EXPECT_TRUE(CopyFileW(built, copy.c_str(), FALSE)) << "cannot copy the program from " << given;
    return copy;
}

std::wstring Arguments(const std::vector<std::wstring>& arguments)
{
    std::wstring text;
    for (const std::wstring& argument : arguments) text += (text.empty() ? L"\"" : L" \"") + argument + L"\"";
    return text;
}

ProgramRun RunProgram(const std::wstring& program, const std::wstring& arguments)
{
    // Standard output and error go to files of their own, read when the program has ended.
    TestFolder streams;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    auto stream = [&](const wchar_t* name) {
        return CreateFileW((streams / name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    };
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = stream(L"out");
    startup.hStdError = stream(L"err");
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    bool started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &process);
    CloseHandle(startup.hStdOutput);
    CloseHandle(startup.hStdError);
    ProgramRun run;
    if (!started) {
        ADD_FAILURE() << "cannot start " << program;
        return run;
    }
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000;) {
        if (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0) break;
        LetMessagesRun(0);
    }
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the program did not end";
        TerminateProcess(process.hProcess, 99);
        WaitForSingleObject(process.hProcess, 5000);
    }
    GetExitCodeProcess(process.hProcess, &run.ExitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    run.Output = FromUtf8(ReadFileBytes(streams / L"out"));
    run.Errors = FromUtf8(ReadFileBytes(streams / L"err"));
    return run;
}
