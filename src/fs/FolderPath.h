#pragma once
// The one spelling of a folder that the folder tree, a run's root and the command line
// share, so that a path typed, dropped or passed in any form finds the tree's node.
#include <optional>
#include <string>
#include <string_view>

// The full path of an existing folder as the file system spells it: relative parts
// resolved, 8.3 aliases replaced by the long names, every name in its case on disk, the
// drive letter in upper case, and a trailing "\". None when the path names no folder
// (a file, nothing, or a pattern with wildcards).
std::optional<std::wstring> ExistingFolderPath(std::wstring_view path);
// The full path the platform makes of a path (relative parts resolved); empty when it
// cannot.
std::wstring FullPathName(const std::wstring& path);
bool IsExistingFile(std::wstring_view path);
bool IsExistingFolder(std::wstring_view path);
