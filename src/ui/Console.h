#pragma once
// Output of a program built for the GUI subsystem that was started from a command line:
// to standard output and error when the caller redirected them (a file or a pipe gets
// UTF-8), else to the console of the parent process, and nowhere when there is none.
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "fs/Handles.h"
#include "run/ProgressReport.h"
#include "run/RunControl.h"

class ConsoleOutput {
public:
    // Attaches to the parent's console when a stream has no handle of its own.
    ConsoleOutput();
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

    void Output(std::wstring_view text) { Write(output_, text); }
    void Errors(std::wstring_view text) { Write(errors_, text); }
    HANDLE ErrorStream() const { return errors_; }

private:
    static void Write(HANDLE stream, std::wstring_view text);

    UniqueFile console_;
    HANDLE output_ = nullptr;
    HANDLE errors_ = nullptr;
};

// The control of the command line's listing: Ctrl+C or Ctrl+Break in the console the
// program attached to stops it.
RunControl& ConsoleRunControl();

// The progress line's text, and when it is rewritten, apart from the console.
class ProgressLine {
public:
    static constexpr std::uint64_t kIntervalMs = 500;
    // columns: the console's width; the line stays short of it, so it never wraps.
    explicit ProgressLine(std::size_t columns) : columns_(columns) {}
    // What to write for a report elapsedMs after the start: the line over the one shown
    // ("\r" first, blanks over the rest of a longer one), the end of a long item cut off;
    // empty when the line was written less than kIntervalMs before.
    std::wstring Update(std::uint64_t elapsedMs, std::uint64_t entries, std::uint64_t folders, std::wstring_view item);
    // Blanks over the line shown, the cursor back at its start; empty when none is shown.
    std::wstring Clear();

private:
    std::size_t columns_;
    std::size_t shown_ = 0;  // columns the line on the screen takes
    std::optional<std::uint64_t> writtenAt_;
};

// The progress line on standard error while a command runs, when standard error is a
// console; nothing of it ever reaches a redirected standard error. Report is safe from
// any thread and cheap when nothing is due.
class ConsoleProgress final : public ProgressReport {
public:
    explicit ConsoleProgress(const ConsoleOutput& console);
    ConsoleProgress(const ConsoleProgress&) = delete;
    ConsoleProgress& operator=(const ConsoleProgress&) = delete;
    ~ConsoleProgress() override { Finish(); }

    void Report(std::uint64_t entries, std::uint64_t folders, std::wstring_view item) override;
    // Clears the line for good, before the command's own output.
    void Finish();

private:
    void Write(const std::wstring& text);

    HANDLE console_ = nullptr;  // none when standard error is redirected
    std::uint64_t start_ = 0;
    std::atomic<std::uint64_t> due_{0};  // the tick from which a report may show
    std::mutex mutex_;
    std::optional<ProgressLine> line_;
    bool finished_ = false;
};
