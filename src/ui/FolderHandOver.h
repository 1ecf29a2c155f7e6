#pragma once
// A folder for the main window from outside: from a second start of the program (the
// single-instance rule keeps one window, so the folder goes to it) and from Explorer
// dropping folders onto the window.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Sends the folder to the running instance's main window, which comes to the front and
// selects it. A window still starting is waited for up to timeoutMs. True when it took
// the folder.
bool HandFolderToRunningWindow(std::wstring_view folder, DWORD timeoutMs = 5000);
// The folder handed over in a WM_COPYDATA message; none for any other data.
std::optional<std::wstring> HandedOverFolder(LPARAM copyData);
// The first dropped item that is a folder, as the tree spells it. Finishes the drop.
std::optional<std::wstring> FirstDroppedFolder(HDROP drop);
