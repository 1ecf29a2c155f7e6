#pragma once
// Which enumerated entries a run keeps as subfolders and as files.
#include <string_view>

#include "fs/EntryInfo.h"
#include "run/JobInfo.h"
#include "run/RunState.h"

// One pattern against a whole name: ? any character, * any run, # a digit 0-9,
// [list] / [!list] one character in / not in the list (ranges like a-z by code).
// Case-sensitive. A "[" without its "]" makes the pattern match nothing.
bool MatchesPattern(std::wstring_view name, std::wstring_view pattern);
// group: ";"-separated patterns, "*.*" standing for "*"; a blank group matches all.
bool MatchesPatternList(std::wstring_view name, std::wstring_view group);
// filter: TAB-separated groups; true when any group matches (or the filter is empty).
bool MatchesFilter(std::wstring_view name, std::wstring_view filter);

// Whether the name matches one of the ";"-separated patterns, ignoring case; an empty
// pattern matches nothing.
bool IsExcludedName(std::wstring_view name, std::wstring_view patterns);
bool AttributesAllowed(const EntryInfo& entry, const JobInfo& job);
bool FolderPasses(const EntryInfo& entry, const JobInfo& job);
// A file is kept when its name, size and time tests all pass.
bool FilePasses(const EntryInfo& entry, const JobInfo& job, const RunState& state);
bool SizePasses(const EntryInfo& entry, const RunState& state);
bool TimePasses(const EntryInfo& entry, const RunState& state);
