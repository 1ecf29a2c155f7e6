#pragma once
// The listing file's name: the moment of saving, the program's name, the format's extension.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// outputFolder ends in "\". None when no format is chosen outside easy mode (no file).
std::optional<std::wstring> OutputFileName(std::wstring_view outputFolder, const SYSTEMTIME& nowLocal, int format,
                                           bool easyMode);
