#pragma once
// The texts the program's windows show.
#include <string>

// ---- The program: window caption, title of every message box, single-instance mutex
extern const wchar_t kProgramTitle[];

// ---- Main window
extern const wchar_t kReady[];
extern const wchar_t kChooseFormat[];
extern const wchar_t kSettingsNotSaved[];

// ---- File-type editor
// The message shown when FileType.txt cannot be saved.
std::wstring FileTypeSaveErrorText(unsigned long error);
