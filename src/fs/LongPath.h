#pragma once
// Path rules shared by every call that hands a path to the file system.
#include <string>
#include <string_view>

#include "fs/EntryInfo.h"

// Paths of 260 characters or more get the "\\?\" (or "\\?\UNC\") prefix; shorter ones pass
// unchanged. Pass the whole string the platform receives, search pattern included.
std::wstring LongPathArg(std::wstring_view path);
// LongPathArg for a query about the entry a path names. A bare drive ("C:") names the
// current folder on that drive, so it is sent as its root ("C:\").
std::wstring EntryPathArg(std::wstring_view path);
// The text up to its first NUL, as fixed-size platform buffers hold names.
std::wstring_view UpToNul(std::wstring_view text);
std::wstring TrimAtNul(std::wstring_view text);
// Position (0-based) of the last "\" before the final character, or npos.
std::size_t LastSeparatorBeforeEnd(std::wstring_view path);
void SplitSearchPath(std::wstring_view spec, EntryInfo& entry);
void CompleteEntryNames(EntryInfo& entry);
void SetEntryKind(EntryInfo& entry);
// The entry's 8.3 alias, looked up on first use; the long name when the lookup fails.
const std::wstring& EntryShortName(EntryInfo& entry);
