#pragma once
// Output of a program built for the GUI subsystem that was started from a command line:
// to standard output and error when the caller redirected them (a file or a pipe gets
// UTF-8), else to the console of the parent process, and nowhere when there is none.
#include <windows.h>

#include <string_view>

#include "fs/Handles.h"
#include "run/RunControl.h"

class ConsoleOutput {
public:
    // Attaches to the parent's console when a stream has no handle of its own.
    ConsoleOutput();
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

    void Output(std::wstring_view text) { Write(output_, text); }
    void Errors(std::wstring_view text) { Write(errors_, text); }

private:
    static void Write(HANDLE stream, std::wstring_view text);

    UniqueFile console_;
    HANDLE output_ = nullptr;
    HANDLE errors_ = nullptr;
};

// The control of the command line's listing: Ctrl+C or Ctrl+Break in the console the
// program attached to stops it.
RunControl& ConsoleRunControl();
