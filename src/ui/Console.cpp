#include "ui/Console.h"

#include <string>

namespace {

RunControl consoleRun;

// Runs on a thread of its own; the walk reads the control on the run's thread.
BOOL WINAPI OnConsoleBreak(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    consoleRun.RequestStop();
    return TRUE;
}

bool Usable(HANDLE stream)
{
    return stream && stream != INVALID_HANDLE_VALUE && GetFileType(stream) != FILE_TYPE_UNKNOWN;
}

}  // namespace

ConsoleOutput::ConsoleOutput()
    : output_(GetStdHandle(STD_OUTPUT_HANDLE)), errors_(GetStdHandle(STD_ERROR_HANDLE))
{
    if (Usable(output_) && Usable(errors_)) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    console_.Reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    if (!console_) return;
    if (!Usable(output_)) output_ = console_.Get();
    if (!Usable(errors_)) errors_ = console_.Get();
    SetConsoleCtrlHandler(OnConsoleBreak, TRUE);
}

void ConsoleOutput::Write(HANDLE stream, std::wstring_view text)
{
    if (!Usable(stream) || text.empty()) return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(stream, &mode)) {
        WriteConsoleW(stream, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    auto length = static_cast<int>(text.size());
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), bytes, nullptr, nullptr);
    WriteFile(stream, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

RunControl& ConsoleRunControl() { return consoleRun; }
