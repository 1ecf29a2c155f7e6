#include "ui/Console.h"

#include <string>

#include "ui/Texts.h"

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

namespace {

// Columns a UTF-16 unit takes in a console: two for the wide scripts (CJK, Hangul, the
// full-width forms) and for a character beyond the BMP, counted at its first unit.
std::size_t ColumnsOf(wchar_t c)
{
    if (c >= 0xDC00 && c <= 0xDFFF) return 0;
    bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
                (c >= 0xD800 && c <= 0xDBFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
                (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6);
    return wide ? 2 : 1;
}

std::size_t ColumnsOf(std::wstring_view text)
{
    std::size_t columns = 0;
    for (wchar_t c : text) columns += ColumnsOf(c);
    return columns;
}

}  // namespace

std::wstring ProgressLine::Update(std::uint64_t elapsedMs, std::uint64_t entries, std::uint64_t folders,
                                  std::wstring_view item)
{
    if (writtenAt_ && elapsedMs - *writtenAt_ < kIntervalMs) return {};
    writtenAt_ = elapsedMs;
    std::wstring text = ProgressText(entries, folders, elapsedMs);
    std::size_t room = columns_ > 1 ? columns_ - 1 : 0;
    std::size_t width = ColumnsOf(text);
    if (width + 2 < room && !item.empty()) {
        // The end of a path says most: the name being read.
        std::size_t itemRoom = room - width - 2, taken = 0, start = item.size();
        bool whole = ColumnsOf(item) <= itemRoom;
        if (!whole) itemRoom = itemRoom > 3 ? itemRoom - 3 : 0;
        while (start > 0 && taken + ColumnsOf(item[start - 1]) <= itemRoom) taken += ColumnsOf(item[--start]);
        if (start < item.size() && item[start] >= 0xDC00 && item[start] <= 0xDFFF) ++start;  // no half of a pair
        text += whole ? L"  " : L"  ...";
        text += item.substr(start);
        width = ColumnsOf(text);
    }
    std::wstring out = L"\r" + text;
    if (width < shown_) out.append(shown_ - width, L' ');
    shown_ = width;
    return out;
}

std::wstring ProgressLine::Clear()
{
    if (shown_ == 0) return {};
    std::wstring out = L"\r" + std::wstring(shown_, L' ') + L"\r";
    shown_ = 0;
    return out;
}

ConsoleProgress::ConsoleProgress(const ConsoleOutput& console) : start_(GetTickCount64())
{
    DWORD mode = 0;
    HANDLE stream = console.ErrorStream();
    // Only a console answers GetConsoleMode: a file or a pipe gets nothing of the line.
    if (!stream || stream == INVALID_HANDLE_VALUE || !GetConsoleMode(stream, &mode)) return;
    console_ = stream;
    CONSOLE_SCREEN_BUFFER_INFO info{};
    bool known = GetConsoleScreenBufferInfo(stream, &info) && info.dwSize.X > 0;
    line_.emplace(known ? static_cast<std::size_t>(info.dwSize.X) : 80);
}

void ConsoleProgress::Report(std::uint64_t entries, std::uint64_t folders, std::wstring_view item)
{
    if (!console_) return;
    std::uint64_t now = GetTickCount64();
    if (now < due_.load(std::memory_order_relaxed)) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (finished_) return;
    due_.store(now + ProgressLine::kIntervalMs, std::memory_order_relaxed);
    Write(line_->Update(now - start_, entries, folders, item));
}

void ConsoleProgress::Finish()
{
    if (!console_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (finished_) return;
    finished_ = true;
    Write(line_->Clear());
}

void ConsoleProgress::Write(const std::wstring& text)
{
    DWORD written = 0;
    if (!text.empty()) WriteConsoleW(console_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
