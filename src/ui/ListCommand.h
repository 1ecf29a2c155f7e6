#pragma once
// The command line's work without a window: the /list listing, the /compare of two
// inventories, the usage and the reports of bad arguments, each as the texts to print
// and the exit code.
#include <string>
#include <string_view>

#include "run/CommandLine.h"
#include "run/ProgressReport.h"
#include "run/RunControl.h"

namespace ExitCodes {
constexpr int Complete = 0;      // the whole listing was written
constexpr int BadArguments = 1;  // bad arguments or options: nothing was written
constexpr int CannotCreate = 2;  // the listing file could not be created
constexpr int Incomplete = 3;    // a write failed part-way, or the run was cut short
constexpr int Unreadable = 4;    // the listing was written, but some folders could not be read
constexpr int Differences = 5;   // /compare: the changes file holds differences
}  // namespace ExitCodes

struct CommandOutcome {
    int ExitCode = ExitCodes::Complete;
    std::wstring Output;  // for standard output
    std::wstring Errors;  // for standard error
};

// Runs a command other than the window. A listing reads Setting.ini beside the program
// (or the /settings file) and FileType.txt, writes neither, and takes no part in the
// window's single-instance rule. A stop asked of the control cuts it short; progress,
// when given, hears how far it has got.
CommandOutcome RunCommand(const CommandLine& command, std::wstring_view programFolder, RunControl& control,
                          ProgressReport* progress = nullptr);
