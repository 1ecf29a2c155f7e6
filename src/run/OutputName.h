#pragma once
// The names of the files a run writes: the moment of saving, the program's name, what
// the file holds; and how a name already taken gives way to a numbered one.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "fs/OutputFile.h"

// outputFolder ends in "\". None when no format is chosen outside easy mode (no file).
std::optional<std::wstring> OutputFileName(std::wstring_view outputFolder, const SYSTEMTIME& nowLocal, int format,
                                           bool easyMode);
// "yyyymmdd_hhmmss_Quorvane_changes.csv" in outputFolder (ends in "\").
std::wstring ChangesFileName(std::wstring_view outputFolder, const SYSTEMTIME& nowLocal);

// The highest number OpenFreeName tries.
constexpr int kMostNumberedNames = 9999;
// The path with " (number)" before the extension of its file name, or at its end.
std::wstring NumberedName(std::wstring_view path, int number);
// Creates the wanted file, or "name (2).ext", "name (3).ext", ... when a file or a folder
// has the name: a name in use is never replaced. Taking a name and checking it is one
// step, so two runs of the same second cannot both take one name. Returns the path
// created; empty when none could be (file.LastError() tells why).
std::wstring OpenFreeName(OutputFile& file, std::wstring_view wanted, TextEncoding encoding = TextEncoding::Utf16Le);
