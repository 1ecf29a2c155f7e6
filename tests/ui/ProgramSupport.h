#pragma once
// Starting the real program, as a script or Explorer would, and reading what it prints.
#include <windows.h>

#include <string>
#include <vector>

#include "support/TestFolder.h"

struct ProgramRun {
    DWORD ExitCode = STILL_ACTIVE;
    std::wstring Output;  // standard output, read from a pipe as UTF-8
    std::wstring Errors;  // standard error, likewise
};

// Copies Quorvane.exe into the folder, so that the settings beside it are the test's own.
std::wstring CopyOfProgram(const TestFolder& folder);
// Quotes an argument so that it reaches the program unchanged.
std::wstring Quoted(const std::wstring& argument);
// Runs the program with the command-line text after its name, standard output and error
// going into pipes, and waits for it while this thread's messages run (a window of the
// test may be what the program talks to).
ProgramRun RunProgramWithCommandLine(const std::wstring& program, const std::wstring& arguments,
                                     DWORD timeoutMs = 60000);
// The same with each argument quoted.
ProgramRun RunProgram(const std::wstring& program, const std::vector<std::wstring>& arguments);
