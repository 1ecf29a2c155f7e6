// Entry point: the main window and its message loop, or, with /list or /?, the command
// line's work without a window.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "controls/Control.h"
#include "controls/Form.h"
#include "run/CommandLine.h"
#include "run/JobInfo.h"
#include "ui/Console.h"
#include "ui/FolderHandOver.h"
#include "ui/ListCommand.h"
#include "ui/MainWindow.h"

namespace {

// The arguments after the program's name, split as the C runtime splits them.
std::vector<std::wstring> ProgramArguments()
{
    std::vector<std::wstring> arguments;
    int count = 0;
    LPWSTR* split = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!split) return arguments;
    for (int i = 1; i < count; ++i) arguments.emplace_back(split[i]);
    LocalFree(split);
    return arguments;
}

int RunFromConsole(const CommandLine& command)
{
    ConsoleOutput console;
    CommandOutcome outcome;
    {
        ConsoleProgress progress(console);
        outcome = RunCommand(command, ProgramFolder(), ConsoleRunControl(), &progress);
    }  // the progress line is gone before the output
    console.Output(outcome.Output);
    console.Errors(outcome.Errors);
    return outcome.ExitCode;
}

// folder: selected in the tree; with another instance running, handed to its window.
int RunWindow(const std::wstring& folder)
{
    InitControlClasses(ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES);
    // The shell's folder dialog needs OLE on this thread.
    HRESULT ole = OleInitialize(nullptr);
    int exitCode = 0;
    {
        frmMain window(ProgramFolder());
        window.SelectAtStart(folder);
        if (window.Load()) {
            window.EndProgramOnClose();
            exitCode = RunMessageLoop();
        } else if (!folder.empty()) {
            HandFolderToRunningWindow(folder);
        }
    }
    if (SUCCEEDED(ole)) OleUninitialize();
    return exitCode;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    CommandLine command = ParseCommandLine(ProgramArguments());
    if (command.Kind != CommandKind::Window) return RunFromConsole(command);
    return RunWindow(command.Folder);
}
