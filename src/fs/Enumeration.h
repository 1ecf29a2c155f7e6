#pragma once
// Enumeration of one folder, one entry per step: first, next, close.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fs/EntryInfo.h"
#include "fs/Handles.h"

// The running enumeration; Entry is refilled in place by every step.
struct EntryFind {
    bool Found = false;
    std::vector<std::wstring> Patterns;
    int PatternIndex = 0;
    int PatternLast = 0;
    std::wstring SearchSpec;
    UniqueFind FindHandle;
    EntryInfo Entry;
    std::optional<std::uint64_t> LocalShift;  // read at the first entry, kept for the others
};

// With empty patterns, path is the whole search string ("C:\Data\*.*");
// otherwise path is a folder and patterns a ";"-separated list tried in turn.
// Returns 0 when nothing was opened (empty path, ftp URL), INVALID_HANDLE_VALUE
// when the folder could not be enumerated, else the open search.
HANDLE FindFirstEntry(EntryFind& find, std::wstring_view path, std::wstring_view patterns);
bool FindNextEntry(EntryFind& find);
bool CloseEntryFind(EntryFind& find);
