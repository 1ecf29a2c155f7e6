// Entry point: the main window, then the message loop until it closes.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "controls/Control.h"
#include "controls/Form.h"
#include "run/JobInfo.h"
#include "ui/MainWindow.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    InitControlClasses(ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES);
    // The shell's folder dialog needs OLE on this thread.
    HRESULT ole = OleInitialize(nullptr);
    int exitCode = 0;
    {
        frmMain window(ProgramFolder());
        if (window.Load()) {
            window.EndProgramOnClose();
            exitCode = RunMessageLoop();
        }
    }
    if (SUCCEEDED(ole)) OleUninitialize();
    return exitCode;
}
