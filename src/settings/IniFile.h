#pragma once
// Reading the program's INI-style files through the platform's private-profile reader:
// section and key names match in any letter case, blanks around a value are dropped,
// and a file that starts with the UTF-16 byte-order mark is read as UTF-16.
#include <string>
#include <string_view>
#include <vector>

// The value, whole however long it is; empty when the file, section or key is missing.
std::wstring ReadIniValue(std::wstring_view section, std::wstring_view key, std::wstring_view file);
// The key names of a section in file order; empty when the file or section is missing.
std::vector<std::wstring> ReadIniKeyNames(std::wstring_view section, std::wstring_view file);
// True when the path names an existing file or folder.
bool FileExists(std::wstring_view path);
// folder + name with exactly one "\" between them.
std::wstring FileInFolder(std::wstring_view folder, std::wstring_view name);
